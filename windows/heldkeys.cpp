#include "heldkeys.h"

#include "windowmanager.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace windows {

namespace {

// The modal window in front: none, or one that is still there, or gone since.
struct Front
{
    QPointer<QWidget> modal;
    bool hadModal;

    static Front now()
    {
        QWidget *modal = QApplication::activeModalWidget();
        return {modal, modal != nullptr};
    }
    bool operator==(const Front &other) const { return hadModal == other.hadModal && modal == other.modal; }
};

class FreshKeys : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // The key itself: Return and keypad Enter are two keys.
        const qint64 id = key->nativeScanCode() ? qint64(key->nativeScanCode()) : -qint64(key->key());
        const auto down = down_.find(id);
        if (down == down_.end()) {
            // Went down now; a release without a press here began elsewhere.
            if (type != QEvent::KeyRelease)
                down_.insert(id, Front::now());
            return false;
        }
        const bool stale = !(*down == Front::now());
        // A repeat's release (Wayland, or X11 where real releases could not be had).
        if (type == QEvent::KeyRelease && !key->isAutoRepeat())
            down_.erase(down);
        if (stale)
            event->accept(); // a shortcut override accepted here keeps shortcuts from acting
        return stale;
    }

private:
    QHash<qint64, Front> down_;
};

} // namespace

void actOnlyOnFreshKeys(QCoreApplication *application)
{
    askForRealKeyReleases();
    application->installEventFilter(new FreshKeys(application));
}

} // namespace windows
