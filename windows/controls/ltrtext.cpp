#include "ltrtext.h"

#include "inkfit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPaintDevice>
#include <QPainter>

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

} // namespace controls
