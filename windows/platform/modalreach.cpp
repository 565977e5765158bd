#include "modalreach.h"

#ifdef VELMORA_X11

#include "x11.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>

namespace platform {

namespace {

class ModalKeeper : public QAbstractNativeEventFilter
{
public:
    explicit ModalKeeper(xcb_connection_t *connection)
        : connection_(connection), wmState_(internAtom(connection, "WM_STATE")),
          protocols_(internAtom(connection, "WM_PROTOCOLS")), delete_(internAtom(connection, "WM_DELETE_WINDOW")),
          desktop_(internAtom(connection, "_NET_WM_DESKTOP")),
          currentDesktop_(internAtom(connection, "_NET_CURRENT_DESKTOP")),
          netState_(internAtom(connection, "_NET_WM_STATE")), shaded_(internAtom(connection, "_NET_WM_STATE_SHADED")),
          activate_(internAtom(connection, "_NET_ACTIVE_WINDOW"))
    {}

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const xcb_window_t from = reachedFor(static_cast<const xcb_generic_event_t *>(message));
        if (from == XCB_NONE)
            return false;
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && xcb_window_t(modal->winId()) != from)
            bringBack(xcb_window_t(modal->winId()), from);
        return false;
    }

private:
    // The window the player reached for, by a click, a key, its close box or
    // activating it; none for any other event. Remembers the player's time.
    xcb_window_t reachedFor(const xcb_generic_event_t *event)
    {
        switch (event->response_type & 0x7f) {
        case XCB_BUTTON_PRESS:
        case XCB_KEY_PRESS: {
            // Both events have the same layout.
            const auto *press = reinterpret_cast<const xcb_button_press_event_t *>(event);
            userTime_ = press->time;
            return press->event;
        }
        case XCB_FOCUS_IN: {
            const auto *focus = reinterpret_cast<const xcb_focus_in_event_t *>(event);
            // Focus moving inside a window, or following the pointer, is no activation.
            if (focus->detail == XCB_NOTIFY_DETAIL_INFERIOR || focus->detail == XCB_NOTIFY_DETAIL_POINTER)
                return XCB_NONE;
            return focus->event;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event);
            if (client->type != protocols_ || client->data.data32[0] != delete_)
                return XCB_NONE;
            userTime_ = client->data.data32[1];
            return client->window;
        }
        default:
            return XCB_NONE;
        }
    }

    // Read from the server, not from Qt, which learns of what the window
    // manager did only later, or never (a window withdrawn by another client).
    void bringBack(xcb_window_t modal, xcb_window_t from)
    {
        constexpr uint32_t kNormal = 1, kAllDesktops = 0xFFFFFFFF, kRemove = 0, kFromApplication = 1;
        // Mapping an iconic or withdrawn window is how a client asks for it back.
        const QList<uint32_t> state = property(connection_, modal, wmState_, wmState_);
        if (state.isEmpty() || state.front() != kNormal)
            xcb_map_window(connection_, modal);
        const QList<uint32_t> current = property(connection_, rootOf(connection_), currentDesktop_, XCB_ATOM_CARDINAL);
        const QList<uint32_t> on = property(connection_, modal, desktop_, XCB_ATOM_CARDINAL);
        if (!current.isEmpty() && !on.isEmpty() && on.front() != kAllDesktops && on.front() != current.front())
            tellWindowManager(connection_, modal, desktop_, {current.front(), kFromApplication});
        if (property(connection_, modal, netState_, XCB_ATOM_ATOM).contains(shaded_))
            tellWindowManager(connection_, modal, netState_, {kRemove, shaded_, 0, kFromApplication});
        tellWindowManager(connection_, modal, activate_, {kFromApplication, userTime_, from});
        xcb_flush(connection_);
    }

    xcb_connection_t *connection_;
    xcb_atom_t wmState_, protocols_, delete_, desktop_, currentDesktop_, netState_, shaded_, activate_;
    xcb_timestamp_t userTime_ = XCB_CURRENT_TIME;
};

} // namespace

void keepModalWindowsInReach()
{
    if (xcb_connection_t *connection = x11Connection()) {
        static ModalKeeper keeper(connection);
        QCoreApplication::instance()->installNativeEventFilter(&keeper);
    }
}

} // namespace platform

#else // built without xcb: Qt alone keeps the modal window in front

namespace platform {

void keepModalWindowsInReach() {}

} // namespace platform

#endif
