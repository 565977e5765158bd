#include "appsetup.h"

#include "accessibility.h"
#include "heldkeys.h"
#include "keyplaces.h"
#include "shippedfaces.h"
#include "startup.h"
#include "windowgroup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QThreadPool>
#include <QTranslator>
#include <future>

namespace app {

namespace {
std::future<QList<QImage>> iconSizes;
}

void setShownIcon()
{
    if (!iconSizes.valid())
        return; // set already
    QIcon icon;
    for (const QImage &image : iconSizes.get())
        icon.addPixmap(QPixmap::fromImage(image));
    QApplication::setWindowIcon(icon);
}

void configure()
{
    platform::useShippedFaces(); // before any caption picks its face
    // Qt reads the desktop's font list from fontconfig on first use, some
    // 10 ms: it is read on the second core while the windows are built (the
    // font database's functions are thread-safe).
    if (platform::helperThreadsAtStartup())
        QThreadPool::globalInstance()->start([] { QFontDatabase::families(); });

    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral(VELMORA_NAME));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));

    // Left to right even on a Hebrew desktop; the menu bar runs from the left.
    QApplication::setLayoutDirection(Qt::LeftToRight);

    // Qt's own strings, the role names screen readers say among them, in the
    // player's language. After the direction above, which a right-to-left
    // catalogue would otherwise turn round.
    auto *qtStrings = new QTranslator(qApp);
    if (qtStrings->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtStrings);
    else
        delete qtStrings;

    // The sizes title bars and task switchers draw, up to 2x, so that each gets
    // a sharp one. Launchers and software centres read the installed icons;
    // the larger ones here would cost start-up time (Qt decodes and sends every
    // size to the window manager) for nobody. Decoded on another core while
    // the windows are built; set just before the main window is shown, or by
    // the event loop where nothing shows it first (the tests).
    iconSizes = std::async(platform::helperThreadsAtStartup() ? std::launch::async : std::launch::deferred, [] {
        QList<QImage> sizes;
        for (int size : {16, 24, 32, 48, 64})
            sizes.append(QImage(QStringLiteral(":/velmora/icons/%1.png").arg(size)));
        return sizes;
    });
    QMetaObject::invokeMethod(qApp, &setShownIcon, Qt::QueuedConnection);

    platform::actOnlyOnFreshKeys(qApp);
    platform::matchShortcutsByPlace(qApp);
    platform::keepWindowsTogether();
    controls::installAccessibility();
}

} // namespace app
