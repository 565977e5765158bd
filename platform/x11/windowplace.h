#pragma once

// Where one of the program's windows stands on the desktop, and the requests
// that move it, as the server and the window manager see them (Qt learns of
// what a window manager did only later, or never: a window withdrawn by
// another client).
#include <xcb/xcb.h>

#include <cstdint>

namespace platform {

struct Place
{
    enum Where : uint8_t {
        InView,    // mapped and shown on the current desktop (shaded or not)
        Minimised, // iconic, or hidden by the window manager (showing the desktop, say)
        Withdrawn, // unmapped, and the window manager has let it go
        Elsewhere, // on another desktop
    };
    Where where;
    uint32_t desktop; // where Elsewhere
    bool shaded;
    bool settling = false; // InView, but unmapped: the window manager has yet to act on it

    // In view and shown: neither gone nor only on its way back.
    bool shown() const { return where == InView && !settling; }
};

// A window's top left corner, inside its frame, on the screen.
struct Origin
{
    int16_t x = 0, y = 0;
    bool known = false;
};

class WindowPlaces
{
public:
    explicit WindowPlaces(xcb_connection_t *connection) : connection_(connection) {}

    Place of(xcb_window_t window) const;
    uint32_t currentDesktop() const;
    Origin origin(xcb_window_t window) const;

    // Whether the window manager has let go of a window unmapped, so that
    // mapping it again is a new start.
    bool released(xcb_window_t window) const;

    // The window manager is asked to minimise it, or to move it to `desktop`.
    void minimise(xcb_window_t window) const;
    void moveTo(xcb_window_t window, uint32_t desktop) const;
    // Unmapped by the program itself, so that no window manager can show it.
    void withdraw(xcb_window_t window) const;
    // Mapped anew on the current desktop, unshaded and shown, at `at` where
    // known; `minimised` maps it as an icon instead.
    void map(xcb_window_t window, bool minimised = false, Origin at = {}) const;
    // Made the active window, as the player's own act at `time`.
    void activate(xcb_window_t window, xcb_timestamp_t time) const;
    void unshade(xcb_window_t window) const;
    // The keyboard focus on the window itself, should the window manager
    // have left it on the frame around it (xfwm4, after unshading it).
    void focus(xcb_window_t window) const;

private:
    xcb_connection_t *connection_;
};

} // namespace platform
