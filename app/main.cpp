#include "appsetup.h"
#include "commandline.h"
#include "windowowner.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// While Qt starts, a failure to reach any display ends the program with one
// line of ours and status 1, instead of Qt's messages, abort and core dump.
// Qt's other messages are kept until it has started.
QStringList startUpWarnings;

void startUpMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        const char *wayland = std::getenv("WAYLAND_DISPLAY");
        if (wayland && *wayland)
            std::fprintf(stderr, "velmora: cannot open the Wayland display \"%s\" (is qt6-wayland installed?)"
                                 " nor an X display\n", wayland);
        else
            std::fputs("velmora: cannot open a display: Qt found no platform it could start on\n", stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (type != QtDebugMsg && type != QtInfoMsg)
        startUpWarnings << message;
}

} // namespace

int main(int argc, char *argv[])
{
    const app::Invocation invocation = app::readCommandLine(argc, argv);
    switch (invocation.action) {
    case app::Invocation::Action::Help:
    case app::Invocation::Action::Version:
        std::fputs(invocation.text.c_str(), stdout);
        return 0;
    case app::Invocation::Action::Error:
        std::fputs(invocation.text.c_str(), stderr);
        return 2;
    case app::Invocation::Action::Play:
        break;
    }
    if (const std::string problem = app::displayProblem(argc, argv); !problem.empty()) {
        std::fputs(problem.c_str(), stderr);
        return 1;
    }

    const QtMessageHandler qtHandler = qInstallMessageHandler(startUpMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    // A platform that started without a screen (linuxfb without a frame
    // buffer, say) has nowhere to show a window.
    if (QGuiApplication::screens().isEmpty()) {
        std::fprintf(stderr, "velmora: cannot open a display: the platform \"%s\" has no screen\n",
                     qPrintable(QGuiApplication::platformName()));
        return 1;
    }
    for (const QString &warning : std::as_const(startUpWarnings))
        qWarning("%s", qPrintable(warning));
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
