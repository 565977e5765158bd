#pragma once

#include "game/marks.h"

class QWidget;
class MainWindow;
class FirstWindow;
class ResultWindow;
class HowToPlayWindow;
class AboutWindow;

// The program's one instance of each window. A window is created on first use,
// also when only one of its controls is to be read; unloading destroys it and
// drops the reference, so the next use creates a fresh one. Nothing else keeps
// pointers to windows.
namespace windows {

// Listed in the order in which the program closes them when it ends.
enum class Id { First, FrmAbout, HowToPlay, Tako, Wino, Winx, Velmora };

MainWindow &velmora();
FirstWindow &first();
ResultWindow &result(game::Result result);
HowToPlayWindow &howToPlay();
AboutWindow &about();

Id resultId(game::Result result);

// The window if it exists, without creating it.
QWidget *existing(Id id);

// Hides and destroys the window, if it exists, and drops the reference at once.
void unload(Id id);

// Every secondary window that exists, in closing order.
void unloadSecondary();

} // namespace windows
