#include "confirm.h"

#include "accessibility.h"
#include "ltrtext.h"
#include "titlebar.h"
#include "windowmanager.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace windows {

bool confirm(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("confirm"));
    box.setWindowModality(Qt::ApplicationModal); // before the flags, which it would set back to a dialog's
    // The title bar every other window has, not Qt's with minimise and maximise.
    platform::withTitleBar(&box);
    box.setDefaultButton(QMessageBox::Yes);
    // Hebrew like every other text of the program, and plain text buttons.
    for (auto [button, caption] : {std::pair{QMessageBox::Yes, "כן"}, std::pair{QMessageBox::No, "לא"}}) {
        box.button(button)->setText(QString::fromUtf8(caption));
        box.button(button)->setIcon(QIcon());
    }
    // The label that shows the question, found by what it shows: the box has
    // no public way to it.
    for (QLabel *label : box.findChildren<QLabel *>()) {
        if (label->text() == text) {
            controls::drawLeftToRight(label);
            controls::nameInReadingOrder(label, text);
        }
    }
    platform::comeUpOverActiveWindow(&box);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace windows
