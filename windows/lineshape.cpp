#include "lineshape.h"

#include <QPainter>

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
    // Wide lines end round, as a wide pen does on the platform the descriptions come from.
    painter.setPen(QPen(colour_, width_, Qt::SolidLine, width_ > 1 ? Qt::RoundCap : Qt::SquareCap));
    painter.drawLine(from_ - pos(), to_ - pos());
}
