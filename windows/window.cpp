#include "window.h"

#include "titlebar.h"
#include "twips.h"
#include "windowmanager.h"

#include <QEvent>
#include <QEventLoop>
#include <QApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace windows {

namespace {

// The outer window, frame included, centred on the screen: the frame is
// known before the window maps where the window manager can say (X11), so the
// client area is placed once, at its final place. The window manager would
// otherwise move it again once framed, sometimes after any correction of ours.
void centre(QWidget *window)
{
    const QMargins frame = frameBeforeMapping(window);
    QRect outer(QPoint(), window->size().grownBy(frame));
    outer.moveCenter(window->screen()->geometry().center());
    // setGeometry places the client area, not the frame.
    window->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), window->size()));
}

void place(QWidget *window, const WindowProperties &props)
{
    const QRect screen = window->screen()->geometry();
    switch (props.placement) {
    case Placement::CentreScreen:
        centre(window);
        break;
    case Placement::TopLeftCorner:
        window->move(screen.topLeft());
        break;
    case Placement::Fixed:
        // setGeometry places the client area, not the frame.
        window->setGeometry(QRect(screen.topLeft() + twips::toPx(props.left, props.top), window->size()));
        break;
    case Placement::SystemDefault:
        break;
    }
}

// Ends a modal show when the program hides the window; a window that the user
// minimizes stays modal.
class HideWatcher : public QObject
{
public:
    explicit HideWatcher(QEventLoop &loop) : loop_(loop) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            loop_.quit();
        return false;
    }

private:
    QEventLoop &loop_;
};

} // namespace

Qt::WindowFlags windowFlags()
{
    // Qt drops the frameless hint when title-bar hints come with it.
    return drawsOwnTitleBar() ? Qt::Window | Qt::FramelessWindowHint : kWindowFlags;
}

void applyProperties(QWidget *window, QWidget *client, const WindowProperties &props)
{
    // The window manager answers while the rest is set up.
    if (props.placement == Placement::CentreScreen)
        askForFrame(window);
    window->setObjectName(QString::fromLatin1(props.name));
    window->setWindowTitle(QString::fromUtf8(props.caption));
    if (props.back.set) {
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, props.back.toQColor());
        client->setPalette(palette);
        client->setAutoFillBackground(true);
    }
    client->setFixedSize(twips::sizeToPx(props.clientWidth, props.clientHeight));
    if (client != window) {
        // The menu bar sits above the client area and adds to the window's height.
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
        window->adjustSize();
    }
    if (!props.taskbar)
        keepOutOfTaskbar(window);
    place(window, props);
}

void showModal(QWidget *window)
{
    QPointer<QWidget> guard(window);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window->installEventFilter(&watcher);
    const KeepModalInSight keepInSight(window);
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->setWindowModality(Qt::ApplicationModal);
    // A Wayland compositor places every window itself, and a new one wherever
    // it starts new windows; naming the window the player was in as its parent
    // brings it up over that one. Elsewhere it stays owned by no window.
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        if (QWidget *from = QApplication::activeWindow(); from && from != window) {
            window->winId();
            window->windowHandle()->setTransientParent(from->windowHandle());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
}

} // namespace windows
