#include "windowplace.h"

#include "x11.h"

#include <array>

namespace platform {

namespace {

constexpr uint32_t kNormalState = 1, kIconicState = 3;
constexpr uint32_t kAllDesktops = 0xFFFFFFFF;
constexpr uint32_t kFromApplication = 1, kForThePlayer = 2;

} // namespace

uint32_t WindowPlaces::currentDesktop() const
{
    const QList<uint32_t> current =
        property(connection_, rootOf(connection_), atom(connection_, Atom::NetCurrentDesktop), XCB_ATOM_CARDINAL);
    return current.isEmpty() ? 0 : current.front();
}

Origin WindowPlaces::origin(xcb_window_t window) const
{
    const auto cookie = xcb_translate_coordinates(connection_, window, rootOf(connection_), 0, 0);
    ReplyPtr<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(connection_, cookie, nullptr),
                                                      free);
    return reply ? Origin{reply->dst_x, reply->dst_y, true} : Origin{};
}

Place WindowPlaces::of(xcb_window_t window) const
{
    const auto cookie = xcb_get_window_attributes(connection_, window);
    ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection_, cookie, nullptr), free);
    const uint8_t mapState = attributes ? attributes->map_state : uint8_t(XCB_MAP_STATE_UNMAPPED);
    const QList<uint32_t> netState = property(connection_, window, atom(connection_, Atom::NetWmState), XCB_ATOM_ATOM);
    const bool shaded = netState.contains(atom(connection_, Atom::NetWmStateShaded));
    const QList<uint32_t> on = property(connection_, window, atom(connection_, Atom::NetWmDesktop), XCB_ATOM_CARDINAL);
    if (!on.isEmpty() && on.front() != kAllDesktops && on.front() != currentDesktop())
        return {Place::Elsewhere, on.front(), shaded};
    const QList<uint32_t> wmState =
        property(connection_, window, atom(connection_, Atom::WmState), atom(connection_, Atom::WmState));
    // xfwm4 unmaps a window it shades.
    if (mapState == XCB_MAP_STATE_VIEWABLE || (shaded && (wmState.isEmpty() || wmState.front() != kIconicState)))
        return {Place::InView, 0, shaded};
    // Hidden by the window manager: iconic, or with every other window while the desktop shows.
    const QList<uint32_t> showing =
        property(connection_, rootOf(connection_), atom(connection_, Atom::NetShowingDesktop), XCB_ATOM_CARDINAL);
    if (netState.contains(atom(connection_, Atom::NetWmStateHidden))
        || (!showing.isEmpty() && showing.front() != 0 && !wmState.isEmpty() && wmState.front() != 0))
        return {Place::Minimised, 0, shaded};
    // Unmapped in its frame: the window manager has yet to show it or to let
    // it go. openbox, switching desktops, says which desktop shows before it
    // shows the windows on it, marked iconic while they were elsewhere.
    if (!released(window))
        return {Place::InView, 0, shaded, true};
    // Withdrawn, whatever WM_STATE says: fluxbox leaves it Normal on a window
    // that another client unmapped.
    return {Place::Withdrawn, 0, shaded};
}

bool WindowPlaces::released(xcb_window_t window) const
{
    const auto cookie = xcb_query_tree(connection_, window);
    ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, cookie, nullptr), free);
    return tree && tree->parent == tree->root;
}

void WindowPlaces::minimise(xcb_window_t window) const
{
    tellWindowManager(connection_, window, atom(connection_, Atom::WmChangeState), {kIconicState});
}

void WindowPlaces::moveTo(xcb_window_t window, uint32_t desktop) const
{
    tellWindowManager(connection_, window, atom(connection_, Atom::NetWmDesktop), {desktop, kFromApplication});
}

void WindowPlaces::withdraw(xcb_window_t window) const
{
    xcb_unmap_window(connection_, window);
    // Told to the window manager too, as a window already iconic is not
    // unmapped again and the window manager would keep it.
    std::array<char, 32> event{};
    auto *unmap = reinterpret_cast<xcb_unmap_notify_event_t *>(event.data());
    unmap->response_type = XCB_UNMAP_NOTIFY;
    unmap->event = rootOf(connection_);
    unmap->window = window;
    xcb_send_event(connection_, 0, rootOf(connection_),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, event.data());
}

void WindowPlaces::map(xcb_window_t window, bool minimised, Origin at) const
{
    if (of(window).where == Place::Withdrawn) {
        // A window manager takes a withdrawn window back on the desktop and in
        // the state its properties still name: the current desktop, shown.
        xcb_delete_property(connection_, window, atom(connection_, Atom::NetWmDesktop));
        QList<uint32_t> state = property(connection_, window, atom(connection_, Atom::NetWmState), XCB_ATOM_ATOM);
        if (state.removeAll(atom(connection_, Atom::NetWmStateHidden))
            + state.removeAll(atom(connection_, Atom::NetWmStateShaded)))
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom(connection_, Atom::NetWmState),
                                XCB_ATOM_ATOM, 32, uint32_t(state.size()), state.constData());
        // Where it was, the frame around it: a window manager places a
        // window anew otherwise (openbox), or where it let it go, frame and all.
        QList<uint32_t> size = property(connection_, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
        if (at.known && !size.isEmpty()) {
            const std::array<uint32_t, 2> corner{uint32_t(int32_t(at.x)), uint32_t(int32_t(at.y))};
            xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, corner.data());
            constexpr uint32_t kUserPosition = 1, kGravity = 1 << 9, kStaticGravity = 10;
            size.resize(18); // flags, four obsolete, sizes, increments, aspects, base size, gravity
            size[0] |= kUserPosition | kGravity;
            size[17] = kStaticGravity;
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                                XCB_ATOM_WM_SIZE_HINTS, 32, uint32_t(size.size()), size.constData());
        }
        // WM_HINTS: flags, input, initial state, and six more.
        QList<uint32_t> hints = property(connection_, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
        hints.resize(9);
        constexpr uint32_t kStateHint = 1 << 1;
        hints[0] |= kStateHint;
        hints[2] = minimised ? kIconicState : kNormalState;
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                            uint32_t(hints.size()), hints.constData());
    }
    xcb_map_window(connection_, window);
}

void WindowPlaces::activate(xcb_window_t window, xcb_timestamp_t time) const
{
    tellWindowManager(connection_, window, atom(connection_, Atom::NetActiveWindow), {kForThePlayer, time, 0});
}

void WindowPlaces::unshade(xcb_window_t window) const
{
    constexpr uint32_t kRemove = 0;
    tellWindowManager(connection_, window, atom(connection_, Atom::NetWmState),
                      {kRemove, atom(connection_, Atom::NetWmStateShaded), 0, kFromApplication});
}

void WindowPlaces::focus(xcb_window_t window) const
{
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
}

} // namespace platform
