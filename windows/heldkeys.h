#pragma once

class QCoreApplication;

namespace windows {

// Enter held down acts once. Its repeats are dropped program-wide, so that they
// never reach a window that the first press opened (and press its default
// button for the player).
void actOnceOnHeldEnter(QCoreApplication *application);

} // namespace windows
