#include "notice.h"

#include "accessibility.h"

#include <QAccessible>
#include <QLabel>

namespace controls {

Notice::Notice(QWidget *parent) : QWidget(parent), label_(new QLabel(this))
{
    readAsNotice(this); // before anything makes readers ask what it is
    setGeometry(-1, -1, 1, 1);
    lower(); // behind every control of its window
    label_->setGeometry(0, 0, 1, 1);
    hide();
}

void Notice::say(const QString &text)
{
    // Readers speak a notification as it is shown, with the labels they see
    // showing in it. The label is told to be showing outright: Qt says so only
    // of the notification, and readers would keep the label hidden as they
    // first met it.
    hide();
    label_->setText(text);
    QAccessibleEvent labelShown(label_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&labelShown);
    show();
}

} // namespace controls
