#pragma once

#include <QWidget>

// A straight line between two points of its parent, drawn by a thin widget of
// its own so that it takes part in the stacking order of its siblings. It is
// transparent to the mouse, like a drawn line.
class LineShape : public QWidget
{
    Q_OBJECT
    // Its place in a control array (several controls sharing one name), or -1.
    Q_PROPERTY(int index READ index WRITE setIndex)

public:
    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }
    LineShape(QWidget *parent, QPoint from, QPoint to, int width, const QColor &colour);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    int lineWidth() const { return width_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int index_ = -1;
    QPoint from_, to_;
    int width_;
    QColor colour_;
};
