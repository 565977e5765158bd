#pragma once

#include "secondarywindow.h"
#include "types.h"

// winx, wino and tako: the windows that announce a finished game. Leaving one,
// by its button or its close box, ends the game (its owner counts it and
// prepares the next).
class ResultWindow : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit ResultWindow(game::Result result);
};
