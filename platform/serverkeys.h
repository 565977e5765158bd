#pragma once

#include <QtGlobal>

namespace platform {

// Held keys as the X server tells them: it is asked to send a key's release
// only when the key really goes up (not between the repeats of a held key),
// and every key event is watched, whichever window it goes to and whatever
// Qt then does with it.
void watchHeldKeys();

// Whether the server agreed to it: false where there is no such server.
bool heldKeysWatched();

// Whether the key press at `time` (a key event's timestamp) found the key up:
// a fresh press, not a repeat of a held key. False where nothing watches (see
// watchHeldKeys).
bool freshPress(quint32 nativeScanCode, quint64 time);

} // namespace platform
