#include "windowgroup.h"

#include "windowplace.h"
#include "x11.h"

#include <xcb/xinput.h>

#include <QApplication>
#include <QHash>
#include <QLoggingCategory>
#include <QSet>
#include <QWidget>

// QT_LOGGING_RULES="velmora.windowgroup.debug=true" shows what the group sees
// and does: window managers differ most here.
Q_LOGGING_CATEGORY(lcGroup, "velmora.windowgroup", QtWarningMsg)

namespace platform {

namespace {

xcb_window_t idOf(const QWidget *window)
{
    return window ? xcb_window_t(window->internalWinId()) : XCB_NONE;
}

// The main window and the modal window open over it are one group: the group
// follows the main window wherever it goes, and the main window follows the
// modal window. A modal window goes by being withdrawn by the program itself,
// so that no window manager shows it again on its own (xfwm4 and fluxbox show
// a minimised modal window again at once), and comes back once the main
// window is back in view.
class WindowGroup : public QObject
{
public:
    // The atoms are asked for now and read at the first event, once answered.
    explicit WindowGroup(xcb_connection_t *connection) : connection_(connection), places_(connection)
    {
        askForAtoms(connection);
        const xcb_query_extension_reply_t *input = xcb_get_extension_data(connection, &xcb_input_id);
        inputOpcode_ = input && input->present ? input->major_opcode : 0;
        watchEvents({XCB_BUTTON_PRESS, XCB_KEY_PRESS, XCB_GE_GENERIC, XCB_PROPERTY_NOTIFY, XCB_FOCUS_IN,
                     XCB_CLIENT_MESSAGE, XCB_MAP_NOTIFY, XCB_UNMAP_NOTIFY, XCB_REPARENT_NOTIFY},
                    [this](const xcb_generic_event_t *event) { seen(event); });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isModal())
            regroupSoon();
        return false;
    }

private:
    enum class Ask : uint8_t {
        Minimise, // whether the window manager minimised the main window, or declined
        Icon,     // the main window mapped as an icon, and shown as the window manager will
    };

    enum class State {
        Together,
        Leaving, // the modal window withdrawn, the main window asked to go
        Away,    // the main window gone, the modal window withdrawn
    };

    xcb_atom_t atom(Atom which) const { return platform::atom(connection_, which); }

