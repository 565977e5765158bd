#pragma once

namespace platform {

// The program's windows are one group to the desktop. Whatever a window
// manager or another client does to the main window or the open modal window
// (minimises, hides, withdraws it, sends it to another desktop), the other
// follows; when the player brings back either, both come back, the modal
// window in front with the keyboard focus. A modal window shaded or behind
// comes forward as soon as the player clicks, presses a key in, closes or
// activates another window of ours: the rest of the program takes no input
// meanwhile and would look dead.
void keepWindowsTogether();

} // namespace platform
