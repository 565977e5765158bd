#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

qreal luminance(const QColor &c)
{
    auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

qreal leastContrast(const QColor &ink, const QList<QColor> &backs)
{
    qreal least = 21;
    for (const QColor &back : backs)
        least = std::min(least, contrast(ink, back));
    return least;
}

} // namespace

qreal contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor blackOrWhite(const QList<QColor> &backs)
{
    return leastContrast(Qt::black, backs) >= leastContrast(Qt::white, backs) ? QColor(Qt::black) : QColor(Qt::white);
}

QColor readableInk(const QColor &desktopInk, const QList<QColor> &backs)
{
    if (desktopInk.rgb() == QColor(Qt::black).rgb() || leastContrast(desktopInk, backs) >= kMinContrast)
        return desktopInk;
    return blackOrWhite(backs);
}

} // namespace controls
