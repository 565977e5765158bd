#include "windowowner.h"

#include "aboutwindow.h"
#include "appsetup.h"
#include "confirm.h"
#include "faces.h"
#include "howtoplay.h"
#include "resultwindow.h"
#include "rules.h"
#include "starterchoice.h"
#include "windowmanager.h"

#include <QCoreApplication>

namespace {

// The slot's window, created (hidden) and wired up first when there is none.
template <class W, class Wire>
W &instance(QPointer<W> &slot, Wire wire)
{
    if (!slot) {
        slot = new W;
        wire(slot.data());
    }
    return *slot;
}

// What a secondary window tells screen readers goes through the main window:
// readers read the whole of a dialog out again before a notice from inside it.
void tellThrough(MainWindow &main, SecondaryWindow *window)
{
    QObject::connect(window, &SecondaryWindow::saying, &main, &MainWindow::tell);
}

// Hides and destroys the window, if any, and drops the reference at once. The
// hide ends a modal show that waits on the window; the destruction comes once
// the handler that unloaded it has returned.
template <class W>
void unload(QPointer<W> &slot)
{
    if (W *window = slot.data()) {
        slot.clear();
        window->hide();
        window->deleteLater();
    }
}

} // namespace

WindowOwner::WindowOwner() = default;

WindowOwner::~WindowOwner()
{
    unloadSecondary();
    unload(main_);
}

MainWindow &WindowOwner::mainWindow()
{
    return instance(main_, [this](MainWindow *w) {
        connect(w, &MainWindow::commandChosen, this, &WindowOwner::command);
        connect(w, &MainWindow::resultFound, this, &WindowOwner::showResult);
        connect(w, &MainWindow::closing, this, &WindowOwner::unloadSecondary);
    });
}

void WindowOwner::showMainWindow()
{
    MainWindow &window = mainWindow();
    app::setShownIcon();
    platform::showNow(&window); // the window manager gets to work at once
    controls::drawCaptionsAhead(main_);
}

StarterChoiceWindow &WindowOwner::starterChoice()
{
    return instance(starterChoice_, [this](StarterChoiceWindow *w) {
        connect(w, &StarterChoiceWindow::oOpensChosen, this, [this] {
            const bool changed = game::xIsNext(mainWindow().nextMark());
            mainWindow().setNextMark(game::kO);
            if (changed)
                mainWindow().announceTurn();
        });
        connect(w, &SecondaryWindow::left, this, [this] { unload(starterChoice_); });
        tellThrough(mainWindow(), w);
    });
}

ResultWindow &WindowOwner::resultWindow(game::Result result)
{
    QPointer<ResultWindow> &slot = results_[size_t(result)];
    if (!slot) {
        slot = new ResultWindow(result);
        connect(slot.data(), &SecondaryWindow::left, this, [this, result] { finishGame(result); });
        tellThrough(mainWindow(), slot.data());
    }
    return *slot;
}

HowToPlayWindow &WindowOwner::howToPlay()
{
    return instance(howToPlay_, [this](HowToPlayWindow *w) {
        connect(w, &SecondaryWindow::left, this, [this] { unload(howToPlay_); });
        tellThrough(mainWindow(), w);
    });
}

AboutWindow &WindowOwner::about()
{
    return instance(about_, [this](AboutWindow *w) {
        connect(w, &SecondaryWindow::left, this, [this] { unload(about_); });
        tellThrough(mainWindow(), w);
    });
}

void WindowOwner::unloadSecondary()
{
    unload(starterChoice_);
    unload(about_);
    unload(howToPlay_);
    for (game::Result result : {game::Result::Draw, game::Result::OWon, game::Result::XWon})
        unload(results_[size_t(result)]);
}

void WindowOwner::showResult(game::Result result)
{
    ResultWindow &window = resultWindow(result);
    // The move that ended the game is read as the window comes up, and the
    // result with its focused button: the window's focus would otherwise cut
    // the move short.
    if (const QString move = mainWindow().lastMove(); !move.isEmpty())
        window.setAccessibleName(move);
    window.exec();
}

void WindowOwner::finishGame(game::Result result)
{
    game::finishGame(mainWindow(), result, starterChoice().rule());
    mainWindow().announceNewGame();
    unload(results_[size_t(result)]);
}

void WindowOwner::command(MainWindow::Command command)
{
    switch (command) {
    case MainWindow::Command::NewGame:
        game::newGame(mainWindow(), starterChoice().rule());
        mainWindow().announceNewGame();
        break;
    case MainWindow::Command::Exit:
        if (windows::confirm(QString::fromUtf8("?אתה בטוח שאתה רוצה לצאת"), QString::fromUtf8("יציאה")))
            mainWindow().close();
        break;
    case MainWindow::Command::ClearTallies:
        // Given no title, the box carries the application's name.
        if (windows::confirm(QString::fromUtf8("האם אתם בטוחים שאתם רוצים לנקות את התוצאות"),
                             QCoreApplication::applicationName())) {
            game::clearTallies(mainWindow());
            mainWindow().announceTalliesCleared();
        }
        break;
    case MainWindow::Command::ChooseStarter:
        starterChoice().exec();
        break;
    case MainWindow::Command::HowToPlay:
        howToPlay().exec();
        break;
    case MainWindow::Command::About:
        about().exec();
        break;
    }
}
