#include "heldkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace windows {

namespace {

class DropEnterRepeats : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        return key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    }
};

} // namespace

void actOnceOnHeldEnter(QCoreApplication *application)
{
    application->installEventFilter(new DropEnterRepeats(application));
}

} // namespace windows
