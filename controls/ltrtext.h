#pragma once

#include <QString>
#include <QStringList>

class QFontMetrics;
class QLabel;
class QPainter;
class QRect;

// Every text of the program is laid out with a left-to-right base direction,
// whatever its first strong character: a caption stored as "?מי ראשון" shows
// its "?" at the left end, where the Hebrew sentence ends. Qt's labels pick the
// direction from the text itself, so they are drawn through here instead.
namespace controls {

// Lines break at blanks only, as the windows were designed with: a "?" that
// stands before a word stays with it on the next line.
enum class Wrap { AtWords, SingleLine };

QStringList wrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

void drawText(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text,
              Wrap wrap = Wrap::AtWords);

// Makes a QLabel that Qt created (inside a message box, say) draw through
// drawText. The label keeps its text exactly as stored.
void drawLeftToRight(QLabel *label);

// A caption in the order a reader of Hebrew reads it on the screen, for
// screen readers. A caption that begins with Latin or punctuation was written
// for its left-to-right line ("?מי ראשון", " X-שחקן ... כלומר ה "): it is
// given as the right-to-left sentence that shows the same way ("מי ראשון?",
// "... כלומר ה-X"). One that begins with Hebrew is in reading order already,
// but a "?" written before a word, to stand at the left end of its line, ends
// the sentence.
QString readingOrder(const QString &caption);

} // namespace controls
