#include "appsetup.h"
#include "windows/mainwindow.h"
#include "windows/registry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::configure();
    windows::velmora().show();
    const int status = QApplication::exec();
    windows::unload(windows::Id::Velmora);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
