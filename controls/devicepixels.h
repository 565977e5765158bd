#pragma once

#include <QRectF>

class QColor;
class QPainter;

// Drawing that lands on whole device pixels at any scale (1.25, 1.5, 2 ...):
// widths are rounded to device pixels once, and rectangles are snapped to the
// device's pixel grid before they are filled, so a frame is as wide on all
// four sides and nothing spills outside its control.
namespace controls {

// `width` logical pixels as a whole number of device pixels, at least one.
int devicePixelWidth(const QPainter &painter, qreal width);

// Fills the rectangle, its size rounded to whole device pixels and its corner
// moved to the nearest device pixel corner.
void fillOnDevicePixels(QPainter &painter, const QRectF &rect, const QColor &colour);

// A frame `width` logical pixels wide along the inside of the rectangle.
void frameOnDevicePixels(QPainter &painter, const QRectF &rect, qreal width, const QColor &colour);

} // namespace controls
