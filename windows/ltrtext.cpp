#include "ltrtext.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

namespace ltr {

void drawText(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text, Wrap wrap)
{
    // AlignAbsolute: "left" means the left edge even under a right-to-left layout.
    const int flags = int(alignment | Qt::AlignAbsolute) | Qt::TextForceLeftToRight
                      | (wrap == Wrap::AtWords ? Qt::TextWordWrap : Qt::TextSingleLine);
    painter.drawText(rect, flags, text);
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

void adopt(QLabel *label)
{
    label->installEventFilter(new LabelPainter(label));
}

} // namespace ltr
