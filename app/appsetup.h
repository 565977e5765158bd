#pragma once

namespace app {

// Application-wide settings made once, before the first window: name and
// version (the About window reads them), fonts, icon and text direction.
void configure();

} // namespace app
