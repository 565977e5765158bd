// What the program tells an X11 window manager beyond what Qt does.
#include "windowmanager.h"

#include "x11.h"

#include <QApplication>
#include <QWidget>

#include <QAbstractNativeEventFilter>
#include <QPointer>

namespace platform {

namespace {

// Whether the window manager lists this among what it supports.
bool supports(xcb_connection_t *connection, const char *name)
{
    return property(connection, rootOf(connection), internAtom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM)
        .contains(internAtom(connection, name));
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
    if (!connection || framesAsked().contains(window))
        return;
    // Only a window manager that says it answers is asked.
    if (!supports(connection, "_NET_REQUEST_FRAME_EXTENTS"))
        return;
    tellWindowManager(connection, xcb_window_t(window->winId()), internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS"),
                      {});
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

class CentreGravity;

// Windows whose centre gravity waits to replace Qt's, the server held meanwhile.
QList<QPointer<CentreGravity>> &gravityPending()
{
    static QList<QPointer<CentreGravity>> pending;
    return pending;
}

// Qt writes a window's size hints, gravity included, as it maps it, and the
// window manager reads them as it frames it: the server is held from just
// before Qt maps the window until the gravity set here has replaced Qt's,
// as soon as the program next sends its requests or waits for events.
class CentreGravity : public QObject
{
public:
    CentreGravity(xcb_connection_t *connection, QWidget *window)
        : QObject(window), connection_(connection), id_(xcb_window_t(window->winId()))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        // Show comes before Qt maps the window; what is queued now runs once it has.
        if (event->type() == QEvent::Show && !held_) {
            held_ = true;
            xcb_grab_server(connection_);
            xcb_flush(connection_);
            gravityPending().append(this);
            QMetaObject::invokeMethod(this, &CentreGravity::setGravity, Qt::QueuedConnection);
        }
        return false;
    }

    void setGravity()
    {
        if (!gravityPending().removeAll(this))
            return;
        constexpr uint32_t kGravityFlag = 1U << 9, kCentre = 5; // PWinGravity, CenterGravity
        constexpr qsizetype kGravity = 17;                      // its place in WM_SIZE_HINTS
        QList<uint32_t> hints = platform::property(connection_, id_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
        if (hints.size() > kGravity) {
            hints[0] |= kGravityFlag;
            hints[kGravity] = kCentre;
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id_, XCB_ATOM_WM_NORMAL_HINTS,
                                XCB_ATOM_WM_SIZE_HINTS, 32, uint32_t(hints.size()), hints.constData());
        }
        xcb_ungrab_server(connection_);
        xcb_flush(connection_);
        deleteLater();
    }

private:
    xcb_connection_t *connection_;
    xcb_window_t id_;
    bool held_ = false;
};

} // namespace

void sendRequestsNow()
{
    // A window just shown has been mapped: the server is let go at once, not
    // once the program has drawn ahead what it will show.
    for (const QPointer<CentreGravity> &gravity : QList(gravityPending()))
        if (gravity)
            gravity->setGravity();
    if (xcb_connection_t *connection = x11Connection())
        xcb_flush(connection);
}

void keepCentreWhenFramed(QWidget *window)
{
    if (xcb_connection_t *connection = x11Connection())
        new CentreGravity(connection, window);
}

namespace {

// Waits for one window to be framed, then calls back once and goes. Framed
// means mapped with _NET_FRAME_EXTENTS set: an answer to the request for the
// frame may come after all, before the window is framed, and be an estimate.
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
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        switch (event->response_type & 0x7f) {
        case XCB_MAP_NOTIFY:
            if (reinterpret_cast<const xcb_map_notify_event_t *>(event)->window != id_)
                return false;
            mapped_ = true;
            break;
        case XCB_PROPERTY_NOTIFY: {
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (change->window != id_ || change->atom != extents_)
                return false;
            break;
        }
        default:
            return false;
        }
        const QList<uint32_t> lrtb = property(connection_, id_, extents_, XCB_ATOM_CARDINAL);
        if (!mapped_ || lrtb.size() != 4)
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
    bool mapped_ = false;
};

} // namespace

bool whenFramed(QWidget *window, std::function<void(QMargins)> framed)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !supports(connection, "_NET_FRAME_EXTENTS"))
        return false;
    QCoreApplication::instance()->installNativeEventFilter(new FrameWatcher(connection, window, std::move(framed)));
    return true;
}

} // namespace platform
