#include "accessibility.h"

#include "captionlabel.h"
#include "ltrtext.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QSet>

namespace controls {

namespace {

// Widgets marked as one thing to readers; a widget leaves its set as it is destroyed.
class Marked
{
public:
    void add(QWidget *w)
    {
        if (!widgets_.contains(w)) {
            widgets_.insert(w);
            QObject::connect(w, &QObject::destroyed, [this, w] { widgets_.remove(w); });
        }
    }
    bool contains(const QObject *o) const { return widgets_.contains(o); }

private:
    QSet<const QObject *> widgets_;
};

Marked cells, hiddenControls, dialogs, notices;

bool hidden(QObject *object)
{
    return hiddenControls.contains(object);
}

// A window or client area whose decorative controls readers do not walk through.
class Container : public QAccessibleWidget
{
public:
    Container(QWidget *w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> shown = children();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(children().indexOf(child->object())) : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        // A dialog is modal while it is shown modally, as all of ours are.
        if (role() == QAccessible::Dialog)
            s.modal = widget()->isModal() && widget()->isVisible();
        return s;
    }

private:
    QList<QWidget *> children() const
    {
        QList<QWidget *> shown;
        for (QObject *o : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && !w->isWindow() && !hidden(w))
                shown << w;
        }
        return shown;
    }
};

// QAccessibleWidget is an action interface already; a cell's one action is a
// press. Its name is the one its window gives it (the mark, the place, whose turn).
class Cell : public QAccessibleWidget
{
public:
    explicit Cell(CaptionLabel *cell) : QAccessibleWidget(cell, QAccessible::Button) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true; // the keys and the reader's press move the focus here
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &action) override
    {
        if (auto *cell = qobject_cast<CaptionLabel *>(widget()); cell && action == pressAction())
            cell->activate();
    }
};

// A menu item with its caption in reading order: Qt's own gives readers the
// caption as stored, and an action has no accessible name of its own.
class MenuItem : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MenuItem(QMenu *menu, QAction *action) : menu_(menu), action_(action) {}

    bool isValid() const override { return menu_ && action_; }
    QObject *object() const override { return action_; }
    QWindow *window() const override { return menu_ ? menu_->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(menu_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return readingOrder(action_->text());
        return t == QAccessible::Accelerator ? action_->shortcut().toString() : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const QRect r = menu_->actionGeometry(action_);
        return QRect(menu_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !menu_->isVisible() || !action_->isVisible();
        s.focusable = true;
        s.focused = menu_->activeAction() == action_;
        s.disabled = !action_->isEnabled();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override
    {
        return action_->shortcut().isEmpty() ? QStringList() : QStringList{action_->shortcut().toString()};
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && action_->isEnabled())
            action_->trigger();
    }

private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object)) {
        auto *menu = qobject_cast<QMenu *>(action->parent());
        return menu && readingOrder(action->text()) != action->text().simplified() ? new MenuItem(menu, action)
                                                                                   : nullptr;
    }
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    // A widget being destroyed (its focus cleared as it goes) is a plain
    // QWidget by now, no longer what it was marked as.
    if (auto *cell = qobject_cast<CaptionLabel *>(w); cell && cells.contains(w))
        return new Cell(cell);
    if (notices.contains(w))
        return new QAccessibleWidget(w, QAccessible::Notification);
    if (dialogs.contains(w))
        return new Container(w, QAccessible::Dialog);
    // Any other widget that holds controls hidden from readers: the main
    // window's client area, with its lines.
    for (QObject *child : w->children())
        if (hidden(child))
            return new Container(w, QAccessible::Client);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(factory);
}

void makeBoardCell(CaptionLabel *cell)
{
    cells.add(cell);
}

void hideFromReaders(QWidget *control)
{
    hiddenControls.add(control);
}

void readAsNotice(QWidget *notice)
{
    notices.add(notice);
}

void readAsDialog(QWidget *window)
{
    dialogs.add(window);
}

void nameInReadingOrder(QWidget *control, const QString &caption)
{
    if (const QString read = readingOrder(caption); read != caption.simplified())
        control->setAccessibleName(read);
}

} // namespace controls
