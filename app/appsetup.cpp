#include "appsetup.h"

#include "windows/accessibility.h"
#include "windows/heldkeys.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace app {

void configure()
{
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral(VELMORA_NAME));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));

    // Left to right even on a Hebrew desktop; the menu bar runs from the left.
    QApplication::setLayoutDirection(Qt::LeftToRight);

    // The faces the windows ask for, with their nearest Hebrew-capable stand-ins.
    QFont::insertSubstitutions(QStringLiteral("David"), {QStringLiteral("David CLM")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Nachlieli CLM"), QStringLiteral("DejaVu Sans")});

    // Every size drawn, so that title bars and task switchers get a sharp one.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    windows::actOnceOnHeldEnter(qApp);
    windows::installAccessibility();
}

} // namespace app
