#include "lineshape.h"

#include "contrast.h"
#include "devicepixels.h"

#include <QPainter>
#include <cmath>

LineShape::LineShape(QWidget *parent, QPoint from, QPoint to, int width, std::optional<QColor> colour,
                     QList<QColor> behind, bool onWindow)
    : QWidget(parent), from_(from), to_(to), width_(width), colour_(colour), behind_(std::move(behind)),
      onWindow_(onWindow)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int reach = width;
    setGeometry(QRect(from, to).normalized().adjusted(-reach, -reach, reach, reach));
}

QColor LineShape::colour() const
{
    if (colour_)
        return *colour_;
    const QPalette palette = parentWidget()->palette();
    QList<QColor> backs = behind_;
    if (onWindow_)
        backs << palette.color(QPalette::Window);
    return controls::readableInk(palette.color(QPalette::WindowText), backs);
}

void LineShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor colour = this->colour();
    const QPoint a = from_ - pos(), b = to_ - pos();
    if (width_ == 1 && (a.x() == b.x() || a.y() == b.y())) {
        // A thin straight line covers the pixels from one end to the other,
        // each end included: a rectangle, kept on whole device pixels.
        controls::fillOnDevicePixels(painter, QRectF(QRect(a, b).normalized()), colour);
        return;
    }
    // Wide lines end round, as a wide pen does on the platform the descriptions
    // come from; their width is a whole number of device pixels end to end.
    const qreal scale = painter.deviceTransform().m11();
    const qreal pen = controls::devicePixelWidth(painter, width_) / scale;
    painter.setPen(QPen(colour, pen, Qt::SolidLine, width_ > 1 ? Qt::RoundCap : Qt::SquareCap));
    painter.drawLine(a, b);
}
