#include "window.h"

#include "accessibility.h"
#include "faces.h"
#include "twips.h"
#include "windowmanager.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace windows {

namespace {

// The outer window, frame included, centred on the screen.
void centreWithFrame(QWidget *window, QMargins frame)
{
    // Its fixed size: a window manager's answer may arrive while the window
    // still has another.
    const QSize size = window->minimumSize() == window->maximumSize() ? window->minimumSize() : window->size();
    QRect outer(QPoint(), size.grownBy(frame));
    outer.moveCenter(window->screen()->geometry().center());
    // setGeometry places the client area, not the frame.
    window->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size));
}

// Where the window manager says what its frame will be before the window maps
// (X11), the client area is placed once, at its final place: a window manager
// would otherwise move it again once framed, sometimes after any correction of
// ours. One that does not answer in time (fluxbox never does) gets the window
// centred without a frame and is asked to keep its centre where it is as it
// frames it, so that it first shows it centred, frame included; once it has
// framed it, the window is centred with the frame should it not be.
void centre(QWidget *window)
{
    if (const std::optional<QMargins> frame = platform::frameBeforeMapping(window)) {
        centreWithFrame(window, *frame);
        return;
    }
    centreWithFrame(window, {});
    platform::keepCentreWhenFramed(window);
    platform::whenFramed(window, [window](QMargins frame) { centreWithFrame(window, frame); });
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
        window->setGeometry(QRect(screen.topLeft() + controls::toPx(props.left, props.top), window->size()));
        break;
    case Placement::SystemDefault:
        break;
    }
}

// A menu bar a whole number of device pixels tall (19 logical pixels are 28.5
// at 1.5x): the client area below it then starts on a device pixel, and the
// window, a whole number of device pixels tall, holds the client's last row.
void onWholeDevicePixels(QWidget *menuBar)
{
    const qreal ratio = menuBar->devicePixelRatioF();
    const int natural = menuBar->sizeHint().height();
    for (int height = natural; height < natural + 4; ++height) {
        if (std::abs(height * ratio - std::round(height * ratio)) < 1e-6) {
            menuBar->setFixedHeight(height);
            return;
        }
    }
}

} // namespace

void applyProperties(QWidget *window, QWidget *client, const WindowProperties &props)
{
    // The window manager answers while the rest is set up.
    if (props.placement == Placement::CentreScreen)
        platform::askForFrame(window);
    window->setObjectName(QString::fromLatin1(props.name));
    window->setWindowTitle(QString::fromUtf8(props.caption));
    controls::nameInReadingOrder(window, window->windowTitle());
    if (props.back.set) {
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, props.back.toQColor());
        client->setPalette(palette);
        client->setAutoFillBackground(true);
    }
    client->setFont(controls::windowFont());
    client->setFixedSize(controls::sizeToPx(props.clientWidth, props.clientHeight));
    if (client != window) {
        // The menu bar sits above the client area and adds to the window's height.
        if (QWidget *menuBar = window->layout()->menuBar())
            onWholeDevicePixels(menuBar);
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
        window->adjustSize();
    }
    // Qt asks for a resize increment of one logical pixel, two device pixels
    // at 1.5x and 1.75x: window managers then round an odd height or width
    // down to an even one, and the window loses its last row or column. With
    // its own size as the base, no step is taken at all.
    window->setBaseSize(window->size());
    if (!props.taskbar)
        platform::keepOutOfTaskbar(window);
    place(window, props);
}

} // namespace windows
