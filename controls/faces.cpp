#include "faces.h"

#include "ltrtext.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QWidget>

namespace controls {

namespace {
bool designedFacesPreferred = false;

bool designedFaceHere(const QString &face)
{
    static QHash<QString, bool> here;
    const auto known = here.constFind(face);
    if (known != here.cend())
        return *known;
    return here[face] = QFontDatabase::writingSystems(face).contains(QFontDatabase::Hebrew);
}
} // namespace

void preferDesignedFaces()
{
    designedFacesPreferred = true;
}

QString standIn(const QString &face, double points)
{
    // Its ink is kept inside each box (inkfit.h) as the stand-ins' is.
    if (designedFacesPreferred && designedFaceHere(face))
        return face;
    if (face == QLatin1StringView("David")) {
        // David CLM draws David itself, but is too wide or too tall for the
        // smallest boxes: the 16-pixel address lines of About (Latin with
        // descenders under a lamed) take the plainer Nachlieli, and
        // "תיקו" in its 36-pixel box the narrower Frank Ruehl, David's
        // classic serif relative.
        if (points <= 12)
            return QStringLiteral("Nachlieli CLM");
        if (points < 18)
            return QStringLiteral("Frank Ruehl CLM");
        return QStringLiteral("David CLM");
    }
    // Miriam, the Hebrew sans that Windows itself paired with MS Sans Serif,
    // is also the narrowest Culmus sans: " :נבנה ע"י" keeps to one line.
    if (face == QLatin1StringView("MS Sans Serif"))
        return QStringLiteral("Miriam CLM");
    return face;
}

bool holdsEveryLetter(const QString &family)
{
    return family != QLatin1StringView("Miriam CLM");
}

QFont windowFont()
{
    QFont font(standIn(QStringLiteral("MS Sans Serif"), 9));
    font.setPointSizeF(9);
    return font;
}

void drawCaptionsAhead(QWidget *window)
{
    // Each captioned control draws itself once, as it will on screen: its
    // font engines, glyphs and the places of its lines are then ready.
    const qreal ratio = window->devicePixelRatioF();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(w);
        auto *button = qobject_cast<QAbstractButton *>(w);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty() || !w->isVisibleTo(window))
            continue;
        QImage scratch(w->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        scratch.setDevicePixelRatio(ratio);
        w->render(&scratch, {}, {}, {});
    }
}

} // namespace controls
