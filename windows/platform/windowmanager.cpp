#include "windowmanager.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace platform {

void showNoTitleBarIcon(QWidget *window)
{
    // A clear icon, at the sizes title bars draw: openbox, xfwm4 and fluxbox
    // show nothing of it. (A null icon would fall back to the program's.)
    QIcon clear;
    for (int size : {16, 24, 32}) {
        QPixmap nothing(size, size);
        nothing.fill(Qt::transparent);
        clear.addPixmap(nothing);
    }
    window->setWindowIcon(clear);
    leaveOutWindowMenu(window);
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

void comeUpOverActiveWindow(QWidget *window)
{
    if (!onWayland())
        return;
    if (QWidget *from = QApplication::activeWindow(); from && from != window) {
        window->winId();
        window->windowHandle()->setTransientParent(from->windowHandle());
    }
}

} // namespace platform

#ifdef VELMORA_X11

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <xcb/xcb.h>
// xkb.h names a member "explicit", a keyword of C++.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#ifdef __clang__
#pragma clang diagnostic pop
#endif

#include <memory>

namespace platform {

namespace {

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != u"xcb")
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&free)>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr), free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a window property, empty when it is not set.
QList<uint32_t> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr), free);
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return QList<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

xcb_window_t rootOf(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// A request to the window manager about `window`, as the EWMH has clients send them.
void tellWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                       std::initializer_list<uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
}

// Device pixels, where Qt places windows in logical ones.
QMargins logicalFrame(const QList<uint32_t> &lrtb, const QWidget *window)
{
    const qreal ratio = window->devicePixelRatioF();
    auto logical = [ratio](uint32_t device) { return qRound(device / ratio); };
    return QMargins(logical(lrtb[0]), logical(lrtb[2]), logical(lrtb[1]), logical(lrtb[3]));
}

// Windows whose frame was asked for, and not yet read.
QList<QPointer<QWidget>> &framesAsked()
{
    static QList<QPointer<QWidget>> asked;
    return asked;
}

} // namespace

namespace {

// icewm draws a fully clear icon black, but leaves out the window-menu button,
// which shows the icon, when the Motif hints name no menu. Qt writes its hints
// when it creates the window; they are changed as the window is about to map.
class NoWindowMenu : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        xcb_connection_t *connection = x11Connection();
        if (event->type() != QEvent::Show || !connection)
            return false;
        constexpr uint32_t kDecorations = 1U << 1, kMenu = 1U << 4; // Motif's flag and decoration bits
        const auto id = xcb_window_t(static_cast<QWidget *>(watched)->winId());
        const xcb_atom_t motif = internAtom(connection, "_MOTIF_WM_HINTS");
        QList<uint32_t> hints = platform::property(connection, id, motif, motif);
        if (hints.size() != 5 || !(hints[0] & kDecorations))
            return false;
        hints[2] &= ~kMenu;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motif, motif, 32, 5, hints.constData());
        xcb_flush(connection);
        return false;
    }
};

} // namespace

void leaveOutWindowMenu(QWidget *window)
{
    window->installEventFilter(new NoWindowMenu(window));
}

void keepOutOfTaskbar(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    // Set on the unmapped window; Qt keeps the atoms it finds there when it maps it.
    const auto id = xcb_window_t(window->winId());
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(connection);
}

void askForFrame(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // Only a window manager that says it answers is asked.
    const xcb_atom_t request = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (!property(connection, rootOf(connection), internAtom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM)
             .contains(request))
        return;
    tellWindowManager(connection, xcb_window_t(window->winId()), request, {});
    xcb_flush(connection);
    framesAsked().append(window);
}

std::optional<QMargins> frameBeforeMapping(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return {};
    if (!framesAsked().contains(window))
        askForFrame(window);
    if (!framesAsked().removeAll(window))
        return {};

    // The answer is a property on our window. A window manager that answers
    // does so while the window is being set up (openbox, xfwm4 and icewm have
    // answered by now, with both cores busy); one that says it answers and
    // does not (fluxbox) is not waited for: start-up never waits on it.
    const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");
    if (const QList<uint32_t> lrtb = property(connection, xcb_window_t(window->winId()), extents, XCB_ATOM_CARDINAL);
        lrtb.size() == 4)
        return logicalFrame(lrtb, window);
    return {};
}

