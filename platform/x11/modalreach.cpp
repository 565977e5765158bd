#include "modalreach.h"

#include "x11.h"

#include <xcb/xinput.h>

#include <QApplication>
#include <QWidget>

namespace platform {

namespace {

class ModalKeeper : public QObject
{
public:
    // The atoms are asked for now and read at the first event, once answered.
    explicit ModalKeeper(xcb_connection_t *connection) : connection_(connection)
    {
        askForAtoms(connection);
        const xcb_query_extension_reply_t *input = xcb_get_extension_data(connection, &xcb_input_id);
        inputOpcode_ = input && input->present ? input->major_opcode : 0;
        watchEvents(
            {XCB_BUTTON_PRESS, XCB_KEY_PRESS, XCB_GE_GENERIC, XCB_PROPERTY_NOTIFY, XCB_FOCUS_IN, XCB_CLIENT_MESSAGE},
            [this](const xcb_generic_event_t *event) { seen(event); });
    }

    void seen(const xcb_generic_event_t *event)
    {
        const xcb_window_t from = reachedFor(event);
        if (from == XCB_NONE)
            return;
        const QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        const auto id = xcb_window_t(modal->winId());
        if (from != id && !raised_) {
            bringBack(id, from);
            return;
        }
        // Reached for itself (xfwm4 keeps the focus on a shaded question), or
        // only raised: back if it is out of reach, and asked once until it is
        // seen back or the player acts again, where a window manager would not.
        if (reach(id).inReach())
            broughtBack_ = false;
        else if (!std::exchange(broughtBack_, true))
            bringBack(id, from);
    }

    // A modal window going leaves the windows it blocked: any that another
    // client withdrew meanwhile comes back, or the program would run on with
    // no window to be reached.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget *>(watched)->isModal())
            QMetaObject::invokeMethod(this, &ModalKeeper::afterModal, Qt::QueuedConnection);
        return false;
    }

private:
    xcb_atom_t atom(Atom which) const { return platform::atom(connection_, which); }

    void afterModal()
    {
        if (QApplication::activeModalWidget())
            return;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            const auto id = xcb_window_t(window->internalWinId());
            if (id && window->isVisible() && !window->isModal() && reach(id).withdrawn)
                bringBack(id, XCB_NONE);
        }
    }

    // The window the player reached for, by a click, a key, its close box or
    // activating it; none for any other event. Remembers the player's time.
    xcb_window_t reachedFor(const xcb_generic_event_t *event)
    {
        raised_ = false;
        switch (event->response_type & 0x7f) {
        case XCB_BUTTON_PRESS:
        case XCB_KEY_PRESS: {
            // Both events have the same layout.
            const auto *press = reinterpret_cast<const xcb_button_press_event_t *>(event);
            userTime_ = press->time;
            broughtBack_ = false;
            return press->event;
        }
        case XCB_GE_GENERIC: {
            // Qt takes the mouse through XInput 2: a click comes as its event.
            // A window manager that keeps the focus on a modal window (xfwm4)
            // gives the clicked window nothing else.
            const auto *press = reinterpret_cast<const xcb_input_button_press_event_t *>(event);
            if (!inputOpcode_ || press->extension != inputOpcode_ || press->event_type != XCB_INPUT_BUTTON_PRESS)
                return XCB_NONE;
            userTime_ = press->time;
            broughtBack_ = false;
            return press->event;
        }
        case XCB_PROPERTY_NOTIFY: {
            // Activating a window whose modal window keeps the focus (xfwm4,
            // for a question) only raises them: one of ours on top of the
            // stack counts as reached for.
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (change->atom == atom(Atom::NetWmDesktop) && change->window == movedHere_)
                movedHere_ = XCB_NONE; // the window manager has acted on the move, or moved it again
            if (change->window != rootOf(connection_) || change->atom != atom(Atom::NetClientListStacking)
                || !QApplication::activeModalWidget())
                return XCB_NONE;
            const QList<uint32_t> stack =
                platform::property(connection_, change->window, atom(Atom::NetClientListStacking), XCB_ATOM_WINDOW);
            raised_ = true;
            return !stack.isEmpty() && QWidget::find(stack.back()) ? stack.back() : XCB_NONE;
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
            if (client->type != atom(Atom::WmProtocols) || client->data.data32[0] != atom(Atom::WmDeleteWindow))
                return XCB_NONE;
            userTime_ = client->data.data32[1];
            broughtBack_ = false;
            return client->window;
        }
        default:
            return XCB_NONE;
        }
    }

