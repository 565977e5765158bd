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
            lastFresh_.insert(id, Front::now());
            return false;
        }
        // A repeat, or the release: stale unless the key went down here. A key
        // whose press went unseen (to a window a modal window blocked) is stale too.
        const auto down = down_.constFind(id);
        const bool seen = down != down_.cend();
        bool stale = seen ? !(*down == Front::now()) : type != QEvent::KeyRelease;
        // With a screen reader, Qt holds each press and release until the
        // reader has seen it, then hands on a copy without its time. The key's
        // next press (its shortcut override comes at once) may go down before
        // the last release's copy comes and forgets it: the copy of that press
        // is judged by where the key last went down fresh.
        if (!seen && type == QEvent::KeyPress && !key->spontaneous() && key->timestamp() == 0) {
            const auto fresh = lastFresh_.constFind(id);
            stale = fresh == lastFresh_.cend() || !(*fresh == Front::now());
        }
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
    QHash<qint64, Front> lastFresh_; // where each key last went down fresh, kept past its release
};

} // namespace

void actOnlyOnFreshKeys(QCoreApplication *application)
{
    watchHeldKeys();
    application->installEventFilter(new FreshKeys(application));
}

} // namespace platform
