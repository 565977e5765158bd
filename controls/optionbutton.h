#pragma once

#include <QRadioButton>

// An option button with its circle at the right of its caption, in keeping
// with the Hebrew captions, while the caption itself is laid out left to right
// like every text of the program. The whole control answers the mouse.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
