#include "titlebar.h"

#include "ltrtext.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace platform {

namespace {
constexpr int kHeight = 26; // logical pixels
}

bool drawsOwnTitleBar()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

TitleBar::TitleBar(QWidget *window) : QWidget(window), close_(new QToolButton(this))
{
    setObjectName(QStringLiteral("titleBar"));
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    close_->setObjectName(QStringLiteral("closeBox"));
    close_->setAccessibleName(QString::fromUtf8("סגירה"));
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setFocusPolicy(Qt::NoFocus); // the windows' tab order stays as designed
    close_->setGeometry(0, 0, kHeight, kHeight);
    // Like a window manager's close: the window decides what closing means.
    connect(close_, &QToolButton::clicked, window, &QWidget::close);
    window->installEventFilter(this);
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool active = window()->isActiveWindow();
    painter.fillRect(rect(), palette().color(active ? QPalette::Highlight : QPalette::Mid));
    painter.setPen(palette().color(active ? QPalette::HighlightedText : QPalette::Window));
    controls::drawText(painter, rect().adjusted(kHeight, 4, -kHeight, 0), Qt::AlignHCenter, window()->windowTitle(),
                       controls::Wrap::SingleLine);
}

void TitleBar::resizeEvent(QResizeEvent *)
{
    close_->move(width() - close_->width(), 0); // at the right end, where window managers put it
}

void TitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}

bool TitleBar::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ActivationChange)
        update();
    else if (event->type() == QEvent::Resize && overlaid_)
        setGeometry(0, 0, window()->width(), height());
    return false;
}

namespace {

// Lays out in `holder` the title bar of its window above `below`.
void stackBelowTitleBar(QWidget *holder, QWidget *below)
{
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new TitleBar(holder->window()));
    layout->addWidget(below);
}

} // namespace

QWidget *titleBarAbove(QWidget *window, QWidget *below)
{
    auto *holder = new QWidget(window);
    stackBelowTitleBar(holder, below);
    return holder;
}

void putTitleBarOver(QWidget *window)
{
    auto *bar = new TitleBar(window);
    bar->overlaid_ = true;
    window->setContentsMargins(0, kHeight, 0, 0);
}

QWidget *withTitleBar(QWidget *window)
{
    if (!drawsOwnTitleBar())
        return window;
    auto *client = new QWidget(window);
    stackBelowTitleBar(window, client);
    return client;
}

} // namespace platform
