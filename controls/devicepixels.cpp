#include "devicepixels.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace controls {

namespace {

// The painter's map from logical to device pixels (scale and offset).
QTransform toDevice(const QPainter &painter)
{
    return painter.deviceTransform();
}

QRectF onGrid(const QRectF &device)
{
    return QRectF(QPointF(std::round(device.left()), std::round(device.top())),
                  QPointF(std::round(device.right()), std::round(device.bottom())));
}

void fillDevice(QPainter &painter, const QRectF &device, const QColor &colour)
{
    // Mapped back, the rectangle's edges fall exactly on device pixel edges.
    painter.fillRect(toDevice(painter).inverted().mapRect(device), colour);
}

} // namespace

int devicePixelWidth(const QPainter &painter, qreal width)
{
    return std::max(1, int(std::lround(width * toDevice(painter).m11())));
}

void fillOnDevicePixels(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    // The size is rounded once and the corner placed on the grid: rounding both
    // edges would make a line at a half-pixel offset one pixel thinner.
    const QRectF d = toDevice(painter).mapRect(rect);
    fillDevice(painter,
               QRectF(std::round(d.left()), std::round(d.top()), std::max(1.0, std::round(d.width())),
                      std::max(1.0, std::round(d.height()))),
               colour);
}

void frameOnDevicePixels(QPainter &painter, const QRectF &rect, qreal logicalWidth, const QColor &colour)
{
    const QRectF d = onGrid(toDevice(painter).mapRect(rect));
    const qreal w = devicePixelWidth(painter, logicalWidth);
    fillDevice(painter, QRectF(d.left(), d.top(), d.width(), w), colour);
    fillDevice(painter, QRectF(d.left(), d.bottom() - w, d.width(), w), colour);
    fillDevice(painter, QRectF(d.left(), d.top() + w, w, d.height() - 2 * w), colour);
    fillDevice(painter, QRectF(d.right() - w, d.top() + w, w, d.height() - 2 * w), colour);
}

} // namespace controls
