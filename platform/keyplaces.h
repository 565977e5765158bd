#pragma once

#include <QtGlobal>

class QCoreApplication;

// Keys by their place on the keyboard, whatever layout is active: a player
// on a Hebrew or a French keyboard presses the same keys as one on a US
// keyboard. `nativeScanCode` is a key event's: the key's place.
namespace platform {

// The digit 0 to 9 that the key at this place types on a US keyboard (the
// digit row, which AZERTY gives digits only with Shift), or -1.
int digitAt(quint32 nativeScanCode);

// Qt::Key_A to Qt::Key_Z for the letter the key at this place types on a US
// keyboard, or 0. Where the system names keys by their Latin letter whatever
// the layout (Windows), always 0: shortcuts already match there.
int latinLetterAt(quint32 nativeScanCode);

// A shortcut with Ctrl or Alt (Ctrl+X) acts when its key is pressed on a
// layout that gives that key no Latin letter (Hebrew alone), as on a US
// keyboard: Qt 6.4 looks for the Latin letter only in the keymap's other
// layouts, and finds none.
void matchShortcutsByPlace(QCoreApplication *application);

} // namespace platform
