#include "windowgroup.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Windows keeps an owned window above its owner and minimises and restores
// the two together: each modal window is owned by the window it blocks. Qt
// only flashes a modal window when the player clicks the window it blocks;
// here the modal window comes forward with the keyboard focus, as it does on
// X11.
class ModalOwner : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (!widget->isWindow())
            return false;
        if (event->type() == QEvent::Show && widget->isModal())
            ownByBlocked(widget);
        else if (event->type() == QEvent::WindowActivate && !widget->isModal())
            if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != widget)
                // Once Windows has finished activating the clicked window.
                QMetaObject::invokeMethod(
                    this,
                    [modal = QPointer<QWidget>(modal)] {
                        if (modal && modal->isVisible()) {
                            modal->raise();
                            modal->activateWindow();
                        }
                    },
                    Qt::QueuedConnection);
        return false;
    }

private:
    static void ownByBlocked(QWidget *modal)
    {
        QWindow *window = modal->windowHandle();
        if (!window || window->transientParent())
            return;
        for (QWidget *other : QApplication::topLevelWidgets())
            if (other != modal && other->isVisible() && !other->isModal() && other->windowHandle()
                && other->windowType() == Qt::Window) {
                window->setTransientParent(other->windowHandle());
                return;
            }
    }
};

} // namespace

void keepWindowsTogether()
{
    qApp->installEventFilter(new ModalOwner(qApp));
}

} // namespace platform
