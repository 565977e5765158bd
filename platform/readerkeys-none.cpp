#include "readerkeys.h"

// No AT-SPI here: screen readers get the keys from the system itself.
bool platform::handKeyToReaders(QObject *, QEvent *)
{
    return false;
}
