#include "keyplaces.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

namespace {

class ShortcutsByPlace : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))
            || (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z))
            return false;
        const int latin = latinLetterAt(key->nativeScanCode());
        if (!latin)
            return false;
        const QKeySequence wanted(QKeyCombination(modifiers, Qt::Key(latin)));
        // The window's own actions only: a window blocked by a modal one is not asked.
        for (QAction *action : static_cast<QWidget *>(watched)->window()->findChildren<QAction *>()) {
            if (action->isEnabled() && action->shortcuts().contains(wanted)) {
                event->accept(); // the key goes no further as a key
                QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
                return true;
            }
        }
        return false;
    }
};

} // namespace

void matchShortcutsByPlace(QCoreApplication *application)
{
    application->installEventFilter(new ShortcutsByPlace(application));
}

} // namespace platform
