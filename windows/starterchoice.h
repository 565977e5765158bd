#pragma once

#include "secondarywindow.h"
#include "types.h"

class QRadioButton;

// "first", the starter-choice window: the opening rule, held by which of its
// three option buttons is selected. Its OK button only hides it, so the choice
// lasts while it exists; its close box leaves it, and the choice goes with it.
class StarterChoiceWindow : public SecondaryWindow
{
    Q_OBJECT

public:
    StarterChoiceWindow();

    game::Rule rule() const;

signals:
    // "O always opens" was selected: O takes the next move at once, mid-game too.
    void oOpensChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRadioButton *option(int n) const;
    void describeChoice();
};
