#pragma once

#include "game/marks.h"

#include <QWidget>

// winx, wino and tako: the windows that announce a finished game. Leaving one,
// by its button or its close box, counts the game and prepares the next.
class ResultWindow : public QWidget
{
public:
    explicit ResultWindow(game::Result result);

    game::Result result() const { return result_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void backToGame();

    game::Result result_;
};