    struct Reach
    {
        bool viewable, withdrawn, elsewhere, shaded;
        uint32_t currentDesktop; // as read with the rest; meaningful where `elsewhere`
        bool inReach() const { return viewable && !elsewhere && !shaded; }
    };

    // What the server says of the window itself, not what Qt believes (it
    // learns of what a window manager did only later, or never: a window
    // withdrawn by another client). Not what WM_STATE alone says either:
    // fluxbox leaves it Normal on a window that another client unmapped.
    Reach reach(xcb_window_t window)
    {
        constexpr uint32_t kIconic = 3, kAllDesktops = 0xFFFFFFFF;
        const auto cookie = xcb_get_window_attributes(connection_, window);
        ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection_, cookie, nullptr), free);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        const QList<uint32_t> state = platform::property(connection_, window, atom(Atom::WmState), atom(Atom::WmState));
        const QList<uint32_t> current =
            platform::property(connection_, rootOf(connection_), atom(Atom::NetCurrentDesktop), XCB_ATOM_CARDINAL);
        const QList<uint32_t> on = platform::property(connection_, window, atom(Atom::NetWmDesktop), XCB_ATOM_CARDINAL);
        const bool elsewhere =
            !current.isEmpty() && !on.isEmpty() && on.front() != kAllDesktops && on.front() != current.front();
        const bool iconic = !state.isEmpty() && state.front() == kIconic;
        // Unmapped, and neither minimised nor on another desktop: withdrawn,
        // whatever WM_STATE says.
        return {viewable, !viewable && !iconic && !elsewhere, elsewhere,
                platform::property(connection_, window, atom(Atom::NetWmState), XCB_ATOM_ATOM)
                    .contains(atom(Atom::NetWmStateShaded)),
                elsewhere ? current.front() : 0};
    }

    void bringBack(xcb_window_t window, xcb_window_t from)
    {
        constexpr uint32_t kRemove = 0, kFromApplication = 1;
        const Reach now = reach(window);
        // Mapping a minimised or withdrawn window is how a client asks for it
        // back; one on another desktop is moved here instead (mapping it might
        // take the player there).
        if (!now.viewable && !now.elsewhere)
            xcb_map_window(connection_, window);
        if (now.elsewhere) {
            // One move at a time: openbox acts only on the last of several
            // moves queued for a window, so an activation sent after an
            // earlier one would find the window still away, be refused, and
            // have its frame flash (and openbox 3.6 crashes should the window
            // go before the flash ends). The first move's activation follows it.
            // The desktop read with the rest: read again, it may be gone
            // (the window manager ending or starting anew meanwhile).
            if (std::exchange(movedHere_, window) == window)
                return;
            tellWindowManager(connection_, window, atom(Atom::NetWmDesktop), {now.currentDesktop, kFromApplication});
        }
        if (now.shaded)
            tellWindowManager(connection_, window, atom(Atom::NetWmState),
                              {kRemove, atom(Atom::NetWmStateShaded), 0, kFromApplication});
        tellWindowManager(connection_, window, atom(Atom::NetActiveWindow), {kFromApplication, userTime_, from});
        xcb_flush(connection_);
    }

    xcb_connection_t *connection_;
    xcb_timestamp_t userTime_ = XCB_CURRENT_TIME;
    bool raised_ = false;               // the last event only raised a window of ours
    bool broughtBack_ = false;          // asked for since the player's last press or close, and not yet seen back
    xcb_window_t movedHere_ = XCB_NONE; // asked to this desktop, the window manager not yet seen to act
    uint8_t inputOpcode_;
};

} // namespace

void keepModalWindowsInReach()
{
    if (xcb_connection_t *connection = x11Connection()) {
        static ModalKeeper keeper(connection);
        QCoreApplication::instance()->installEventFilter(&keeper);
    }
}

} // namespace platform
