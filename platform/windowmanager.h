#pragma once

#include <QMargins>
#include <QtGlobal>
#include <functional>
#include <optional>

class QWidget;

// What the program tells the window manager, or asks of it, beyond what Qt
// does. Where the platform has no way (anything but X11), each does nothing.
namespace platform {

// Whether the program runs on a Wayland compositor, which places every window
// itself and may draw no title bars.
bool onWayland();

// Shows a top-level window and sends what has been asked of the display
// server so far at once, rather than when the program next waits for events.
// (A window asked to keep its centre is shown keeping it: see below.)
void showNow(QWidget *window);

// Asks for no taskbar button for the window.
void keepOutOfTaskbar(QWidget *window);

// The frame the window manager will put around the window, asked for before
// the window is mapped, so that the window can be placed once, frame included.
// Asking early, before the window's other set-up, lets the window manager
// answer meanwhile; start-up does not wait for an answer that has not come by
// the time the window is placed. None where the window manager cannot say (or
// there is none, or no X11).
void askForFrame(QWidget *window);
std::optional<QMargins> frameBeforeMapping(QWidget *window);

// Asks the window manager to keep the centre of the window where it is as it
// frames the window, rather than its top left corner (centre gravity), when
// showNow shows it.
void keepCentreWhenFramed(QWidget *window);

// Calls `framed` once, with the frame, when the window manager has framed the
// window: for a window manager that did not answer before the window mapped.
// False where nothing will call it (no window manager that says its frame).
bool whenFramed(QWidget *window, std::function<void(QMargins)> framed);

// No program icon in the window's title bar, where window managers show it by
// default (the window keeps its frame, title and close box).
void showNoTitleBarIcon(QWidget *window);

// Asks for no window-menu button in the window's frame (Motif hints), set as
// the window is about to map: icewm and xfwm4 draw the icon there.
void leaveOutWindowMenu(QWidget *window);

// On Wayland, a window comes up over the window the player was in, which it
// names as its parent; a compositor there places every window itself.
// Elsewhere, windows stay owned by no window.
void comeUpOverActiveWindow(QWidget *window);

} // namespace platform
