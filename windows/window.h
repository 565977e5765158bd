#pragma once

#include "controls.h"

class QWidget;

// A window's own row of its table, and what building a window makes of it:
// its frame's properties, its placement, the height of its menu bar.
namespace windows {

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

} // namespace windows
