#pragma once

class QCoreApplication;

namespace platform {

// A key acts only in the modal window, or the lack of one, that was in front
// when it went down. Held down across a change (its first press opened a
// window, or left one), its repeats and its release are dropped until it
// goes up, so that it never answers a window for the player: a fresh press
// acts as always. The X server is asked for real releases only, so that a
// held key is told from a fresh press whatever the machine's load.
void actOnlyOnFreshKeys(QCoreApplication *application);

} // namespace platform
