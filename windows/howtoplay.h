#pragma once

#include "secondarywindow.h"

// HowToPlay: one teasing sentence and a button back. Its owner unloads it when
// it is left, so each showing is a fresh window.
class HowToPlayWindow : public SecondaryWindow
{
    Q_OBJECT

public:
    HowToPlayWindow();
};
