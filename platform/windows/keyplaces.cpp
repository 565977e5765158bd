// Windows names a key's place by its scan code, and its Latin letter by its
// virtual key, whatever the layout: Qt matches shortcuts by the latter.
#include "keyplaces.h"

namespace platform {

int digitAt(quint32 scanCode)
{
    // 1 to 9, then 0, left to right from scan code 2.
    return scanCode >= 2 && scanCode <= 11 ? int(scanCode - 1) % 10 : -1;
}

int latinLetterAt(quint32)
{
    return 0;
}

} // namespace platform
