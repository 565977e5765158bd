#include "lineshape.h"

#include "devicepixels.h"

#include <QPainter>
#include <cmath>

LineShape::LineShape(QWidget *parent, QPoint from, QPoint to, int width, const QColor &colour)
    : QWidget(parent), from_(from), to_(to), width_(width), colour_(colour)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int reach = width;
    setGeometry(QRect(from, to).normalized().adjusted(-reach, -reach, reach, reach));
}

void LineShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint a = from_ - pos(), b = to_ - pos();
    if (width_ == 1 && (a.x() == b.x() || a.y() == b.y())) {
        // A thin straight line covers the pixels from one end to the other,
        // each end included: a rectangle, kept on whole device pixels.
        controls::fillOnDevicePixels(painter, QRectF(QRect(a, b).normalized()), colour_);
        return;
    }
    // Wide lines end round, as a wide pen does on the platform the descriptions
    // come from; their width is a whole number of device pixels end to end.
    const qreal scale = painter.deviceTransform().m11();
    const qreal pen = controls::devicePixelWidth(painter, width_) / scale;
    painter.setPen(QPen(colour_, pen, Qt::SolidLine, width_ > 1 ? Qt::RoundCap : Qt::SquareCap));
    painter.drawLine(a, b);
}
