#include "ltrtext.h"

#include "inkfit.h"

#include <QEvent>
#include <QFontMetrics>
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

void drawText(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text, Wrap wrap)
{
    // An empty cell need not load its font (the board's is large): start-up
    // draws nine of them.
    if (text.isEmpty())
        return;
    // AlignAbsolute: "left" means the left edge even under a right-to-left layout.
    const int flags = int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute | Qt::AlignTop)
                      | Qt::TextForceLeftToRight | Qt::TextSingleLine;
    const QFontMetrics metrics(painter.font());
    const QStringList lines = wrap == Wrap::AtWords ? wrapAtBlanks(text, metrics, rect.width()) : QStringList{text};
    for (const PlacedLine &line :
         placeLines(lines, painter.font(), rect, alignment, painter.device()->devicePixelRatioF()))
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
