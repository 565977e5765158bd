#pragma once

#include "mainwindow.h"
#include "types.h"

#include <QObject>
#include <QPointer>
#include <array>

class AboutWindow;
class HowToPlayWindow;
class ResultWindow;
class StarterChoiceWindow;

// Holds the program's one instance of each window and does every step that
// crosses windows. A window is created on first use, also when only one of its
// controls is to be read; unloading destroys it and drops the reference, so
// the next use creates a fresh one. The windows know only themselves and the
// rules, and tell the owner by signals what the player did.
class WindowOwner : public QObject
{
    Q_OBJECT

public:
    WindowOwner();
    ~WindowOwner() override; // unloads every window

    MainWindow &mainWindow();
    // The program's start: the main window shown, its first frame made ready
    // while the window manager frames it.
    void showMainWindow();
    StarterChoiceWindow &starterChoice();
    ResultWindow &resultWindow(game::Result result);
    HowToPlayWindow &howToPlay();
    AboutWindow &about();

    // Every secondary window that exists, in the order the program closes them.
    void unloadSecondary();

private:
    void command(MainWindow::Command command);
    void showResult(game::Result result);
    void finishGame(game::Result result);

    QPointer<MainWindow> main_;
    QPointer<StarterChoiceWindow> starterChoice_;
    std::array<QPointer<ResultWindow>, 3> results_; // by game::Result
    QPointer<HowToPlayWindow> howToPlay_;
    QPointer<AboutWindow> about_;
};
