#include "controls.h"

#include "accessibility.h"
#include "captionbutton.h"
#include "captionlabel.h"
#include "faces.h"
#include "lineshape.h"
#include "optionbutton.h"
#include "twips.h"

#include <QIcon>
#include <QImageReader>
#include <QRegion>
#include <algorithm>
#include <memory>
#include <vector>

namespace controls {

QFont toQFont(const Font &font)
{
    QFont f(standIn(QString::fromLatin1(font.face), font.points));
    f.setPointSizeF(font.points);
    f.setWeight(QFont::Weight(font.weight));
    if (holdsEveryLetter(f.family()))
        f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

namespace {

Qt::Alignment toQt(Align align)
{
    switch (align) {
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

QRect rectOf(const Control &c)
{
    return controls::rectToPx(c.at[0], c.at[1], c.at[2], c.at[3]);
}

QWidget *makeLabel(QWidget *parent, const Control &c)
{
    auto *label = new CaptionLabel(parent);
    label->setText(QString::fromUtf8(c.caption));
    label->setAlignment(toQt(c.align) | Qt::AlignTop);
    label->setFramed(c.framed);
    label->setOwnInk(c.fore.set);
    return label;
}

// A line of the table, and the designed backgrounds of the labels behind it
// (later in the table) that it crosses, with its window's own where they
// leave some of it uncovered. Its ends, where it meets the lines and labels
// it joins, do not count.
QWidget *makeLine(QWidget *parent, std::span<const Control> table, const Control &c)
{
    const QPoint from = controls::toPx(c.at[0], c.at[1]), to = controls::toPx(c.at[2], c.at[3]);
    if (c.fore.set)
        return new LineShape(parent, from, to, c.lineWidth, c.fore.toQColor());
    const QRect across = QRect(from, to).normalized();
    QRegion uncovered(across.width() > across.height() ? across.adjusted(1, 0, -1, 0) : across.adjusted(0, 1, 0, -1));
    QList<QColor> behind;
    for (const Control &b : table.subspan(size_t(&c - table.data()) + 1)) {
        if (b.kind == Kind::Label && b.back.set && uncovered.intersects(rectOf(b))) {
            behind << b.back.toQColor();
            uncovered -= rectOf(b);
        }
    }
    return new LineShape(parent, from, to, c.lineWidth, {}, behind, !uncovered.isEmpty());
}

QWidget *makePicture(QWidget *parent, const Control &c)
{
    auto *picture = new QLabel(parent);
    // Drawn at 1x, 2x and 3x ("name@2x.png"): the one for the screen's scale,
    // or the next larger one made smaller, never a bitmap enlarged.
    const QString file = QString::fromLatin1(c.caption);
    QIcon drawings;
    for (const char *scale : {"", "@2x", "@3x"})
        drawings.addFile(QString(file).insert(file.lastIndexOf(u'.'), QLatin1StringView(scale)));
    picture->setPixmap(drawings.pixmap(QImageReader(file).size(), picture->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

QWidget *make(QWidget *parent, std::span<const Control> table, const Control &c)
{
    switch (c.kind) {
    case Kind::Label:
        return makeLabel(parent, c);
    case Kind::Line:
        return makeLine(parent, table, c);
    case Kind::Button: {
        auto *button = new CaptionButton(QString::fromUtf8(c.caption), parent);
        // Not the dialog's default because it has the focus: a window's one
        // default button is named as such, and Enter presses the focused one.
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Option: {
        auto *option = new OptionButton(QString::fromUtf8(c.caption), parent);
        option->setChecked(c.checked);
        return option;
    }
    case Kind::Picture:
        return makePicture(parent, c);
    }
    return nullptr;
}

// Name, place, font and colours, as the table gives them.
void applyLook(QWidget *w, const Control &c)
{
    w->setObjectName(QString::fromLatin1(c.name));
    if (auto *label = qobject_cast<CaptionLabel *>(w))
        label->setIndex(c.index);
    else if (auto *line = qobject_cast<LineShape *>(w))
        line->setIndex(c.index);
    if (c.kind != Kind::Line)
        w->setGeometry(rectOf(c));
    if (c.font.face)
        w->setFont(toQFont(c.font));
    // Only a control with colours of its own gets a palette of its own.
    const bool fore = c.fore.set && c.kind != Kind::Line; // a line keeps its colour itself
    if (c.back.set || fore) {
        QPalette palette = w->palette();
        if (c.back.set)
            palette.setColor(QPalette::Window, c.back.toQColor());
        if (fore)
            palette.setColor(QPalette::WindowText, c.fore.toQColor());
        w->setPalette(palette);
    }
    if (c.kind == Kind::Line || c.decorative)
        controls::hideFromReaders(w);
    else if (c.kind != Kind::Picture)
        controls::nameInReadingOrder(w, QString::fromUtf8(c.caption));
}

std::unique_ptr<QWidget> focusPlaceholder(QWidget *parent)
{
    auto placeholder = std::make_unique<QWidget>(parent);
    placeholder->setFocusPolicy(Qt::TabFocus);
    controls::hideFromReaders(placeholder.get());
    return placeholder;
}

} // namespace

Controls build(QWidget *parent, std::span<const Control> table)
{
    Controls controls;
    std::vector<std::pair<int, QWidget *>> focusChain;
    // Qt 6.4's setTabOrder leaves the first and the last widget of a focus chain
    // where they are; two placeholders at the ends keep the controls in between.
    std::unique_ptr<QWidget> head = focusPlaceholder(parent);
    // Qt stacks a later sibling over an earlier one, so the back comes first.
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        QWidget *w = make(parent, table, *it);
        applyLook(w, *it);
        // A label is a stop of the Tab key only (About's texts, for readers).
        w->setFocusPolicy(it->tab < 0 ? Qt::NoFocus : it->kind == Kind::Label ? Qt::TabFocus : Qt::StrongFocus);
        if (it->tab >= 0)
            focusChain.emplace_back(it->tab, w);
        w->setVisible(!it->hidden);
        controls.add(*it, w);
    }
    std::unique_ptr<QWidget> tail = focusPlaceholder(parent);
    std::sort(focusChain.begin(), focusChain.end(), [](auto &a, auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < focusChain.size(); ++i)
        QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
    // The first in tab order has the focus when the window opens.
    if (!focusChain.empty())
        focusChain.front().second->setFocus();
    return controls;
}

} // namespace controls
