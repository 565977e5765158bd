#include "appsetup.h"
#include "windowowner.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::configure();
    int status = 0;
    {
        WindowOwner windows;
        windows.mainWindow().show();
        status = QApplication::exec();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
