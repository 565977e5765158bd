#pragma once

#include <Qt>

class QWidget;

namespace platform {

// Every window: a fixed frame with a title bar, a window menu and a close box,
// but no minimize or maximize box; frameless where the program draws its own
// title bar, on Wayland (the compositor there may draw none, and then Qt 6.4
// draws one that always offers minimise and maximise, which none of our
// windows may offer). Given at construction: changing a window's flags later
// re-creates it and loses the tab order of its controls.
Qt::WindowFlags windowFlags();

// The one way to the title bar the program draws itself: the window's title,
// moved by dragging it, and a close box, in the desktop's own colours, light
// or dark. Where it draws one, gives `window` its bar and returns where the
// rest of the window goes:
//  - `below` given (the main window's menu bar): a new widget holding the bar
//    above it, to be the window's menu widget;
//  - a window whose layout Qt made (a message box): the bar laid over its top,
//    the rest moved below it; the window itself;
//  - any other window: a new widget below the bar, for its controls.
// Elsewhere it changes nothing and returns `below`, or the window itself.
QWidget *withTitleBar(QWidget *window, QWidget *below = nullptr);

} // namespace platform
