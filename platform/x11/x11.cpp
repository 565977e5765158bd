#include "x11.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <bitset>
#include <vector>

namespace platform {

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != u"xcb")
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

namespace {

// The atoms' names, in the order of Atom. A round trip to the server costs a
// few tenths of a millisecond, more while it is busy with the start-up of
// this program and its window manager: they are asked for together, once, as
// the program starts, and the answers read on first use, by when they have
// arrived.
constexpr std::array<const char *, size_t(Atom::Count)> kAtomNames = {
    "WM_CHANGE_STATE",
    "WM_DELETE_WINDOW",
    "WM_PROTOCOLS",
    "WM_STATE",
    "_MOTIF_WM_HINTS",
    "_NET_ACTIVE_WINDOW",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_CURRENT_DESKTOP",
    "_NET_FRAME_EXTENTS",
    "_NET_REQUEST_FRAME_EXTENTS",
    "_NET_SHOWING_DESKTOP",
    "_NET_SUPPORTED",
    "_NET_WM_DESKTOP",
    "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_STATE_SHADED",
    "_NET_WM_STATE_SKIP_TASKBAR",
};

struct Atoms
{
    enum class State { NotAsked, Asked, Known } state = State::NotAsked;
    std::array<xcb_intern_atom_cookie_t, size_t(Atom::Count)> cookies{};
    std::array<xcb_atom_t, size_t(Atom::Count)> atoms{};
};
Atoms atoms;

// One native event filter for the program: each event's type is read once,
// and it goes only to those that watch its kind.
class Dispatcher : public QAbstractNativeEventFilter
{
public:
    int watch(std::initializer_list<uint8_t> kinds, EventHandler handler)
    {
        Watch w{++lastId_, {}, std::make_shared<EventHandler>(std::move(handler))};
        for (uint8_t kind : kinds)
            w.kinds.set(kind & 0x7f);
        watches_.push_back(std::move(w));
        return lastId_;
    }

    void stop(int id)
    {
        for (Watch &w : watches_)
            if (w.id == id)
                w.handler.reset(); // removed once no event is being handed out
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const uint8_t kind = event->response_type & 0x7f;
        ++depth_;
        // By index, and each handler held while it runs: a handler may watch or stop.
        for (size_t i = 0; i < watches_.size(); ++i) {
            if (!watches_[i].kinds.test(kind))
                continue;
            if (const std::shared_ptr<EventHandler> handler = watches_[i].handler)
                (*handler)(event);
        }
        if (--depth_ == 0)
            std::erase_if(watches_, [](const Watch &w) { return !w.handler; });
        return false;
    }

private:
    struct Watch
    {
        int id;
        std::bitset<128> kinds;
        std::shared_ptr<EventHandler> handler;
    };
    std::vector<Watch> watches_;
    int lastId_ = 0;
    int depth_ = 0;
};

Dispatcher &dispatcher()
{
    static Dispatcher *installed = [] {
        auto *d = new Dispatcher;
        QCoreApplication::instance()->installNativeEventFilter(d);
        return d;
    }();
    return *installed;
}

} // namespace

void askForAtoms(xcb_connection_t *connection)
{
    if (atoms.state != Atoms::State::NotAsked)
        return;
    for (size_t i = 0; i < kAtomNames.size(); ++i)
        atoms.cookies[i] = xcb_intern_atom(connection, 0, uint16_t(qstrlen(kAtomNames[i])), kAtomNames[i]);
    xcb_flush(connection);
    atoms.state = Atoms::State::Asked;
}

xcb_atom_t atom(xcb_connection_t *connection, Atom which)
{
    if (atoms.state != Atoms::State::Known) {
        askForAtoms(connection);
        for (size_t i = 0; i < kAtomNames.size(); ++i) {
            ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, atoms.cookies[i], nullptr), free);
            atoms.atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        atoms.state = Atoms::State::Known;
    }
    return atoms.atoms[size_t(which)];
}

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

bool supports(xcb_connection_t *connection, Atom which)
{
    return property(connection, rootOf(connection), atom(connection, Atom::NetSupported), XCB_ATOM_ATOM)
        .contains(atom(connection, which));
}

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

int watchEvents(std::initializer_list<uint8_t> kinds, EventHandler handler)
{
    return dispatcher().watch(kinds, std::move(handler));
}

void stopWatching(int watch)
{
    dispatcher().stop(watch);
}

} // namespace platform
