#pragma once

namespace platform {

// Whatever a window manager or another client did to the modal window
// (minimised, hidden, shaded, sent to another desktop, withdrawn), it comes
// back on the current desktop, in front and focused, as soon as the player
// clicks, presses a key in, closes or activates any other window of ours: the
// rest of the program takes no input meanwhile and would look dead.
void keepModalWindowsInReach();

} // namespace platform
