#pragma once

#include <QLabel>

// A label as the window descriptions know it: filled background, optional thin
// frame, caption drawn left to right at the top, and a Click on a single
// left-button click. It stays a QLabel, so text() and the accessible name read
// the caption exactly as stored.
class CaptionLabel : public QLabel
{
    Q_OBJECT
    // Its place in a control array (several controls sharing one name), or -1.
    Q_PROPERTY(int index READ index WRITE setIndex)

public:
    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }
    explicit CaptionLabel(QWidget *parent = nullptr);

    void setFramed(bool framed);
    // Text in a colour of the design's own; otherwise in the desktop's, kept readable.
    void setOwnInk(bool own) { ownInk_ = own; }
    // What a screen reader's press does: played from the keyboard's side.
    void activate() { emit activated(); }
    bool framed() const { return framed_; }

signals:
    void clicked();
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int index_ = -1;
    bool framed_ = false;
    bool ownInk_ = false;
    bool pressed_ = false;
};
