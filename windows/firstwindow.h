#pragma once

#include "game/marks.h"

#include <QWidget>

class QRadioButton;

// "first": the opening rule, held by which of its three option buttons is
// selected. Its OK button only hides it, so the choice lasts while it exists;
// the close box destroys it, and the choice with it.
class FirstWindow : public QWidget
{
public:
    FirstWindow();

    game::Rule rule() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QRadioButton *option(int n) const;
};
