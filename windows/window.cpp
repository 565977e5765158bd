#include "window.h"

#include "taskbar.h"
#include "twips.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace windows {

namespace {

void centre(QWidget *window)
{
    QRect frame(QPoint(), window->size().grownBy(window->windowHandle()->frameMargins()));
    frame.moveCenter(window->screen()->geometry().center());
    window->move(frame.topLeft());
}

// A window manager frames a window only once it is shown; centre it again,
// frame included, as soon as the frame is known. Without a window manager no
// frame ever comes, so a few looks are enough.
class CentreWhenFramed : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
        case QEvent::Move:
        case QEvent::WindowActivate:
            break;
        default:
            return false;
        }
        auto *window = static_cast<QWidget *>(watched);
        const bool framed = !window->windowHandle()->frameMargins().isNull();
        if (framed || ++looks_ == kMaxLooks) {
            window->removeEventFilter(this);
            deleteLater();
        }
        if (framed)
            centre(window);
        return false;
    }

private:
    static constexpr int kMaxLooks = 20;
    int looks_ = 0;
};

void place(QWidget *window, const WindowProperties &props)
{
    const QRect screen = window->screen()->geometry();
    switch (props.placement) {
    case Placement::CentreScreen:
        // Some platforms know the frame before the window shows.
        window->winId();
        centre(window);
        window->installEventFilter(new CentreWhenFramed(window));
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

void applyProperties(QWidget *window, QWidget *client, const WindowProperties &props)
{
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
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
}

} // namespace windows
