#pragma once

#include <QAnyStringView>
#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdlib>
#include <span>
#include <vector>

class QWidget;

// A window's make-up as a constant table, listed front to back as it stacks.
namespace controls {

enum class Kind { Label, Line, Button, Option, Picture };

struct Colour
{
    bool set = false;
    unsigned char r = 0, g = 0, b = 0;
    QColor toQColor() const { return QColor(r, g, b); }
};
constexpr Colour rgb(unsigned char r, unsigned char g, unsigned char b)
{
    return {true, r, g, b};
}

// A face of nullptr leaves the window's default font.
struct Font
{
    const char *face = nullptr;
    double points = 0;
    int weight = 400;
};

enum class Align { Left, Centre, Right };

struct Control
{
    const char *name;
    Kind kind;
    // Twips: left, top, width, height; for a line its end points x1, y1, x2, y2.
    int at[4];
    const char *caption = ""; // UTF-8; a picture's resource path
    Font font = {};
    Colour back = {}; // labels left without one take the window's background
    Colour fore = {};
    Align align = Align::Left;
    int lineWidth = 1;
    int index = -1;      // the index of a member of a control array
    int tab = -1;        // tab order of a control that takes the focus
    bool framed = false; // a thin single-line frame around a label
    bool hidden = false;
    bool checked = false;    // an option button's initial state
    bool decorative = false; // drawn for looks only: hidden from screen readers, like every line
};

// The controls of one window by the names its table gives them.
class Controls
{
public:
    // The control of that name (and index, in a control array) and kind; or
    // null, with `why` saying what the table holds instead.
    template <class T = QWidget>
    T *find(QAnyStringView name, int index = -1, QString *why = nullptr) const
    {
        const QString described = name.toString() + (index >= 0 ? QStringLiteral("(%1)").arg(index) : QString());
        for (const Entry &e : entries_) {
            if (name != QLatin1StringView(e.name) || index != e.index)
                continue;
            if (T *control = qobject_cast<T *>(e.widget))
                return control;
            if (why)
                *why = QStringLiteral("control %1 is not a %2")
                           .arg(described, QLatin1StringView(T::staticMetaObject.className()));
            return nullptr;
        }
        if (why)
            *why = QStringLiteral("no control named ") + described;
        return nullptr;
    }

    // A name or kind that the table does not hold is a mistake in the
    // program: it ends here, naming it, rather than hand back a null pointer
    // to be found later. (An exception may not cross Qt's event loop.)
    template <class T = QWidget>
    T *get(QAnyStringView name, int index = -1) const
    {
        QString why;
        if (T *control = find<T>(name, index, &why))
            return control;
        qFatal("velmora: %s", qPrintable(why));
        std::abort();
    }

    void add(const Control &c, QWidget *widget) { entries_.push_back({c.name, c.index, widget}); }

private:
    struct Entry
    {
        const char *name;
        int index;
        QWidget *widget;
    };
    std::vector<Entry> entries_;
};

// Creates the controls as children of `parent`, named after the table, stacked
// in the table's order, with the focus chain following the tab indexes.
Controls build(QWidget *parent, std::span<const Control> table);

QFont toQFont(const Font &font);

} // namespace controls