    static QWidget *mainWindow()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible() && !window->isModal() && window->windowType() == Qt::Window
                && window->internalWinId())
                return window;
        return nullptr;
    }

    static QList<xcb_window_t> modalWindows()
    {
        QList<xcb_window_t> windows;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->isModal() && window->internalWinId())
                windows.append(idOf(window));
        return windows;
    }

    void seen(const xcb_generic_event_t *event)
    {
        const uint8_t kind = event->response_type & 0x7f;
        if (kind == XCB_REPARENT_NOTIFY) { // framed, or let go by the window manager
            regroupSoon();
            return;
        }
        if (kind == XCB_MAP_NOTIFY || kind == XCB_UNMAP_NOTIFY) {
            // Both events have the same layout where it matters.
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
            if (map->event != map->window || !QWidget::find(map->window))
                return;
            qCDebug(lcGroup, "%s %x", kind == XCB_MAP_NOTIFY ? "mapped" : "unmapped", map->window);
            if (kind == XCB_UNMAP_NOTIFY && !withdrawn_.contains(map->window) && modalWindows().contains(map->window))
                modalLeft_ = true;
            if (map->window == idOf(mainWindow())) {
                if (kind == XCB_UNMAP_NOTIFY)
                    mainLeft_ = mainUnmapped_ = true;
                // Mapped as an icon, fluxbox shows the window, then minimises it.
                if (kind == XCB_UNMAP_NOTIFY && iconShown_)
                    iconPending_ = false;
                iconShown_ = iconPending_ && kind == XCB_MAP_NOTIFY;
            }
            if (kind == XCB_MAP_NOTIFY && map->window == activateWhenShown_) {
                activateWhenShown_ = XCB_NONE;
                places_.activate(map->window, lastTime_);
                xcb_flush(connection_);
            }
            regroupSoon();
            return;
        }
        if (kind == XCB_PROPERTY_NOTIFY && placeChange(reinterpret_cast<const xcb_property_notify_event_t *>(event)))
            return;
        reachedFor(event);
    }

    // A property that says where a window of ours is, which desktop shows or
    // which window is active: true when the event was one of those.
    bool placeChange(const xcb_property_notify_event_t *change)
    {
        lastTime_ = change->time;
        const xcb_atom_t name = change->atom;
        if (change->window == rootOf(connection_)) {
            if (name == atom(Atom::NetCurrentDesktop))
                desktopChanged_ = true;
            if (name == atom(Atom::NetCurrentDesktop) || name == atom(Atom::NetShowingDesktop))
                regroupSoon();
            else if (name == atom(Atom::NetActiveWindow))
                focusActiveModal();
            return name == atom(Atom::NetCurrentDesktop) || name == atom(Atom::NetShowingDesktop)
                   || name == atom(Atom::NetActiveWindow);
        }
        for (Ask why : {Ask::Minimise, Ask::Icon})
            if (change->window == probes_[int(why)] && change->window != XCB_NONE) {
                if (name == atom(Atom::NetFrameExtents))
                    answered(why);
                return true;
            }
        if (!QWidget::find(change->window))
            return false;
        if (name == atom(Atom::NetWmDesktop))
            moving_.remove(change->window); // the window manager has acted on the move, or moved it again
        if (name == atom(Atom::WmState) || name == atom(Atom::NetWmDesktop) || name == atom(Atom::NetWmState)) {
            regroupSoon();
            if (name == atom(Atom::NetWmState))
                focusActiveModal(); // unshaded, say
            return true;
        }
        return false;
    }

    // Once the events of the moment are read: a window manager changes
    // several properties for one act.
    void regroupSoon()
    {
        if (!std::exchange(regroupQueued_, true))
            QMetaObject::invokeMethod(this, &WindowGroup::regroup, Qt::QueuedConnection);
    }

    void regroup()
    {
        regroupQueued_ = false;
        const bool desktopChanged = std::exchange(desktopChanged_, false);
        const bool modalLeft = std::exchange(modalLeft_, false);
        const bool mainLeft = std::exchange(mainLeft_, false);
        const xcb_window_t main = idOf(mainWindow());
        const QList<xcb_window_t> modals = modalWindows();
        if (main == XCB_NONE)
            return;
        if (state_ != State::Together)
            iconOnceReleased(main);
        const Place m = places_.of(main);
        if (modals.isEmpty()) {
            // The modal window has gone, answered: a main window that another
            // client withdrew meanwhile comes back, or the program would run
            // on with no window to be reached.
            if (std::exchange(modal_, XCB_NONE) != XCB_NONE && m.where == Place::Withdrawn)
                places_.map(main);
            state_ = State::Together;
            withdrawn_.clear();
            xcb_flush(connection_);
            return;
        }
        if (modals.back() != modal_) {
            // Opened while the main window was away (closed from a taskbar, say): both shown.
            modal_ = modals.back();
            modalShown_ = false;
            state_ = State::Together;
            if (m.where != Place::InView && m.where != Place::Elsewhere)
                bringBack(main, modals);
            return;
        }
        const Place d = places_.of(modal_);
        // Not yet shown by the window manager, as opened or brought back: not gone.
        modalShown_ = modalShown_ || d.shown();
        qCDebug(lcGroup) << "regroup: state" << int(state_) << "main" << m.where << "modal" << d.where << "shaded"
                         << d.shaded << "left" << modalLeft;
        if (state_ == State::Together && m.shown() && d.shown() && !d.shaded) {
            at_.insert(main, places_.origin(main));
            at_.insert(modal_, places_.origin(modal_));
        }
        // Shown again by a window manager that had yet to act on its withdrawal
        // (xfwm4 shows a minimised modal window again at once).
        if (state_ != State::Together)
            for (xcb_window_t modal : modals)
                if (withdrawn_.contains(modal) && places_.of(modal).shown())
                    places_.withdraw(modal);
        switch (state_) {
        case State::Together:
            if (m.where == Place::Elsewhere) {
                for (xcb_window_t modal : modals)
                    if (const Place p = places_.of(modal); p.where != Place::Elsewhere || p.desktop != m.desktop)
                        moveOnce(modal, m.desktop);
            } else if (m.where != Place::InView) {
                goAway(main, modals);
            } else if (m.settling) {
                // On its way (openbox hides it first, then says the desktop
                // shows): the group follows once it is seen there.
                modalLeft_ = modalLeft_ || modalLeft;
            } else if (!modalShown_) {
                // Nothing of it is gone before it is first shown.
            } else if (d.where == Place::Elsewhere) {
                moveOnce(main, d.desktop);
            } else if (d.where != Place::InView || (modalLeft && !d.shaded && !desktopChanged)) {
                // Gone, if only for a moment (xfwm4 and fluxbox show a
                // minimised modal window again at once): the group goes.
                for (xcb_window_t modal : modals)
                    withdraw(modal);
                hide(main);
                state_ = State::Leaving;
            }
            break;
        case State::Leaving: // until the window manager minimises the main window, or the player acts
            if (m.where != Place::InView || mainLeft)
                goAway(main, modals);
            if (m.shown() && mainLeft) // and brought back already
                bringBack(main, modals);
            break;
        case State::Away:
            if (m.where == Place::Minimised)
                iconPending_ = false;
            if (m.shown() && !iconPending_)
                bringBack(main, modals);
            break;
        }
        xcb_flush(connection_);
    }

    void goAway(xcb_window_t main, const QList<xcb_window_t> &modals)
    {
        qCDebug(lcGroup, "away");
        for (xcb_window_t modal : modals)
            withdraw(modal);
        state_ = State::Away;
        iconOnceReleased(main);
    }

    // Minimised; where the window manager declines (icewm, as the window has
    // no minimise button), withdrawn and mapped again as an icon. A window
    // manager answers requests in turn: the extents of a frame for a window
    // of its own, asked after, come once it has acted on the minimise, or
    // declined it.
    void hide(xcb_window_t main)
    {
        places_.minimise(main);
        mainUnmapped_ = false;
        ask(Ask::Minimise);
    }

    // A window manager answers requests in turn: the extents of a frame for
    // an unmapped window of our own, asked after a request, come once it has
    // acted on that request. One such window for each question, as some
    // never answer (fluxbox).
    void ask(Ask why)
    {
        xcb_window_t &probe = probes_[int(why)];
        if (probe == XCB_NONE) {
            probe = xcb_generate_id(connection_);
            const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe, rootOf(connection_), -1, -1, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        }
        tellWindowManager(connection_, probe, atom(Atom::NetRequestFrameExtents), {});
    }

    void answered(Ask why)
    {
        const xcb_window_t main = idOf(mainWindow());
        if (main == XCB_NONE)
            return;
        if (why == Ask::Icon) {
            iconPending_ = false;
            regroupSoon();
        } else if (state_ == State::Leaving && !mainUnmapped_ && places_.of(main).shown()) {
            // Declined: never unmapped. Unmapped and shown again, it is the
            // player's restore, which the regrouping answers.
            qCDebug(lcGroup, "minimise declined");
            places_.withdraw(main);
            xcb_flush(connection_);
        }
    }

    // Withdrawn while the group is away, by the program or another client,
    // the main window would leave the player no way back: it is mapped
    // again as an icon, once the window manager has let go of it (or it would
    // take the request for the window it is still letting go).
    void iconOnceReleased(xcb_window_t main)
    {
        // Once: mapping it again as the window manager takes it would show it.
        if (places_.of(main).where != Place::Withdrawn)
            iconAsked_ = false;
        else if (!iconAsked_ && places_.released(main)) {
            qCDebug(lcGroup, "main mapped as an icon");
            iconAsked_ = iconPending_ = true;
            iconShown_ = false;
            places_.map(main, true, at_.value(main));
            ask(Ask::Icon);
        }
    }

    void withdraw(xcb_window_t modal)
    {
        if (withdrawn_.contains(modal))
            return;
        withdrawn_.insert(modal);
        places_.withdraw(modal);
    }

    // All of the group back on the current desktop, the modal window in front
    // and active once the window manager shows it.
    void bringBack(xcb_window_t main, const QList<xcb_window_t> &modals)
    {
        qCDebug(lcGroup, "back");
        state_ = State::Together;
        iconPending_ = false;
        for (xcb_window_t window : QList<xcb_window_t>{main} + modals) {
            const Place p = places_.of(window);
            if (p.where == Place::Elsewhere)
                moveOnce(window, places_.currentDesktop());
            else if (!p.shown())
                places_.map(window, false, at_.value(window));
        }
        withdrawn_.clear();
        modalShown_ = false;
        const xcb_window_t modal = modals.back();
        if (const Place p = places_.of(modal); p.shown()) {
            if (p.shaded)
                places_.unshade(modal);
            places_.activate(modal, lastTime_);
        } else {
            activateWhenShown_ = modal;
        }
        xcb_flush(connection_);
    }

    // One move at a time: openbox acts only on the last of several moves
    // queued for a window (and 3.6 crashes should a window go while its
    // frame flashes for an activation refused meanwhile).
    void moveOnce(xcb_window_t window, uint32_t desktop)
    {
        const auto pending = moving_.constFind(window);
        if (pending != moving_.cend() && *pending == desktop)
            return;
        moving_.insert(window, desktop);
        places_.moveTo(window, desktop);
    }

    // The window manager has made the modal window active but may leave the
    // keyboard focus on its own frame (xfwm4, after unshading it): the next
    // key would be lost.
    void focusActiveModal()
    {
        const xcb_window_t modal = idOf(QApplication::activeModalWidget());
        if (modal == XCB_NONE)
            return;
        const QList<uint32_t> active =
            platform::property(connection_, rootOf(connection_), atom(Atom::NetActiveWindow), XCB_ATOM_WINDOW);
        const Place p = places_.of(modal);
        if (active.isEmpty() || active.front() != modal || !p.shown() || p.shaded)
            return;
        const auto cookie = xcb_get_input_focus(connection_);
        ReplyPtr<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(connection_, cookie, nullptr), free);
        if (focus && focus->focus != modal) {
            places_.focus(modal);
            xcb_flush(connection_);
        }
    }

    // The player reaching for a window of ours, by a click, a key, its close
    // box or activating it: the modal window comes forward, and all of the
    // group comes back should part of it be away.
    void reachedFor(const xcb_generic_event_t *event)
    {
        bool pressed = false, raised = false;
        const xcb_window_t from = reachFrom(event, pressed, raised);
        const QWidget *modalWidget = QApplication::activeModalWidget();
        if (from == XCB_NONE || !modalWidget || !mainWindow())
            return;
        const xcb_window_t modal = idOf(modalWidget);
        const Place p = places_.of(modal);
        if (pressed && (state_ != State::Together || p.where != Place::InView)) {
            bringBack(idOf(mainWindow()), modalWindows());
            return;
        }
        // Focus falling back to the main window as the modal window goes
        // (unmapped, if not yet seen gone) is not the player's act: the group
        // follows what went.
        if (!p.shown())
            return;
        if (from != modal && !raised) {
            bringForward(modal, p, from);
            return;
        }
        // Reached for itself (xfwm4 keeps the focus on a shaded question), or
        // only raised: forward if it is out of reach, and asked once until it
        // is seen back or the player acts again, where a window manager would not.
        if (!p.shaded)
            broughtBack_ = false;
        else if (!std::exchange(broughtBack_, true))
            bringForward(modal, p, from);
    }

    void bringForward(xcb_window_t modal, const Place &p, xcb_window_t from)
    {
        constexpr uint32_t kFromApplication = 1;
        if (p.shaded)
            places_.unshade(modal);
        tellWindowManager(connection_, modal, atom(Atom::NetActiveWindow), {kFromApplication, userTime_, from});
        xcb_flush(connection_);
    }

    // The window an event reached for, or none. Remembers the player's time.
    xcb_window_t reachFrom(const xcb_generic_event_t *event, bool &pressed, bool &raised)
    {
        auto press = [&](xcb_timestamp_t time, xcb_window_t window) {
            userTime_ = time;
            broughtBack_ = false;
            pressed = true;
            return window;
        };
        switch (event->response_type & 0x7f) {
        case XCB_BUTTON_PRESS:
        case XCB_KEY_PRESS: {
            // Both events have the same layout.
            const auto *e = reinterpret_cast<const xcb_button_press_event_t *>(event);
            return press(e->time, e->event);
        }
        case XCB_GE_GENERIC: {
            // Qt takes the mouse through XInput 2: a click comes as its event.
            // A window manager that keeps the focus on a modal window (xfwm4)
            // gives the clicked window nothing else.
            const auto *e = reinterpret_cast<const xcb_input_button_press_event_t *>(event);
            if (!inputOpcode_ || e->extension != inputOpcode_ || e->event_type != XCB_INPUT_BUTTON_PRESS)
                return XCB_NONE;
            return press(e->time, e->event);
        }
        case XCB_PROPERTY_NOTIFY: {
            // Activating a window whose modal window keeps the focus (xfwm4,
            // for a question) only raises them: one of ours on top of the
            // stack counts as reached for.
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (change->window != rootOf(connection_) || change->atom != atom(Atom::NetClientListStacking)
                || !QApplication::activeModalWidget())
                return XCB_NONE;
            const QList<uint32_t> stack =
                platform::property(connection_, change->window, change->atom, XCB_ATOM_WINDOW);
            raised = true;
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
            return press(client->data.data32[1], client->window);
        }
        default:
            return XCB_NONE;
        }
    }

    xcb_connection_t *connection_;
    WindowPlaces places_;
    State state_ = State::Together;
    xcb_window_t modal_ = XCB_NONE;             // the modal window the group was last seen with
    QSet<xcb_window_t> withdrawn_;              // modal windows the program has withdrawn
    xcb_window_t activateWhenShown_ = XCB_NONE; // brought back, to be made active once shown
    QHash<xcb_window_t, Origin> at_;            // where the windows were, last seen together
    QHash<xcb_window_t, uint32_t> moving_;      // asked to a desktop, the window manager not yet seen to act
    xcb_timestamp_t userTime_ = XCB_CURRENT_TIME;
    xcb_timestamp_t lastTime_ = XCB_CURRENT_TIME; // of the last property change seen
    bool regroupQueued_ = false;
    xcb_window_t probes_[2] = {}; // asked their frames' extents after a request, to learn it was answered
    bool iconAsked_ = false;      // the main window, withdrawn, asked back as an icon
    bool iconPending_ = false;    // and neither seen minimised nor answered for
    bool iconShown_ = false;      // and shown meanwhile, not yet minimised
    bool modalShown_ = false;     // the modal window seen in view since it opened or was brought back
    bool desktopChanged_ = false; // the current desktop changed since the last regrouping
    bool modalLeft_ = false;      // the modal window unmapped, not by the program, since then
    bool mainLeft_ = false;       // the main window unmapped since then
    bool mainUnmapped_ = false;   // since it was asked to minimise
    bool broughtBack_ = false;    // asked forward since the player's last press or close, not yet seen back
    uint8_t inputOpcode_;
};

} // namespace

void keepWindowsTogether()
{
    if (xcb_connection_t *connection = x11Connection()) {
        static WindowGroup group(connection);
        QCoreApplication::instance()->installEventFilter(&group);
    }
}

} // namespace platform
