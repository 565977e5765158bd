#include "windowmanager.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace platform {

void showNoTitleBarIcon(QWidget *window)
{
    // A clear icon, at the sizes title bars draw: openbox, xfwm4 and fluxbox
    // show nothing of it. (A null icon would fall back to the program's.)
    QIcon clear;
    for (int size : {16, 24, 32}) {
        QPixmap nothing(size, size);
        nothing.fill(Qt::transparent);
        clear.addPixmap(nothing);
    }
    window->setWindowIcon(clear);
    leaveOutWindowMenu(window);
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

void comeUpOverActiveWindow(QWidget *window)
{
    if (!onWayland())
        return;
    if (QWidget *from = QApplication::activeWindow(); from && from != window) {
        window->winId();
        window->windowHandle()->setTransientParent(from->windowHandle());
    }
}

} // namespace platform
