#pragma once

#include <QPushButton>

// A push button whose caption wraps at word boundaries when it does not fit on
// one line, as the button captions of the window descriptions expect (a tall
// button holds "חזרה למשחק" on two lines), laid out left to right like every
// text of the program. Enter presses the button that has the focus, as on the
// desktop the windows were designed for.
class CaptionButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
