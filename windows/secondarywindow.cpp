#include "secondarywindow.h"

#include "accessibility.h"
#include "titlebar.h"
#include "windowmanager.h"

#include <QCloseEvent>

SecondaryWindow::SecondaryWindow(const windows::WindowProperties &properties, std::span<const controls::Control> table)
    : QDialog(nullptr, platform::windowFlags()), client_(platform::withTitleBar(this)),
      controls_(controls::build(client_, table))
{
    windows::applyProperties(this, client_, properties);
    controls::readAsDialog(this);
}

int SecondaryWindow::exec()
{
    platform::comeUpOverActiveWindow(this);
    return QDialog::exec();
}

void SecondaryWindow::reject()
{
    say(QStringLiteral("אין מה לבטל"));
}

void SecondaryWindow::leave()
{
    // A double-click, or the close box after the button, arrives after the
    // first has already been handled.
    if (std::exchange(left_, true))
        return;
    emit left();
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    // The close box leaves the window like its button, never silently.
    event->accept();
    leave();
}

void SecondaryWindow::showEvent(QShowEvent *event)
{
    // QDialog would centre the window on the screen; each of ours has its own
    // placement, and some leave it to the window manager.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
}
