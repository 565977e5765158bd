#include "sharedpalette.h"

#include <QList>

namespace controls {

const QPalette &sharedPalette(const QPalette &palette)
{
    // A handful of distinct palettes in all: a list is enough.
    static QList<QPalette> shared;
    for (const QPalette &p : shared) {
        if (p == palette)
            return p;
    }
    shared.append(palette);
    return shared.last();
}

} // namespace controls
