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
    bool hadModal = false;

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
            // A fresh press acts where it is. Its shortcut override and its
            // press (both stamped with its time) count once.
            Down &down = down_[id];
            if (down.pressed == 0 || down.time != key->timestamp())
                ++down.pressed;
            down.front = Front::now();
            down.time = key->timestamp();
            return false;
        }
        // A repeat, or the release: stale unless the key went down here. A key
        // whose press went unseen (to a window a modal window blocked) is stale too.
        const auto down = down_.find(id);
        const bool seen = down != down_.end();
        const bool stale = seen ? !(down->front == Front::now()) : type != QEvent::KeyRelease;
        // With a screen reader, Qt holds each press and release until the
        // reader has seen it and hands on a copy: the next press of the key
        // may go down before the last one's release comes. The key is
        // forgotten once every press it went down with has its release.
        if (type == QEvent::KeyRelease && !key->isAutoRepeat() && seen && --down->pressed <= 0)
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

    struct Down
    {
        Front front;      // where its last fresh press went down
        quint64 time = 0; // that press's time
        int pressed = 0;  // fresh presses still waiting for their release
    };
    QHash<qint64, Down> down_;
};

} // namespace

void actOnlyOnFreshKeys(QCoreApplication *application)
{
    watchHeldKeys();
    application->installEventFilter(new FreshKeys(application));
}

} // namespace platform
