#include "inkfit.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace controls {

namespace {

// Clear space kept between a caption's ink and its box: one pixel.
constexpr qreal kClear = 1;
// How far a glyph's smoothed edge may reach past its outline's box when it
// lands between pixels.
constexpr qreal kSpill = 0.5;

// The ink as drawn, laid left to right whatever the first strong character,
// from the line's left end on its baseline; empty for blanks.
QRectF measure(const QString &line, const QFont &font)
{
    QTextLayout layout(line, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    QRectF ink;
    if (!textLine.isValid())
        return ink;
    // Each glyph's own outline box: a run's box is the whole line's. A blank has none.
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            if (const QRectF outline = run.rawFont().boundingRect(glyphs[i]); !outline.isEmpty())
                ink |= outline.translated(positions[i]).adjusted(-kSpill, -kSpill, kSpill, kSpill);
    }
    return ink.translated(0, -textLine.ascent()); // the glyphs stand on the first baseline
}

qreal alignedLeft(const QRectF &box, qreal advance, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return box.right() - advance;
    if (alignment & Qt::AlignHCenter)
        return box.left() + (box.width() - advance) / 2;
    return box.left();
}

// How far a line must move sideways to keep its ink off the box's sides;
// a line too wide for the box keeps the side its alignment holds to.
qreal sideways(const QRectF &box, const QRectF &ink, Qt::Alignment alignment)
{
    const qreal overLeft = box.left() + kClear - ink.left();
    const qreal overRight = ink.right() - (box.right() - kClear);
    // A centred line moves only if it then fits on both sides.
    const bool fits = overLeft + overRight <= 0, centred = alignment & Qt::AlignHCenter;
    if (overLeft > 0 && !(alignment & Qt::AlignRight) && (fits || !centred))
        return overLeft;
    if (overRight > 0 && !(alignment & Qt::AlignLeft) && (fits || !centred))
        return -overRight;
    return 0;
}

} // namespace

QList<PlacedLine> placeLines(const QStringList &lines, const QFont &font, const QRectF &box, Qt::Alignment alignment,
                             qreal dpr)
{
    // Where the alignment puts the lines: a line's height apart, from the top,
    // the middle or the bottom of the box.
    const QFontMetricsF metrics(font);
    const qsizetype n = lines.size();
    const auto count = qreal(n);
    qreal top = box.top();
    if (alignment & Qt::AlignVCenter)
        top += (box.height() - count * metrics.height()) / 2;
    else if (alignment & Qt::AlignBottom)
        top += box.height() - count * metrics.height();

    // The rest is in device pixels, measured with the font at the size the
    // glyphs are drawn at: their rounding decides a pixel more or less.
    QFont deviceFont(font);
    if (font.pixelSize() > 0)
        deviceFont.setPixelSize(qRound(font.pixelSize() * dpr));
    else
        deviceFont.setPointSizeF(font.pointSizeF() * dpr);
    QList<QRectF> measured;
    for (const QString &line : lines)
        measured << measure(line, deviceFont);
    const QRectF device(box.topLeft() * dpr, box.size() * dpr);
    qreal pitch = metrics.height() * dpr;
    qreal firstBaseline = (top + metrics.ascent()) * dpr;

    // The ink of the whole block, from the first line's top to the last one's bottom.
    auto inkTop = [&](qreal baseline) { return baseline + measured.first().top(); };
    auto inkBottom = [&](qreal baseline, qreal step) {
        return baseline + (count - 1) * step + measured.last().bottom();
    };
    const qreal highest = device.top() + kClear, lowest = device.bottom() - kClear;
    const bool inked = std::any_of(measured.begin(), measured.end(), [](const QRectF &ink) { return !ink.isEmpty(); });
    if (inked && (inkTop(firstBaseline) < highest || inkBottom(firstBaseline, pitch) > lowest)) {
        // Close the lines up, as far as their letters allow, to what the box holds.
        qreal closest = 0;
        for (qsizetype i = 1; i < n; ++i)
            closest = std::max(closest, measured[i - 1].bottom() - measured[i].top() + kClear);
        const qreal inkSpan = measured.first().top() - measured.last().bottom();
        if (n > 1)
            pitch = std::floor(std::clamp((lowest - highest + inkSpan) / (count - 1), std::min(closest, pitch), pitch));
        // Then move the block up no further than it must, its top staying clear;
        // a block that cannot have its clear pixel is centred on the box.
        // Whole pixels: the glyphs land on whole pixels whatever is asked.
        const qreal bottomClear = lowest - inkBottom(0, pitch), topClear = highest - measured.first().top();
        firstBaseline = bottomClear >= topClear
                            ? std::max(std::floor(std::min(firstBaseline, bottomClear)), std::ceil(topClear))
                            : std::round((bottomClear + topClear) / 2);
    }

    QList<PlacedLine> placed;
    for (qsizetype i = 0; i < n; ++i) {
        const qreal baseline = firstBaseline + qreal(i) * pitch;
        const QRectF &ink = measured[i];
        qreal dx = 0;
        if (!ink.isEmpty()) {
            const qreal left = alignedLeft(box, metrics.horizontalAdvance(lines[i]), alignment) * dpr;
            dx = sideways(device, ink.translated(left, baseline), alignment) / dpr;
        }
        placed << PlacedLine{lines[i],
                             QRectF(box.left() + dx, baseline / dpr - metrics.ascent(), box.width(), metrics.height())};
    }
    return placed;
}

} // namespace controls
