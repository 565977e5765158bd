// X11 and Wayland name a key's place by its XKB keycode, the same on both
// (evdev's code plus 8), whatever the layout.
#include "keyplaces.h"

#include <QtCore/qnamespace.h>
#include <string>

namespace platform {

int digitAt(quint32 code)
{
    // 1 to 9, then 0, left to right from keycode 10.
    return code >= 10 && code <= 19 ? int(code - 9) % 10 : -1;
}

int latinLetterAt(quint32 code)
{
    // The three letter rows of a US keyboard, each from its first keycode.
    static constexpr struct
    {
        quint32 first;
        const char *letters;
    } kRows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const auto &row : kRows) {
        const quint32 count = quint32(std::char_traits<char>::length(row.letters));
        if (code >= row.first && code < row.first + count)
            return Qt::Key_A + (row.letters[code - row.first] - 'A');
    }
    return 0;
}

} // namespace platform
