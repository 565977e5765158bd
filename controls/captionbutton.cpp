#include "captionbutton.h"

#include "ltrtext.h"
#include "sharedpalette.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.palette = controls::sharedPalette(option.palette);
    const QString caption = option.text;
    option.text.clear(); // the style draws the bevel and focus, the caption comes below
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect textRect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.state & (QStyle::State_On | QStyle::State_Sunken))
        textRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    controls::drawText(painter, textRect, Qt::AlignCenter, caption);
}

void CaptionButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Keypad Enter arrives with the keypad modifier; it acts as Return.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
