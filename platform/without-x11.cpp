// A system without X11 (Windows, a build without xcb): the window manager is
// told nothing beyond what Qt tells it, and key repeats are the ones Qt marks
// as such, which on Windows is what the system says of each key message.
// Built in place of platform/x11/ (see CMakeLists.txt).
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
