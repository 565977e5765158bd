#pragma once

namespace app {

// Application-wide settings made once, before the first window: name and
// version (the About window reads them), fonts, icon and text direction.
void configure();

// Sets the program's icon, decoded meanwhile, waiting for it if need be:
// called before the first window shows, so that it maps with its icon.
void setShownIcon();

} // namespace app
