#pragma once

#include <QWidget>

class QLabel;

namespace controls {

// What screen readers are told wherever the focus is, drawn nowhere (it lies
// outside its window's client area): each say() is spoken and put on braille
// displays. A notification whose text is a label inside it: Orca brailles the
// labels a notification holds, not its name.
class Notice : public QWidget
{
public:
    explicit Notice(QWidget *parent);

    void say(const QString &text);

private:
    QLabel *label_;
};

} // namespace controls
