#include "application.h"
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
        std::fputs(qPrintable(app::displayProblem(startUpWarnings)), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (type != QtDebugMsg && type != QtInfoMsg)
        startUpWarnings << message;
}

} // namespace

int main(int argc, char *argv[])
{
    {
        // --help, --version and a mistyped option need no display.
        const QCoreApplication beforeDisplay(argc, argv);
        if (const std::optional<app::Answer> answer = app::answerWithoutDisplay(QCoreApplication::arguments())) {
            std::fputs(qPrintable(answer->text), answer->status == 0 ? stdout : stderr);
            return answer->status;
        }
    }

    const QtMessageHandler qtHandler = qInstallMessageHandler(startUpMessages);
    Application application(argc, argv);
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
        windows.showMainWindow();
        status = QApplication::exec();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
