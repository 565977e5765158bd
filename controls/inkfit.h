#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QStringList>

// Where the lines of a caption go so that their ink stays inside its box.
//
// The boxes were designed around faces that are not on a Linux desktop. The
// stand-ins are taller (their ascent and descent leave room for vowel points
// that the captions never carry) and their first or last glyph may touch or
// cross the box's side. A caption that fits with a clear pixel all round is
// drawn where its alignment puts it. One that does not is moved by its ink:
// its lines close up toward the height of their letters, and each line moves
// in from a side it would cross, so that nothing is cut at the box's edge.
namespace controls {

struct PlacedLine
{
    QString text;
    QRectF frame; // a line-high rectangle to draw `text` in with the alignment
};

// `dpr`: the device pixels to a pixel of the box, where the text is drawn.
QList<PlacedLine> placeLines(const QStringList &lines, const QFont &font, const QRectF &box, Qt::Alignment alignment,
                             qreal dpr);

} // namespace controls
