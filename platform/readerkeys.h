#pragma once

class QEvent;
class QObject;

namespace platform {

// Screen readers on the Linux desktop see every key before the program, and
// keep the ones that are theirs. Qt 6.4 hands them the key with only Shift,
// Caps Lock, Ctrl, Alt and Meta: without the NumLock state, Orca takes the
// keypad's digits for its own commands even with NumLock on. This hands the
// keys on as GTK does, with the lock state the window system reports.
//
// Called first for every event (before Qt's own bridge sees it): true when the
// key was taken, to come back as a posted copy unless a reader keeps it.
bool handKeyToReaders(QObject *receiver, QEvent *event);

} // namespace platform
