#pragma once

#include <QPalette>

// The style caches what it draws under the palette's identity, not its
// colours, and every window made anew has palettes of its own: game after
// game, the cache would fill with drawings (and keys) for windows long gone.
// Painting with the one shared palette of equal colours keeps the keys the
// same, so the cache stays small and hits.
namespace controls {

const QPalette &sharedPalette(const QPalette &palette);

} // namespace controls
