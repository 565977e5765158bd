#include "shippedfaces.h"

#include "faces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace platform {

void useShippedFaces()
{
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString &file : fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
    controls::preferDesignedFaces();
}

} // namespace platform
