#include "boardkeys.h"

#include "keyplaces.h"

#include <QKeyEvent>
#include <algorithm>

namespace windows {

namespace {

// The keypad's digit d stands on a cell by position: its 7 8 9 are the top row.
constexpr int keypadCell(int d)
{
    return 3 * (2 - (d - 1) / 3) + (d - 1) % 3 + 1;
}

// Key symbols, the same on X11 and Wayland: KP_1 to KP_9, and what the keypad
// sends for its digits 1 to 9 with NumLock off (KP_End, KP_Down ... KP_Prior).
constexpr quint32 kKeypad0 = 0xffb0, kKeypadInsert = 0xff9e;
constexpr quint32 kWithoutNumLock[] = {0xff9c, 0xff99, 0xff9b, 0xff96, 0xff9d, 0xff98, 0xff95, 0xff97, 0xff9a};

bool isCellDigit(int key)
{
    return key >= Qt::Key_1 && key <= Qt::Key_9;
}

// The digit a key of the digit row types, 0 to 9, or -1: the digit Qt names
// or, unshifted, the digit of the key's place, for a layout that types
// digits only with Shift there (AZERTY). A shifted key that types something
// else (! on a US keyboard) is no digit.
int rowDigit(const QKeyEvent &key)
{
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
        return key.key() - Qt::Key_0;
    if (key.modifiers() & (Qt::ShiftModifier | Qt::KeypadModifier) || !key.nativeScanCode())
        return -1;
    return platform::digitAt(key.nativeScanCode());
}

// The keypad digit a key is, 1 to 9, or 0.
int keypadDigit(const QKeyEvent &key)
{
    const quint32 symbol = key.nativeVirtualKey();
    if (symbol > kKeypad0 && symbol <= kKeypad0 + 9)
        return int(symbol - kKeypad0);
    for (int d = 1; d <= 9; ++d)
        if (symbol == kWithoutNumLock[d - 1])
            return d;
    // No symbol (a key made by the program): Qt's keypad flag tells.
    if (!symbol && key.modifiers() & Qt::KeypadModifier && isCellDigit(key.key()))
        return key.key() - Qt::Key_0;
    return 0;
}

} // namespace

int cellForKey(const QKeyEvent &key)
{
    if (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return 0;
    if (const int d = keypadDigit(key))
        return keypadCell(d);
    if (key.modifiers() & Qt::KeypadModifier)
        return 0;
    return std::max(rowDigit(key), 0);
}

int cellAfterArrow(int from, const QKeyEvent &key)
{
    if (key.modifiers() & Qt::KeypadModifier) // the keypad's arrows place, with NumLock off
        return 0;
    const int row = (from - 1) / 3, column = (from - 1) % 3;
    switch (key.key()) {
    case Qt::Key_Up:
        return 3 * std::max(row - 1, 0) + column + 1;
    case Qt::Key_Down:
        return 3 * std::min(row + 1, 2) + column + 1;
    case Qt::Key_Left:
        return 3 * row + std::max(column - 1, 0) + 1;
    case Qt::Key_Right:
        return 3 * row + std::min(column + 1, 2) + 1;
    default:
        return 0;
    }
}

bool readsScoreboard(const QKeyEvent &key)
{
    const quint32 symbol = key.nativeVirtualKey();
    return rowDigit(key) == 0 || symbol == kKeypad0 || symbol == kKeypadInsert;
}

} // namespace windows
