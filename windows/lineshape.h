#pragma once

#include <QWidget>

// A straight line between two points of its parent, drawn by a thin widget of
// its own so that it takes part in the stacking order of its siblings. It is
// transparent to the mouse, like a drawn line.
class LineShape : public QWidget
{
    Q_OBJECT

public:
    LineShape(QWidget *parent, QPoint from, QPoint to, int width, const QColor &colour);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    int lineWidth() const { return width_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint from_, to_;
    int width_;
    QColor colour_;
};
