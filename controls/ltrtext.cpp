#include "ltrtext.h"

#include "inkfit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace controls {

QStringList wrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        QString line;
        qsizetype at = 0;
        while (at < paragraph.size()) {
            // The next word with the blanks before it.
            qsizetype end = at;
            while (end < paragraph.size() && paragraph[end] == u' ')
                ++end;
            const qsizetype blanks = end - at;
            while (end < paragraph.size() && paragraph[end] != u' ')
                ++end;
            const QString piece = paragraph.mid(at, end - at);
            if (line.trimmed().isEmpty() || metrics.horizontalAdvance(line + piece) <= width) {
                line += piece;
            } else {
                lines << line;
                line = piece.mid(blanks); // the break takes the blanks
            }
            at = end;
        }
        lines << line;
    }
    return lines;
}

namespace {

// What decides where a caption's lines go.
struct Placement
{
    QString text, font;
    QRect rect;
    int alignment, wrap, dpi;
    qreal dpr;
    bool operator==(const Placement &) const = default;
};

size_t qHash(const Placement &p, size_t seed = 0)
{
    return qHashMulti(seed, p.text, p.font, p.rect.x(), p.rect.y(), p.rect.width(), p.rect.height(), p.alignment,
                      p.wrap, p.dpi, p.dpr);
}

// Placing a caption lays out and measures each of its lines several times:
// a caption is placed once, when first drawn (start-up draws them before the
// window is on screen), and drawn from then on where it was placed.
const QList<PlacedLine> &placed(const Placement &key, const QFont &font)
{
    static QHash<Placement, QList<PlacedLine>> known;
    if (const auto found = known.constFind(key); found != known.cend())
        return *found;
    constexpr qsizetype kKept = 512; // captions change (tallies count up): the cache is not let grow
    if (known.size() >= kKept)
        known.clear();
    const QFontMetrics metrics(font);
    const QStringList lines =
        Wrap(key.wrap) == Wrap::AtWords ? wrapAtBlanks(key.text, metrics, key.rect.width()) : QStringList{key.text};
    return known[key] = placeLines(lines, font, key.rect, Qt::Alignment(key.alignment), key.dpr);
}

} // namespace

void drawText(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text, Wrap wrap)
{
    // An empty cell need not load its font (the board's is large): start-up
    // draws nine of them.
    if (text.isEmpty())
        return;
    // AlignAbsolute: "left" means the left edge even under a right-to-left layout.
    const int flags = int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute | Qt::AlignTop)
                      | Qt::TextForceLeftToRight | Qt::TextSingleLine;
    const QPaintDevice *device = painter.device();
    const Placement key{text,
                        painter.font().key(),
                        rect,
                        int(alignment),
                        int(wrap),
                        device->logicalDpiY(),
                        device->devicePixelRatioF()};
    for (const PlacedLine &line : placed(key, painter.font()))
        painter.drawText(line.frame, flags, line.text);
}

namespace {

class LabelPainter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *label = qobject_cast<QLabel *>(watched);
        if (!label || event->type() != QEvent::Paint)
            return false;
        QPainter painter(label);
        painter.setPen(label->palette().color(label->foregroundRole()));
        drawText(painter, label->contentsRect(), label->alignment(), label->text());
        return true;
    }
};

} // namespace

void drawLeftToRight(QLabel *label)
{
    label->installEventFilter(new LabelPainter(label));
}

namespace {

bool rightToLeft(QChar c)
{
    return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
}

bool leftToRight(QChar c)
{
    return c.direction() == QChar::DirL || c.direction() == QChar::DirEN || c.direction() == QChar::DirAN;
}

// Which characters run right to left in a line of the given base direction
// (the bidirectional algorithm for text without embeddings): strong ones
// their own way, the others the way of the strong ones on both sides when
// they agree, else the line's.
QList<bool> runsRightToLeft(const QString &line, bool baseRightToLeft)
{
    QList<bool> rtl(line.size(), baseRightToLeft);
    qsizetype i = 0;
    while (i < line.size()) {
        if (rightToLeft(line[i]) || leftToRight(line[i])) {
            rtl[i] = rightToLeft(line[i]);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < line.size() && !rightToLeft(line[end]) && !leftToRight(line[end]))
            ++end;
        const bool before = i > 0 ? rtl[i - 1] : baseRightToLeft;
        const bool after = end < line.size() ? rightToLeft(line[end]) : baseRightToLeft;
        for (qsizetype k = i; k < end; ++k)
            rtl[k] = before == after ? before : baseRightToLeft;
        i = end;
    }
    return rtl;
}

// Reverses each run of characters marked `reversed`.
QString reverseRuns(QString text, const QList<bool> &reversed)
{
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && reversed[end] == reversed[i])
            ++end;
        if (reversed[i])
            std::reverse(text.begin() + i, text.begin() + end);
        i = end;
    }
    return text;
}

} // namespace

QString readingOrder(const QString &caption)
{
    QString text = caption.simplified();
    if (text.isEmpty())
        return text;
    if (rightToLeft(text[0])) {
        QString sentence = text;
        if (sentence.contains(QLatin1StringView(" ?")) && !sentence.endsWith(u'?'))
            sentence.replace(QLatin1StringView(" ?"), QLatin1StringView(" ")).append(u'?');
        return sentence;
    }
    // As shown on a left-to-right line, read from the right; Latin runs then
    // keep their own order, as a right-to-left line shows them.
    QString shown = reverseRuns(text, runsRightToLeft(text, false));
    std::reverse(shown.begin(), shown.end());
    QList<bool> latin = runsRightToLeft(shown, true);
    for (bool &l : latin)
        l = !l;
    return reverseRuns(shown, latin);
}

} // namespace controls
