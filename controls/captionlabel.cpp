#include "captionlabel.h"

#include "contrast.h"
#include "devicepixels.h"
#include "ltrtext.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
const QColor kFrameColour(Qt::black);
}

CaptionLabel::CaptionLabel(QWidget *parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
}

void CaptionLabel::setFramed(bool framed)
{
    framed_ = framed;
    const int margin = framed ? 1 : 0;
    setContentsMargins(margin, margin, margin, margin);
    update();
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (framed_)
        controls::frameOnDevicePixels(painter, rect(), 1, kFrameColour);
    const QColor ink = palette().color(foregroundRole());
    painter.setPen(ownInk_ ? ink : controls::readableInk(ink, {palette().color(QPalette::Window)}));
    controls::drawText(painter, contentsRect(), alignment(), text());
    if (hasFocus()) {
        // Only a cell played from the keyboard takes the focus.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = contentsRect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CaptionLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}
