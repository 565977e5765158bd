#pragma once

#include <QWidget>

// HowToPlay: one teasing sentence and a button back. It exists only while it
// is on screen; each showing is a fresh window.
class HowToPlayWindow : public QWidget
{
public:
    HowToPlayWindow();

protected:
    void closeEvent(QCloseEvent *event) override;
};