namespace {

// Waits for _NET_FRAME_EXTENTS on one window, then calls back once and goes.
class FrameWatcher : public QAbstractNativeEventFilter
{
public:
    FrameWatcher(xcb_connection_t *connection, QWidget *window, std::function<void(QMargins)> framed)
        : connection_(connection), window_(window), id_(xcb_window_t(window->winId())),
          extents_(internAtom(connection, "_NET_FRAME_EXTENTS")), framed_(std::move(framed))
    {}

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_property_notify_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY || event->window != id_ || event->atom != extents_)
            return false;
        const QList<uint32_t> lrtb = property(connection_, id_, extents_, XCB_ATOM_CARDINAL);
        if (lrtb.size() != 4)
            return false;
        // Gone before it is called back: the callback may create filters of its own.
        std::unique_ptr<FrameWatcher> self(this);
        QCoreApplication::instance()->removeNativeEventFilter(this);
        if (window_)
            framed_(logicalFrame(lrtb, window_));
        return false;
    }

private:
    xcb_connection_t *connection_;
    QPointer<QWidget> window_;
    xcb_window_t id_;
    xcb_atom_t extents_;
    std::function<void(QMargins)> framed_;
};

} // namespace

void whenFramed(QWidget *window, std::function<void(QMargins)> framed)
{
    if (xcb_connection_t *connection = x11Connection())
        QCoreApplication::instance()->installNativeEventFilter(new FrameWatcher(connection, window, std::move(framed)));
}

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

namespace {

// Every key press and release of the connection, before Qt sees it (Qt may
// see a press only after the key's release has been read here).
class KeyWatcher : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        switch (key->response_type & 0x7f) {
        case XCB_KEY_PRESS:
            if (!down_.contains(key->detail)) {
                down_.insert(key->detail);
                QList<quint64> &times = freshPresses_[key->detail];
                times.append(key->time);
                if (times.size() > kRemembered)
                    times.removeFirst();
            }
            break;
        case XCB_KEY_RELEASE:
            down_.remove(key->detail);
            break;
        default:
            break;
        }
        return false;
    }

    bool wasUp(quint32 code, quint64 time) const { return freshPresses_.value(code).contains(time); }

private:
    static constexpr qsizetype kRemembered = 16; // far more presses than Qt ever has queued
    QSet<quint32> down_;
    QHash<quint32, QList<quint64>> freshPresses_;
};

KeyWatcher *keyWatcher = nullptr;

} // namespace

bool watchHeldKeys()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return false;
    const auto extension = xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION);
    ReplyPtr<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(connection, extension, nullptr), free);
    if (!use || !use->supported)
        return false;
    constexpr uint32_t kRealReleases = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    const auto cookie =
        xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, kRealReleases, kRealReleases, 0, 0, 0);
    ReplyPtr<xcb_xkb_per_client_flags_reply_t> reply(xcb_xkb_per_client_flags_reply(connection, cookie, nullptr), free);
    if (!reply || !(reply->value & kRealReleases))
        return false;
    if (!keyWatcher) {
        keyWatcher = new KeyWatcher;
        QCoreApplication::instance()->installNativeEventFilter(keyWatcher);
    }
    return true;
}

bool freshPress(quint32 nativeScanCode, quint64 time)
{
    return keyWatcher && keyWatcher->wasUp(nativeScanCode, time);
}

} // namespace platform

#else // built without xcb: nothing to say beyond what Qt says

namespace platform {

void keepOutOfTaskbar(QWidget *) {}
void leaveOutWindowMenu(QWidget *) {}
void askForFrame(QWidget *) {}
std::optional<QMargins> frameBeforeMapping(QWidget *)
{
    return {};
}
void whenFramed(QWidget *, std::function<void(QMargins)>) {}
void keepModalWindowsInReach() {}
bool watchHeldKeys()
{
    return false;
}
bool freshPress(quint32, quint64)
{
    return false;
}

} // namespace platform

#endif
