// The title bar the program draws on Wayland (see titlebar.h).
#include "titlebar.h"

#include "contrast.h"
#include "ltrtext.h"
#include "windowmanager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace platform {

namespace {

constexpr int kHeight = 32;    // logical pixels, its bottom line included
constexpr int kCloseSize = 28; // the close box's target, as large as the desktop's own

QColor mix(const QColor &a, const QColor &b, float t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// The desktop's colours, not a window's own (the windows colour their clients).
QPalette desktop()
{
    return QApplication::palette();
}

// The title and the cross: the desktop's text colour, softened on an inactive
// window only as far as the contrast allows.
QColor ink(bool active)
{
    const QPalette palette = desktop();
    const QColor back = palette.color(QPalette::Window), text = palette.color(QPalette::WindowText);
    // A theme with too faint a text: black or white instead.
    if (controls::contrast(text, back) < controls::kMinContrast)
        return controls::blackOrWhite({back});
    for (float t = active ? 0 : 0.4F; t > 0; t -= 0.05F)
        if (controls::contrast(mix(text, back, t), back) >= controls::kMinContrast)
            return mix(text, back, t);
    return text;
}

// A round button with a cross, shaded under the pointer and when pressed.
class CloseBox : public QAbstractButton
{
public:
    explicit CloseBox(QWidget *parent) : QAbstractButton(parent)
    {
        setAttribute(Qt::WA_Hover);
        setFixedSize(kCloseSize, kCloseSize);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor cross = ink(window()->isActiveWindow());
        const QColor back = desktop().color(QPalette::Window);
        if (isDown() || underMouse()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(mix(back, cross, isDown() ? 0.25F : 0.12F));
            painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
        painter.setPen(QPen(cross, 2, Qt::SolidLine, Qt::RoundCap));
        const QRectF arms = QRectF(0, 0, 10, 10).translated(QRectF(rect()).center() - QPointF(5, 5));
        painter.drawLine(arms.topLeft(), arms.bottomRight());
        painter.drawLine(arms.topRight(), arms.bottomLeft());
    }
};

// The window's title, moved by dragging it, and a close box: nothing else.
// Title and cross keep a contrast of at least 4.5:1 with the bar whether the
// window is active or not.
class TitleBar : public QWidget
{
public:
    explicit TitleBar(QWidget *window);
    bool overlaid = false; // over a layout of Qt's, following the window's width

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *close_;
};

bool drawsOwnTitleBar()
{
    return onWayland();
}

TitleBar::TitleBar(QWidget *window) : QWidget(window), close_(new CloseBox(this))
{
    setObjectName(QStringLiteral("titleBar"));
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The desktop's title font, not the font the window gives its controls.
    QFont title = QApplication::font();
    title.setBold(true);
    setFont(title);
    close_->setObjectName(QStringLiteral("closeBox"));
    close_->setAccessibleName(QString::fromUtf8("סגירה"));
    close_->setFocusPolicy(Qt::NoFocus); // the windows' tab order stays as designed
    // Like a window manager's close: the window decides what closing means.
    connect(close_, &QAbstractButton::clicked, window, &QWidget::close);
    window->installEventFilter(this);
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette palette = desktop();
    painter.fillRect(rect(), palette.color(QPalette::Window));
    // A line between the bar and the window's own colours.
    painter.fillRect(QRect(0, height() - 1, width(), 1), palette.color(QPalette::Mid));
    painter.setPen(ink(window()->isActiveWindow()));
    const int side = kCloseSize + 4; // as wide at the left as the close box takes at the right
    controls::drawText(painter, QRect(side, 0, width() - 2 * side, height() - 1), Qt::AlignCenter,
                       window()->windowTitle(), controls::Wrap::SingleLine);
}

void TitleBar::resizeEvent(QResizeEvent *)
{
    // At the right end, where window managers put it.
    close_->move(width() - close_->width() - 2, (height() - 1 - close_->height()) / 2);
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
    else if (event->type() == QEvent::Resize && overlaid)
        setGeometry(0, 0, window()->width(), height());
    return false;
}

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

Qt::WindowFlags windowFlags()
{
    // Qt drops the frameless hint when title-bar hints come with it.
    if (drawsOwnTitleBar())
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowCloseButtonHint;
}

QWidget *withTitleBar(QWidget *window, QWidget *below)
{
    if (!drawsOwnTitleBar())
        return below ? below : window;
    if (below) {
        auto *holder = new QWidget(window);
        stackBelowTitleBar(holder, below);
        return holder;
    }
    if (window->layout()) {
        // Frameless, as a dialog's flags would not be.
        window->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        auto *bar = new TitleBar(window);
        bar->overlaid = true;
        window->setContentsMargins(0, kHeight, 0, 0);
        return window;
    }
    auto *client = new QWidget(window);
    stackBelowTitleBar(window, client);
    return client;
}

} // namespace platform
