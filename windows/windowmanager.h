#pragma once

#include <QMargins>
#include <memory>

class QWidget;

// What the program tells the window manager, or asks of it, beyond what Qt
// does. Where the platform has no way (anything but X11), each does nothing.
namespace windows {

// Asks for no taskbar button for the window.
void keepOutOfTaskbar(QWidget *window);

// The frame the window manager will put around the window, asked for before
// the window is mapped, so that the window can be placed once, frame included.
// Null margins when the window manager cannot say. Asking early, before the
// window's other set-up, lets the window manager answer meanwhile.
void askForFrame(QWidget *window);
QMargins frameBeforeMapping(QWidget *window);

// While it lives, a modal window that the window manager minimised anyway
// (openbox offers it on every window) comes back as soon as the focus goes to
// another window of ours: the rest of the program cannot take input meanwhile
// and would look dead. Qt hands such focus on to the modal window itself, but
// a window manager ignores that for a minimised window.
class KeepModalInSight
{
public:
    explicit KeepModalInSight(QWidget *modal);
    ~KeepModalInSight();

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};

} // namespace windows
