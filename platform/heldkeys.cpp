#include "heldkeys.h"

#include "serverkeys.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace platform {

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
        if (type != QEvent::KeyRelease && isFreshPress(key)) {
            down_.insert(id, Front::now()); // a fresh press acts where it is
            return false;
        }
        // A repeat, or the release: stale unless the key went down here. A key
        // whose press went unseen (to a window a modal window blocked) is stale too.
        const auto down = down_.constFind(id);
        const bool seen = down != down_.cend();
        const bool stale = seen ? !(*down == Front::now()) : type != QEvent::KeyRelease;
        if (type == QEvent::KeyRelease && !key->isAutoRepeat() && seen)
            down_.erase(down);
        if (stale)
            event->accept(); // a shortcut override accepted here keeps shortcuts from acting
        return stale;
    }

private:
    // On X11 the server says when the key went down: a press then is fresh, a
    // later one a repeat. Elsewhere (Wayland) Qt makes the repeats itself and
    // marks them so.
    bool isFreshPress(const QKeyEvent *key) const
    {
        if (!key->nativeScanCode() || !heldKeysWatched())
            return !key->isAutoRepeat();
        return freshPress(key->nativeScanCode(), key->timestamp());
    }

    QHash<qint64, Front> down_;
};

} // namespace

void actOnlyOnFreshKeys(QCoreApplication *application)
{
    watchHeldKeys();
    application->installEventFilter(new FreshKeys(application));
}

} // namespace platform
