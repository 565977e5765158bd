#pragma once

#include "game/board.h"
#include "game/boardcheck.h"

#include <QMainWindow>
#include <array>

class CaptionLabel;
class LineShape;
class QTimer;

// Velmora, the main window: the board, the scoreboard, the next-mark indicator,
// the two command buttons, the menu bar and the 250 ms board check. It holds
// all game state, in its controls' captions and visibility.
class MainWindow : public QMainWindow, public game::Board
{
    Q_OBJECT

public:
    MainWindow();

    // game::Board
    QString cell(int k) const override;
    void setCell(int k, const QString &text) override;
    QString nextMark() const override;
    void setNextMark(const QString &text) override;
    bool strikeVisible(int line) const override;
    void setStrikeVisible(int line, bool visible) override;
    QString tally(game::Tally which) const override;
    void setTally(game::Tally which, const QString &text) override;

    // The commands, each shared by its button, menu item and shortcut.
    void newGame();
    void exitGame();
    void clearTallies();
    void showFirst();
    void showHowToPlay();
    void showAbout();

    // One pass of the board check; what Timer1 runs on every tick.
    bool checkBoard();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();

    std::array<CaptionLabel *, game::Board::kCells> cells_{};
    std::array<LineShape *, game::Board::kLastStrike - game::Board::kFirstStrike + 1> strikes_{};
    std::array<CaptionLabel *, 3> tallies_{};
    CaptionLabel *nextMark_ = nullptr;
    QTimer *timer_ = nullptr;
    game::BoardCheck check_;
};
