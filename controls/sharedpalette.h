#pragma once

#include <QList>
#include <QPalette>

// The style caches what it draws under the palette's identity, not its
// colours, and every window made anew has palettes of its own: game after
// game, the cache would fill with drawings (and keys) for windows long gone
// (+12 MiB over 1,000 games). Painting with one shared palette of equal
// colours keeps the keys the same, so the cache stays small and hits.
namespace controls {

class SharedPalettes
{
public:
    // The program draws with about ten sets of colours; more are let go,
    // the least recently used first.
    static constexpr qsizetype kMost = 16;

    // A palette of the same colours that is already shared, or this one,
    // shared from now on.
    QPalette shared(const QPalette &palette);

private:
    QList<QPalette> palettes_; // the most recently used last
};

// The program's one set, for painting buttons.
QPalette sharedPalette(const QPalette &palette);

} // namespace controls
