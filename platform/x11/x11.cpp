#include "x11.h"

#include <QGuiApplication>
#include <QHash>
#include <array>
#include <iterator>

namespace platform {

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != u"xcb")
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

namespace {

// Every atom the program uses. A round trip to the server costs a few tenths
// of a millisecond, more while it is busy with the start-up of this program
// and its window manager: they are asked for together, once, as the program
// starts, and the answers read on first use, by when they have arrived.
constexpr const char *kAtoms[] = {
    "WM_DELETE_WINDOW",
    "WM_PROTOCOLS",
    "WM_STATE",
    "_MOTIF_WM_HINTS",
    "_NET_ACTIVE_WINDOW",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_CURRENT_DESKTOP",
    "_NET_FRAME_EXTENTS",
    "_NET_REQUEST_FRAME_EXTENTS",
    "_NET_SUPPORTED",
    "_NET_WM_DESKTOP",
    "_NET_WM_STATE",
    "_NET_WM_STATE_SHADED",
    "_NET_WM_STATE_SKIP_TASKBAR",
};

constexpr size_t kOwn = std::size(kAtoms);

// The program's own atoms, kept beside their names: looking one up takes no
// allocation (the modal windows' keeper does it for every event it sees).
struct OwnAtoms
{
    enum class State { NotAsked, Asked, Known } state = State::NotAsked;
    std::array<xcb_intern_atom_cookie_t, kOwn> cookies{};
    std::array<xcb_atom_t, kOwn> atoms{};
};
OwnAtoms own;

} // namespace

void askForAtoms(xcb_connection_t *connection)
{
    if (own.state != OwnAtoms::State::NotAsked)
        return;
    for (size_t i = 0; i < kOwn; ++i)
        own.cookies[i] = xcb_intern_atom(connection, 0, uint16_t(qstrlen(kAtoms[i])), kAtoms[i]);
    xcb_flush(connection);
    own.state = OwnAtoms::State::Asked;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    if (own.state != OwnAtoms::State::Known) {
        askForAtoms(connection);
        for (size_t i = 0; i < kOwn; ++i) {
            ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, own.cookies[i], nullptr), free);
            own.atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        own.state = OwnAtoms::State::Known;
    }
    for (size_t i = 0; i < kOwn; ++i)
        if (qstrcmp(kAtoms[i], name) == 0)
            return own.atoms[i];
    static QHash<QByteArray, xcb_atom_t> others;
    if (const auto known = others.constFind(name); known != others.cend())
        return *known;
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr), free);
    return others[name] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
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

} // namespace platform
