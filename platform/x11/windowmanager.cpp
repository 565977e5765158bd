// What the program tells an X11 window manager beyond what Qt does.
#include "windowmanager.h"

#include "x11.h"

#include <QApplication>
#include <QWidget>

#include <QPointer>

namespace platform {

namespace {

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
        const xcb_atom_t motif = atom(connection, Atom::MotifWmHints);
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
    const xcb_atom_t state = atom(connection, Atom::NetWmState);
    const xcb_atom_t skip = atom(connection, Atom::NetWmStateSkipTaskbar);
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
    if (!supports(connection, Atom::NetRequestFrameExtents))
        return;
    tellWindowManager(connection, xcb_window_t(window->winId()), atom(connection, Atom::NetRequestFrameExtents), {});
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
    const xcb_atom_t extents = atom(connection, Atom::NetFrameExtents);
    if (const QList<uint32_t> lrtb = property(connection, xcb_window_t(window->winId()), extents, XCB_ATOM_CARDINAL);
        lrtb.size() == 4)
        return logicalFrame(lrtb, window);
    return {};
}

namespace {

// Windows to be shown keeping their centre as they are framed.
QList<QPointer<QWidget>> &keepingCentre()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

// Qt writes a window's size hints, its gravity included, as it maps it, and
// the window manager reads them as it frames it: centre gravity replaces
// Qt's in between, while the server is held. One straight run: no event is
// handled, nothing else runs, between the grab and its release.
void showWithCentreGravity(xcb_connection_t *connection, QWidget *window)
{
    constexpr uint32_t kGravityFlag = 1U << 9, kCentre = 5; // PWinGravity, CenterGravity
    constexpr qsizetype kGravity = 17;                      // its place in WM_SIZE_HINTS
    const auto id = xcb_window_t(window->winId());
    xcb_grab_server(connection);
    window->show();
    QList<uint32_t> hints = property(connection, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    if (hints.size() > kGravity) {
        hints[0] |= kGravityFlag;
        hints[kGravity] = kCentre;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                            uint32_t(hints.size()), hints.constData());
    }
    xcb_ungrab_server(connection);
}

} // namespace

void showNow(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (connection && keepingCentre().removeAll(window))
        showWithCentreGravity(connection, window);
    else
        window->show();
    // The window manager gets to work at once, not once the program has
    // drawn ahead what it will show.
    if (connection)
        xcb_flush(connection);
}

void keepCentreWhenFramed(QWidget *window)
{
    if (x11Connection() && !keepingCentre().contains(window))
        keepingCentre().append(window);
}

namespace {

// Waits for one window to be framed, then calls back once and goes. Framed
// means mapped with _NET_FRAME_EXTENTS set: an answer to the request for the
// frame may come after all, before the window is framed, and be an estimate.
class FrameWatcher
{
public:
    FrameWatcher(xcb_connection_t *connection, QWidget *window, std::function<void(QMargins)> framed)
        : connection_(connection), window_(window), id_(xcb_window_t(window->winId())),
          extents_(atom(connection, Atom::NetFrameExtents)), framed_(std::move(framed)),
          watch_(watchEvents({XCB_MAP_NOTIFY, XCB_PROPERTY_NOTIFY},
                             [this](const xcb_generic_event_t *event) { seen(event); }))
    {}

private:
    void seen(const xcb_generic_event_t *event)
    {
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            if (reinterpret_cast<const xcb_map_notify_event_t *>(event)->window != id_)
                return;
            mapped_ = true;
        } else {
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (change->window != id_ || change->atom != extents_)
                return;
        }
        const QList<uint32_t> lrtb = property(connection_, id_, extents_, XCB_ATOM_CARDINAL);
        if (!mapped_ || lrtb.size() != 4)
            return;
        // Gone before it is called back: the callback may watch for events of its own.
        stopWatching(watch_);
        const std::unique_ptr<FrameWatcher> self(this);
        if (window_)
            framed_(logicalFrame(lrtb, window_));
    }

    xcb_connection_t *connection_;
    QPointer<QWidget> window_;
    xcb_window_t id_;
    xcb_atom_t extents_;
    std::function<void(QMargins)> framed_;
    int watch_;
    bool mapped_ = false;
};

} // namespace

bool whenFramed(QWidget *window, std::function<void(QMargins)> framed)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !supports(connection, Atom::NetFrameExtents))
        return false;
    new FrameWatcher(connection, window, std::move(framed));
    return true;
}

} // namespace platform
