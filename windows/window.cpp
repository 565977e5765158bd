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

void place(QWidget *window, const WindowSpec &spec)
{
    const QRect screen = window->screen()->geometry();
    switch (spec.placement) {
    case Placement::CentreScreen: {
        // The frame's size where the platform knows it before the window shows.
        window->winId();
        QRect frame(QPoint(), window->size().grownBy(window->windowHandle()->frameMargins()));
        frame.moveCenter(screen.center());
        window->move(frame.topLeft());
        break;
    }
    case Placement::TopLeftCorner:
        window->move(screen.topLeft());
        break;
    case Placement::Fixed:
        // setGeometry places the client area, not the frame.
        window->setGeometry(QRect(screen.topLeft() + twips::toPx(spec.left, spec.top), window->size()));
        break;
    case Placement::SystemDefault:
        break;
    }
}

class HideWatcher : public QObject
{
public:
    explicit HideWatcher(QEventLoop &loop) : loop_(loop) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            loop_.quit();
        return false;
    }

private:
    QEventLoop &loop_;
};

} // namespace

void applySpec(QWidget *window, QWidget *client, const WindowSpec &spec)
{
    window->setObjectName(QString::fromLatin1(spec.name));
    window->setWindowTitle(QString::fromUtf8(spec.caption));
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint);
    if (spec.back.set) {
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, spec.back.toQColor());
        client->setPalette(palette);
        client->setAutoFillBackground(true);
    }
    client->setFixedSize(twips::sizeToPx(spec.clientWidth, spec.clientHeight));
    if (client != window) {
        // The menu bar sits above the client area and adds to the window's height.
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
        window->adjustSize();
    }
    if (!spec.taskbar)
        keepOutOfTaskbar(window);
    place(window, spec);
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
