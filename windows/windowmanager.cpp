#include "windowmanager.h"

#ifdef VELMORA_X11

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <xcb/xcb.h>

#include <memory>

namespace windows {

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

} // namespace

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

namespace {

constexpr char kFrameAsked[] = "velmoraFrameAsked";

// Only a window manager that says it answers is asked; no window manager, no frame.
bool answersFrameRequests(xcb_connection_t *connection)
{
    const xcb_atom_t request = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    return property(connection, rootOf(connection), internAtom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM)
        .contains(request);
}

} // namespace

void askForFrame(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !answersFrameRequests(connection))
        return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    window->setProperty(kFrameAsked, true);
}

QMargins frameBeforeMapping(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return {};
    if (!window->property(kFrameAsked).toBool())
        askForFrame(window);
    if (!window->property(kFrameAsked).toBool())
        return {};

    // The answer is a property on our window, usually there within a round trip
    // or two; a window manager too busy to answer in time leaves the frame unknown.
    const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");
    const auto id = xcb_window_t(window->winId());
    const QDeadlineTimer deadline(1000);
    do {
        const QList<uint32_t> lrtb = property(connection, id, extents, XCB_ATOM_CARDINAL);
        if (lrtb.size() == 4) {
            // Device pixels, where Qt places windows in logical ones.
            const qreal ratio = window->devicePixelRatioF();
            auto logical = [ratio](uint32_t device) { return qRound(device / ratio); };
            return QMargins(logical(lrtb[0]), logical(lrtb[2]), logical(lrtb[1]), logical(lrtb[3]));
        }
        QThread::usleep(200);
    } while (!deadline.hasExpired());
    return {};
}

class KeepModalInSight::Filter : public QAbstractNativeEventFilter
{
public:
    Filter(xcb_connection_t *connection, xcb_window_t modal)
        : connection_(connection), modal_(modal), wmState_(internAtom(connection, "WM_STATE"))
    {
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_FOCUS_IN)
            return false;
        const auto *focus = static_cast<const xcb_focus_in_event_t *>(message);
        // Focus moving inside a window, or following the pointer, is no activation.
        if (focus->event == modal_ || focus->detail == XCB_NOTIFY_DETAIL_INFERIOR
            || focus->detail == XCB_NOTIFY_DETAIL_POINTER)
            return false;
        // Read from the server: Qt learns of the minimising only later. Mapping
        // a minimised window is how a client asks for it back.
        constexpr uint32_t kIconic = 3;
        const QList<uint32_t> state = property(connection_, modal_, wmState_, wmState_);
        if (!state.isEmpty() && state.front() == kIconic) {
            xcb_map_window(connection_, modal_);
            xcb_flush(connection_);
        }
        return false;
    }

private:
    xcb_connection_t *connection_;
    xcb_window_t modal_;
    xcb_atom_t wmState_;
};

KeepModalInSight::KeepModalInSight(QWidget *modal)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    filter_ = std::make_unique<Filter>(connection, xcb_window_t(modal->winId()));
    QCoreApplication::instance()->installNativeEventFilter(filter_.get());
}

KeepModalInSight::~KeepModalInSight()
{
    if (filter_)
        QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
}

} // namespace windows

#else // built without xcb: nothing to say beyond what Qt says

#include <QWidget>

namespace windows {

void keepOutOfTaskbar(QWidget *) {}
void askForFrame(QWidget *) {}
QMargins frameBeforeMapping(QWidget *) { return {}; }

class KeepModalInSight::Filter
{
};
KeepModalInSight::KeepModalInSight(QWidget *) {}
KeepModalInSight::~KeepModalInSight() = default;

} // namespace windows

#endif
