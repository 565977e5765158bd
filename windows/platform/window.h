#pragma once

#include "controls.h"

#include <Qt>

class QWidget;

namespace platform {

// Every window: a fixed frame with a title bar, a window menu and a close box,
// but no minimize or maximize box. Given at construction: changing a window's
// flags later re-creates it and loses the tab order of its controls.
inline constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// kWindowFlags, or a frameless window where the program draws its own title bars.
Qt::WindowFlags windowFlags();

enum class Placement {
    CentreScreen,  // the outer window centred on the screen
    TopLeftCorner, // the outer window in the screen's top left corner
    Fixed,         // the client area at a stored screen position
    SystemDefault, // wherever the window manager puts new windows
};

// A window's own properties, as its description gives them.
struct WindowProperties
{
    const char *name;
    const char *caption;
    int clientWidth, clientHeight; // twips
    controls::Colour back = {};
    Placement placement = Placement::SystemDefault;
    int left = 0, top = 0; // twips, for Placement::Fixed
    bool taskbar = true;
};

// Applies a description to a top-level window whose controls sit on `client`
// (the window itself, or the main window's central widget below its menu bar):
// name, caption, fixed client size, background and placement.
void applyProperties(QWidget *window, QWidget *client, const WindowProperties &props);

} // namespace platform
