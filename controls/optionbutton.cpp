#include "optionbutton.h"

#include "ltrtext.h"
#include "sharedpalette.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kGap = 3; // between the caption and the circle
}

void OptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.palette = controls::sharedPalette(option.palette);
    option.direction = Qt::RightToLeft; // the circle goes to the right

    QStyleOptionButton indicator = option;
    indicator.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

    // One line beside the circle. A caption too wide for the space keeps its
    // left end, where a stored "X-" or "O-" stands, and reaches into the gap
    // before the circle instead.
    QRect textRect = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    textRect.setRight(indicator.rect.left() - kGap);
    const bool fits = fontMetrics().horizontalAdvance(text()) <= textRect.width();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    controls::drawText(painter, textRect, (fits ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text(),
                       controls::Wrap::SingleLine);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_RadioButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
