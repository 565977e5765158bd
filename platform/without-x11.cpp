// A system without X11 (a build without xcb, Windows): the window manager is
// told nothing beyond what Qt tells it, Qt alone keeps a modal window in
// front, and key repeats are the ones Qt marks as such. Built in place of
// platform/x11/ (see CMakeLists.txt).
#include "modalreach.h"
#include "serverkeys.h"
#include "windowmanager.h"

#include <QWidget>

namespace platform {

void showNow(QWidget *window)
{
    window->show();
}
void keepOutOfTaskbar(QWidget *) {}
void leaveOutWindowMenu(QWidget *) {}
void askForFrame(QWidget *) {}
std::optional<QMargins> frameBeforeMapping(QWidget *)
{
    return {};
}
void keepCentreWhenFramed(QWidget *) {}
bool whenFramed(QWidget *, std::function<void(QMargins)>)
{
    return false;
}

void keepModalWindowsInReach() {}

void watchHeldKeys() {}
bool heldKeysWatched()
{
    return false;
}
bool freshPress(quint32, quint64)
{
    return false;
}

} // namespace platform
