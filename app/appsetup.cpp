#include "appsetup.h"

#include "windows/heldkeys.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace app {

void configure()
{
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));

    // Left to right even on a Hebrew desktop; the menu bar runs from the left.
    QApplication::setLayoutDirection(Qt::LeftToRight);

    // The faces the windows ask for, with their nearest Hebrew-capable stand-ins.
    QFont::insertSubstitutions(QStringLiteral("David"), {QStringLiteral("David CLM")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Nachlieli CLM"), QStringLiteral("DejaVu Sans")});

    QIcon icon;
    icon.addFile(QStringLiteral(":/velmora/velmora-16.png"));
    icon.addFile(QStringLiteral(":/velmora/velmora-32.png"));
    QApplication::setWindowIcon(icon);

    windows::actOnceOnHeldEnter(qApp);
}

} // namespace app
