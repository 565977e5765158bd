#pragma once

#include <QWidget>

class QAbstractButton;

namespace platform {

// Where the program draws its windows' title bars itself: on Wayland. The
// compositor there may draw none, and then Qt 6.4 draws one that always offers
// minimise and maximise, which none of our windows may offer.
bool drawsOwnTitleBar();

// The window's title, moved by dragging it, and a close box: nothing else.
// Drawn in the desktop's own colours, light or dark, like the bars of the
// other programs there; title and cross keep a contrast of at least 4.5:1
// with the bar whether the window is active or not.
class TitleBar : public QWidget
{
public:
    explicit TitleBar(QWidget *window);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend void putTitleBarOver(QWidget *window);
    QAbstractButton *close_;
    bool overlaid_ = false; // over a layout of Qt's, following the window's width
};

// Where the program draws its own title bar, a new widget of `window` that
// holds the bar above `below`; elsewhere `below` itself.
QWidget *titleBarAbove(QWidget *window, QWidget *below);

// Where the program draws its own title bar, makes a window whose layout Qt
// made (a message box) frameless and lays the bar over its top, moving the
// rest below it.
void putTitleBarOver(QWidget *window);

// Puts a title bar at the top of `window` (made frameless by windowFlags())
// where the program draws its own; returns the widget its controls go on.
QWidget *withTitleBar(QWidget *window);

} // namespace platform
