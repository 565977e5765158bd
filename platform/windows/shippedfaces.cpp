#include "shippedfaces.h"

#include "faces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace platform {

bool useShippedFaces()
{
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    const QStringList files = fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
    for (const QString &file : files)
        QFontDatabase::addApplicationFont(fonts.filePath(file));
    controls::preferDesignedFaces();
    return !files.isEmpty();
}

} // namespace platform
