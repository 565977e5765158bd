#pragma once

#include <QColor>
#include <QList>

// Text and lines that stay readable on the designed colours whatever the
// desktop's colours are: a dark desktop's light text on the windows' orange,
// green or cyan would read at little more than 2:1.
namespace controls {

// The least contrast kept between text or lines and what is behind them (WCAG).
inline constexpr qreal kMinContrast = 4.5;

// WCAG's contrast ratio of two colours, from 1 (alike) to 21 (black on white).
qreal contrast(const QColor &a, const QColor &b);

// Black or white, whichever contrasts more with all of `backs`.
QColor blackOrWhite(const QList<QColor> &backs);

// The ink for text or a line that the design left to the desktop, on the
// designed `backs`: the desktop's own where it reads on all of them, else
// black or white. Black, which the windows were designed with where they give
// no colour, is kept as designed.
QColor readableInk(const QColor &desktopInk, const QList<QColor> &backs);

} // namespace controls
