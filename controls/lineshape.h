#pragma once

#include <QWidget>
#include <optional>

// A straight line between two points of its parent, drawn by a thin widget of
// its own so that it takes part in the stacking order of its siblings. It is
// transparent to the mouse, like a drawn line. Without a colour of its own it
// takes the desktop's, kept readable on what lies behind it.
class LineShape : public QWidget
{
    Q_OBJECT
    // Its place in a control array (several controls sharing one name), or -1.
    Q_PROPERTY(int index READ index WRITE setIndex)

public:
    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }
    // `behind`: the designed colours of the controls it crosses; `onWindow`:
    // whether its window's own background is behind some of it too.
    LineShape(QWidget *parent, QPoint from, QPoint to, int width, std::optional<QColor> colour,
              QList<QColor> behind = {}, bool onWindow = true);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    int lineWidth() const { return width_; }
    QColor colour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int index_ = -1;
    QPoint from_, to_;
    int width_;
    std::optional<QColor> colour_;
    QList<QColor> behind_;
    bool onWindow_;
};
