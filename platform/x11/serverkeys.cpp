#include "serverkeys.h"

#include "x11.h"

#include <QHash>
#include <QSet>
// xkb.h names a member "explicit", a keyword of C++.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#ifdef __clang__
#pragma clang diagnostic pop
#endif

namespace platform {

namespace {

// Every key press and release of the connection, before Qt sees it (Qt may
// see a press only after the key's release has been read here).
class KeyWatcher
{
public:
    explicit KeyWatcher(xcb_connection_t *connection) : connection_(connection)
    {
        watchEvents({XCB_KEY_PRESS, XCB_KEY_RELEASE, XCB_FOCUS_IN},
                    [this](const xcb_generic_event_t *event) { seen(event); });
    }

    void seen(const xcb_generic_event_t *event)
    {
        const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
        switch (key->response_type & 0x7f) {
        case XCB_KEY_PRESS:
            if (!down_.contains(key->detail)) {
                down_.insert(key->detail);
                QList<quint64> &times = freshPresses_[key->detail];
                times.append(key->time);
                if (times.size() > kRemembered)
                    times.removeFirst();
            }
            break;
        case XCB_KEY_RELEASE:
            down_.remove(key->detail);
            break;
        default: // focus in
            // A release may have gone elsewhere meanwhile, to a window
            // manager's grab (Alt of Alt+Tab): the server says which keys are
            // down now, so that a key that went up meanwhile is fresh again.
            forgetReleasedElsewhere();
            break;
        }
    }

    bool wasUp(quint32 code, quint64 time) const { return freshPresses_.value(code).contains(time); }

private:
    void forgetReleasedElsewhere()
    {
        if (down_.isEmpty())
            return;
        const auto cookie = xcb_query_keymap(connection_);
        ReplyPtr<xcb_query_keymap_reply_t> keymap(xcb_query_keymap_reply(connection_, cookie, nullptr), free);
        if (!keymap)
            return;
        for (auto it = down_.begin(); it != down_.end();) {
            const quint32 code = *it;
            it = code < 256 && !(keymap->keys[code / 8] & (1U << (code % 8))) ? down_.erase(it) : std::next(it);
        }
    }

    static constexpr qsizetype kRemembered = 16; // far more presses than Qt ever has queued
    xcb_connection_t *connection_;
    QSet<quint32> down_;
    QHash<quint32, QList<quint64>> freshPresses_;
};

KeyWatcher *keyWatcher = nullptr;

constexpr uint32_t kRealReleases = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;

// The server's answer to the request for real releases, read when the first
// key comes: asking costs no wait while the program starts.
struct Asked
{
    xcb_connection_t *connection = nullptr;
    xcb_xkb_use_extension_cookie_t extension{};
    xcb_xkb_per_client_flags_cookie_t flags{};
};
Asked asked;

bool serverAgreed()
{
    static const bool agreed = [] {
        if (!asked.connection)
            return false;
        ReplyPtr<xcb_xkb_use_extension_reply_t> use(
            xcb_xkb_use_extension_reply(asked.connection, asked.extension, nullptr), free);
        ReplyPtr<xcb_xkb_per_client_flags_reply_t> reply(
            xcb_xkb_per_client_flags_reply(asked.connection, asked.flags, nullptr), free);
        return use && use->supported && reply && (reply->value & kRealReleases);
    }();
    return agreed;
}

} // namespace

void watchHeldKeys()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || keyWatcher)
        return;
    // Both asked at once: the server takes them in order.
    asked = {connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
             xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, kRealReleases, kRealReleases, 0, 0, 0)};
    xcb_flush(connection);
    keyWatcher = new KeyWatcher(connection);
}

bool heldKeysWatched()
{
    return keyWatcher && serverAgreed();
}

bool freshPress(quint32 nativeScanCode, quint64 time)
{
    return heldKeysWatched() && keyWatcher->wasUp(nativeScanCode, time);
}

} // namespace platform
