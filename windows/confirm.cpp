#include "confirm.h"

#include "ltrtext.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace confirm {

bool ask(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("confirm"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Yes);
    // Hebrew like every other text of the program, and plain text buttons.
    for (auto [button, caption] : {std::pair{QMessageBox::Yes, "כן"}, std::pair{QMessageBox::No, "לא"}}) {
        box.button(button)->setText(QString::fromUtf8(caption));
        box.button(button)->setIcon(QIcon());
    }
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        ltr::adopt(label);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace confirm
