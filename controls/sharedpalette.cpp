#include "sharedpalette.h"

namespace controls {

QPalette SharedPalettes::shared(const QPalette &palette)
{
    const qsizetype found = palettes_.indexOf(palette);
    if (found >= 0)
        palettes_.move(found, palettes_.size() - 1);
    else
        palettes_.append(palette);
    if (palettes_.size() > kMost)
        palettes_.removeFirst();
    return palettes_.last();
}

QPalette sharedPalette(const QPalette &palette)
{
    static SharedPalettes palettes;
    return palettes.shared(palette);
}

} // namespace controls
