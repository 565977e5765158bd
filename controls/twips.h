#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window descriptions are written in twips, 1/1440 inch: 15 twips make one
// logical pixel. This is the only place that knows the ratio.
namespace controls {

inline constexpr int kTwipsPerPixel = 15;

constexpr int toPx(int t)
{
    return (t >= 0 ? t + kTwipsPerPixel / 2 : t - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QPoint toPx(int x, int y)
{
    return {toPx(x), toPx(y)};
}
constexpr QSize sizeToPx(int w, int h)
{
    return {toPx(w), toPx(h)};
}
constexpr QRect rectToPx(int left, int top, int w, int h)
{
    return {toPx(left), toPx(top), toPx(w), toPx(h)};
}

} // namespace controls
