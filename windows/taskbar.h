#pragma once

class QWidget;

namespace windows {

// Asks the window manager to show no taskbar button for the window, where the
// platform has a way to ask (X11); elsewhere it does nothing.
void keepOutOfTaskbar(QWidget *window);

} // namespace windows
