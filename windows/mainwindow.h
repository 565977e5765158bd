#pragma once

#include <span>

#include "board.h"
#include "boardcheck.h"
#include "controls.h"

#include <QMainWindow>
#include <array>

class CaptionLabel;
class LineShape;
namespace controls {
class Notice;
}
class QMenuBar;
class QTimer;

// Velmora, the main window: the board, the scoreboard, the next-mark indicator,
// the two command buttons, the menu bar and the 250 ms board check. It holds
// all game state, in its controls' captions and visibility. What reaches
// beyond it (the other windows, the questions) it leaves to its owner by
// signals.
class MainWindow : public QMainWindow, public game::Board
{
    Q_OBJECT

public:
    enum class Command { NewGame, Exit, ClearTallies, ChooseStarter, HowToPlay, About };
    Q_ENUM(Command)

    MainWindow();

    // The window's make-up, for the start-up bench's reference window.
    static std::span<const controls::Control> table();

    // game::Board
    QString cell(int k) const override;
    void setCell(int k, const QString &text) override;
    QString nextMark() const override;
    void setNextMark(const QString &text) override;
    bool strikeVisible(int line) const override;
    void setStrikeVisible(int line, bool visible) override;
    QString tally(game::Tally which) const override;
    void setTally(game::Tally which, const QString &text) override;

    // One pass of the board check; what Timer1 runs on every tick.
    bool checkBoard();

    // What screen readers are told of what a sighted player sees change.
    // The move last played, as readers say it ("X, שורה 1, עמודה 3"); empty
    // on a board cleared since.
    QString lastMove() const { return lastMove_; }
    // A new game: the board is empty, and whose turn it is.
    void announceNewGame();
    // Whose turn it is, changed by no move.
    void announceTurn();
    // The tallies are back to nought.
    void announceTalliesCleared();
    // Told now, wherever the focus is, in another of the program's windows too.
    void tell(const QString &text);

signals:
    // A button, menu item or shortcut gave a command.
    void commandChosen(MainWindow::Command command);
    // The check found a finished game and waits, inside this signal, until
    // whoever shows the result lets it go on.
    void resultFound(game::Result result);
    // The window is closing, and the program ends with it.
    void closing();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMenus(QMenuBar *bar);
    static void openMenu(QMenuBar *bar, QAction *menu);
    enum class Focus { Stays, MovesThere };
    // A move on cell k, by a click, a key or a reader's press: refused as a
    // click is; from the keyboard or a reader the cell then takes the focus.
    void play(int k, Focus focus);
    static QString place(int k);
    void nameCells();
    QString scoreboard() const;
    void announce(const QString &text);
    // Mouse and keys are refused while a modal window is open, by Qt; screen
    // readers reach the controls' actions directly, so their clicks, presses
    // and menu items are refused here.
    bool blockedByModal() const;
    void choose(Command command);

    controls::Controls controls_;
    std::array<CaptionLabel *, game::Board::kCells> cells_{};
    std::array<LineShape *, game::Board::kStrikeLines> strikes_{};
    std::array<CaptionLabel *, 3> tallies_{};
    CaptionLabel *nextMark_ = nullptr;
    controls::Notice *notice_ = nullptr; // what screen readers are told wherever the focus is
    QString pendingNotice_;              // said once this window is active again
    bool namingDue_ = false;             // cells changed since they were last named
    QString lastMove_;
    QTimer *timer_ = nullptr;
    game::BoardCheck check_;
};
