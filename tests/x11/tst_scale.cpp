// The windows on scaled screens, in real windows: at 2x every pixel of the 1x
// window becomes a uniform 2x2 block of the same colour (text and pictures
// aside, which are drawn afresh at full resolution), at 1.5x frames and lines
// are as wide on every side and every framed control sits at its scaled place,
// and at 1x and 2x every caption lies whole inside its box.
#include "desktop.h"

#include "aboutwindow.h"
#include "appsetup.h"
#include "captionlabel.h"
#include "contrast.h"
#include "howtoplay.h"
#include "lineshape.h"
#include "optionbutton.h"
#include "resultwindow.h"
#include "starterchoice.h"
#include "windowowner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

using namespace desktop;

namespace {

QImage grab(const QRect &onScreen)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What a window draws afresh at each scale, in logical pixels, read from the
// window itself (built hidden in this process): text (labels with a caption,
// and buttons) and pictures, which come drawn at 1x, 2x and 3x.
QList<QRect> drawnAfresh(QWidget *client)
{
    QList<QRect> boxes;
    for (QWidget *w : client->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(w);
        if ((label && (!label->text().isEmpty() || !label->pixmap().isNull())) || qobject_cast<QAbstractButton *>(w))
            boxes << QRect(w->mapTo(client, QPoint()), w->size());
    }
    return boxes;
}

// 1x pixels outside text whose 2x block is not uniform and of their colour.
int blocksThatDiffer(const QImage &one, const QImage &two, const QList<QRect> &text, QString *first)
{
    int differ = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            if (std::any_of(text.begin(), text.end(), [&](const QRect &r) { return r.contains(x, y); }))
                continue;
            const QRgb colour = one.pixel(x, y);
            bool same = true;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    same &= two.pixel(2 * x + dx, 2 * y + dy) == colour;
            if (!same && differ++ == 0 && first)
                *first = QStringLiteral("first at (%1,%2)").arg(x).arg(y);
        }
    }
    return differ;
}

// The width of a frame's side whose outer edge lies within a device pixel of
// `p` (a fractional scale may round either way), measured inward; 0 if none.
int side(const QImage &img, QPoint p, QPoint step)
{
    p -= step;
    for (int tries = 0; tries < 3 && qGray(img.pixel(p)) >= 40; ++tries)
        p += step;
    int n = 0;
    while (img.rect().contains(p) && qGray(img.pixel(p)) < 40) {
        ++n;
        p += step;
    }
    return n;
}

// The window as built in this process, by its name.
QWidget *client(WindowOwner &owner, const QString &name)
{
    using game::Result;
    const std::pair<const char *, QWidget *> windows[] = {{"Velmora", owner.mainWindow().centralWidget()},
                                                          {"winx", &owner.resultWindow(Result::XWon)},
                                                          {"wino", &owner.resultWindow(Result::OWon)},
                                                          {"tako", &owner.resultWindow(Result::Draw)},
                                                          {"first", &owner.starterChoice()},
                                                          {"HowToPlay", &owner.howToPlay()},
                                                          {"frmAbout", &owner.about()}};
    for (auto [n, w] : windows)
        if (name == QLatin1StringView(n))
            return w;
    return nullptr;
}

// The captions of a window whose ink reaches an edge of their box (in `shot`,
// the client area at `scale`): cut there, or touching a frame. Only the edges
// inside the window count, and only where no control stacked above covers them.
QStringList captionsAtTheirEdge(const QImage &shot, QWidget *client, double scale)
{
    QStringList cut;
    const QObjectList stacked = client->children();
    for (QWidget *w : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        auto *label = qobject_cast<CaptionLabel *>(w);
        auto *button = qobject_cast<QPushButton *>(w);
        if (!w->isVisibleTo(client) || (!label && !button && !qobject_cast<OptionButton *>(w))
            || (label && label->text().isEmpty()))
            continue;
        QRect box = label ? label->contentsRect() : w->rect();
        QColor back = w->palette().color(QPalette::Window), fore = w->palette().color(QPalette::WindowText);
        if (button) {
            QStyleOptionButton option;
            option.initFrom(button);
            box = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            back = w->palette().color(QPalette::Button);
            fore = w->palette().color(QPalette::ButtonText);
        }
        box.translate(w->pos());
        QList<QRect> above;
        for (qsizetype i = stacked.indexOf(w) + 1; i < stacked.size(); ++i)
            if (auto *sibling = qobject_cast<QWidget *>(stacked[i]); sibling && sibling->isVisibleTo(client))
                above << sibling->geometry();
        // Ink: a third of the way or more from the background to the text colour.
        auto distance = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
        };
        const int threshold = distance(fore, back) / 3;
        const QRect device(QPoint(qRound(box.left() * scale), qRound(box.top() * scale)),
                           QPoint(qRound((box.right() + 1) * scale) - 1, qRound((box.bottom() + 1) * scale) - 1));
        // A push button's rounded bevel reaches into the corners of its box.
        const int corner = button ? qRound(3 * scale) : 0;
        const QRect edges[] = {QRect(device.left(), device.top() + corner, 1, device.height() - 2 * corner),
                               QRect(device.right(), device.top() + corner, 1, device.height() - 2 * corner),
                               QRect(device.left() + corner, device.top(), device.width() - 2 * corner, 1),
                               QRect(device.left() + corner, device.bottom(), device.width() - 2 * corner, 1)};
        for (const QRect &edge : edges) {
            if (!shot.rect().contains(edge))
                continue; // beyond the window's edge, where the design cuts it
            bool inked = false;
            for (int y = edge.top(); y <= edge.bottom() && !inked; ++y)
                for (int x = edge.left(); x <= edge.right() && !inked; ++x) {
                    const QPoint logical(int(x / scale), int(y / scale));
                    inked =
                        std::none_of(above.begin(), above.end(), [&](const QRect &r) { return r.contains(logical); })
                        && distance(shot.pixelColor(x, y), back) >= threshold;
                }
            if (inked) {
                cut << QStringLiteral("%1(%2)").arg(w->objectName()).arg(label ? label->index() : -1);
                break;
            }
        }
    }
    return cut;
}

// The client area once it has been drawn: two grabs alike, and not of one colour.
QImage settled(const QRect &onScreen)
{
    QImage last, now = grab(onScreen);
    auto drawn = [](const QImage &img) {
        const auto *bits = reinterpret_cast<const QRgb *>(img.constBits());
        return std::any_of(bits, bits + img.sizeInBytes() / 4, [&](QRgb p) { return p != bits[0]; });
    };
    QElapsedTimer clock;
    clock.start();
    do {
        last = now;
        QTest::qWait(50);
        now = grab(onScreen);
    } while ((now != last || !drawn(now)) && clock.elapsed() < 5000);
    return now;
}

// The window of that name in a run of the program, opened as a player
// would; 0 if it did not open.
qulonglong opened(Program &velmora, const QString &window)
{
    for (const Opening &o : kOpenings)
        if (window == QLatin1StringView(o.name))
            return velmora.open(o.keys) ? waitForWindow(o.title) : 0;
    return velmora.window;
}

// The client area of a window of a fresh run at `scale`, opened and drawn.
QImage shotOf(const QString &window, double scale, const QStringList &environment = {})
{
    Program velmora(scale, environment);
    const qulonglong id = velmora.window ? opened(velmora, window) : 0;
    if (!id)
        return {};
    return settled(id == velmora.window ? velmora.client : clientRect(id));
}

// The most common colour of the image's pixels that `keep` keeps.
template <class Keep>
QColor commonest(const QImage &shot, const QRect &box, Keep keep)
{
    QHash<QRgb, int> counts;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (keep(x, y))
                ++counts[shot.pixel(x, y)];
    QRgb most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (!counts.contains(most) || it.value() > counts[most])
            most = it.key();
    return counts.isEmpty() ? QColor() : QColor(most);
}

// Each caption's and each line's contrast with what is behind it, from the
// pixels of `shot` (the window's client area at 1x), where no control
// stacked above covers them: a caption's ink is its pixel farthest from its
// background, the commonest colour of its box; a line against the side of
// it that it stands out from most.
QMap<QString, qreal> contrasts(const QImage &shot, QWidget *client)
{
    QMap<QString, qreal> measured;
    const QObjectList stacked = client->children();
    for (QWidget *w : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        auto *label = qobject_cast<CaptionLabel *>(w);
        auto *line = qobject_cast<LineShape *>(w);
        if (!w->isVisibleTo(client) || !(line || (label && !label->text().isEmpty())))
            continue;
        QList<QRect> above;
        for (qsizetype i = stacked.indexOf(w) + 1; i < stacked.size(); ++i)
            if (auto *sibling = qobject_cast<QWidget *>(stacked[i]); sibling && sibling->isVisibleTo(client))
                above << sibling->geometry();
        auto seen = [&](int x, int y) {
            return shot.rect().contains(x, y)
                   && std::none_of(above.begin(), above.end(), [&](const QRect &r) { return r.contains(x, y); });
        };
        const QString name =
            w->objectName() + (label && label->index() >= 0 ? QStringLiteral("(%1)").arg(label->index()) : QString());
        if (label) {
            const QRect box = label->contentsRect().translated(w->pos());
            const QColor back = commonest(shot, box, seen);
            qreal best = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    if (seen(x, y))
                        best = std::max(best, controls::contrast(shot.pixelColor(x, y), back));
            if (back.isValid())
                measured[name] = best;
            continue;
        }
        // A straight line of one device pixel (the design's are): its pixels, and those beside it.
        const QRect across = QRect(line->from(), line->to()).normalized();
        const QPoint side = across.width() == 1 ? QPoint(1, 0) : QPoint(0, 1);
        const QColor ink = commonest(shot, across, seen);
        qreal best = 0;
        for (const QPoint &beside : {side, -side}) {
            const QRect next = across.translated(beside);
            if (const QColor back = commonest(
                    shot, next, [&](int x, int y) { return seen(x, y) && seen(x - beside.x(), y - beside.y()); });
                back.isValid())
                best = std::max(best, controls::contrast(ink, back));
        }
        if (ink.isValid() && best > 0)
            measured[name] = best;
    }
    return measured;
}

} // namespace

class ScaleTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (suiteTimeRunOut())
            QFAIL("the suite's time ran out before this case");
    }
    void initTestCase() { app::configure(); }

    void windowAt2x_data();
    void windowAt2x();
    void framesAndLinesAt1_5x();
    void captionsWhole_data();
    void captionsWhole();
    void readableOnDarkDesktop_data();
    void readableOnDarkDesktop();
    void wholeAtFractionalScales_data();
    void wholeAtFractionalScales();
};

// At 2x every pixel of the 1x window becomes a uniform 2x2 block of its colour.
void ScaleTest::windowAt2x_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"Velmora", "winx", "frmAbout"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void ScaleTest::windowAt2x()
{
    QFETCH(QString, window);
    const QImage one = shotOf(window, 1), two = shotOf(window, 2);
    QVERIFY(!one.isNull() && !two.isNull());
    QCOMPARE(two.size(), one.size() * 2);
    WindowOwner owner;
    QString where;
    const int differ = blocksThatDiffer(one, two, drawnAfresh(client(owner, window)), &where);
    QVERIFY2(differ == 0, qPrintable(QStringLiteral("%1 blocks differ, %2").arg(differ).arg(where)));
}

void ScaleTest::framesAndLinesAt1_5x()
{
    Program velmora(1.5);
    QVERIFY(velmora.window);
    QTRY_COMPARE(pixel(velmora.at(5, 5)), QColor(0, 192, 0));
    const QImage shot = grab(velmora.client);
    WindowOwner owner;
    QWidget *client = owner.mainWindow().centralWidget();
    int framed = 0;
    for (auto *label : client->findChildren<CaptionLabel *>()) {
        // (labelhow's frame is black on black: nothing to measure.)
        if (!label->framed() || qGray(label->palette().color(QPalette::Window).rgb()) < 40)
            continue;
        ++framed;
        const QRect r(label->mapTo(client, QPoint()), label->size());
        // Its frame begins at its scaled place, within a pixel, and is as wide on all sides.
        const QRect d(QPoint(qRound(r.left() * 1.5), qRound(r.top() * 1.5)),
                      QPoint(qRound((r.right() + 1) * 1.5) - 1, qRound((r.bottom() + 1) * 1.5) - 1));
        const QPoint mid = d.center();
        const QList<int> sides{
            side(shot, QPoint(d.left(), mid.y()), {1, 0}), side(shot, QPoint(d.right(), mid.y()), {-1, 0}),
            side(shot, QPoint(mid.x(), d.top()), {0, 1}), side(shot, QPoint(mid.x(), d.bottom()), {0, -1})};
        QVERIFY2(sides == QList<int>(4, 2),
                 qPrintable(label->objectName()
                            + QStringLiteral(": %1 %2 %3 %4").arg(sides[0]).arg(sides[1]).arg(sides[2]).arg(sides[3])));
    }
    QVERIFY(framed >= 9);
    // The grid lines between the cells: Line2 down at x = 120, Line3 across at y = 120.
    auto black = [&](QPoint from, QPoint step, int count) {
        int n = 0;
        for (QPoint p = from; count-- > 0; p += step)
            n += qGray(shot.pixel(p)) < 40;
        return n;
    };
    QCOMPARE(black(QPoint(150, 90), {1, 0}, 60), 2);
    QCOMPARE(black(QPoint(90, 150), {0, 1}, 60), 2);
}

// Every caption whole inside its box, in every window, at 1x and 2x.
void ScaleTest::captionsWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<double>("scale");
    for (double scale : {1.0, 2.0}) {
        QTest::addRow("Velmora at %gx", scale) << QStringLiteral("Velmora") << scale;
        for (const Opening &o : kOpenings)
            if (!QLatin1StringView(o.name).endsWith(u"question"))
                QTest::addRow("%s at %gx", o.name, scale) << QString::fromLatin1(o.name) << scale;
    }
}

void ScaleTest::captionsWhole()
{
    QFETCH(QString, window);
    QFETCH(double, scale);
    const QImage shot = shotOf(window, scale);
    QVERIFY(!shot.isNull());
    // The grabs in docs/scale come from here.
    if (const QString dir = qEnvironmentVariable("VELMORA_GRABS"); !dir.isEmpty())
        shot.save(QStringLiteral("%1/%2-%3x.png").arg(dir, window).arg(scale));
    WindowOwner owner;
    QWidget *built = client(owner, window);
    QCOMPARE(shot.size(), built->size() * scale);
    const QStringList cut = captionsAtTheirEdge(shot, built, scale);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u' ')));
}

// On a dark desktop (qt6ct's "darker" scheme), captions and lines that take
// the desktop's colour keep 4.5:1 or more on the designed backgrounds.
void ScaleTest::readableOnDarkDesktop_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"Velmora", "winx", "tako"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void ScaleTest::readableOnDarkDesktop()
{
    QFETCH(QString, window);
    const QString scheme = QStringLiteral("/usr/share/qt6ct/colors/darker.conf");
    if (!QFile::exists(scheme))
        QSKIP("qt6ct is not installed (make test installs it)");
    QTemporaryDir config;
    QDir(config.path()).mkpath(QStringLiteral("qt6ct"));
    QFile settings(config.filePath(QStringLiteral("qt6ct/qt6ct.conf")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Appearance]\ncustom_palette=true\ncolor_scheme_path=" + scheme.toUtf8() + "\nstyle=Fusion\n");
    settings.close();
    const QImage shot = shotOf(window, 1, {u"QT_QPA_PLATFORMTHEME=qt6ct"_s, u"XDG_CONFIG_HOME="_s + config.path()});
    QVERIFY(!shot.isNull());
    if (const QString dir = qEnvironmentVariable("VELMORA_GRABS"); !dir.isEmpty())
        shot.save(QStringLiteral("%1/%2-dark.png").arg(dir, window));
    WindowOwner owner;
    const QMap<QString, qreal> measured = contrasts(shot, client(owner, window));
    QStringList faint;
    for (auto it = measured.cbegin(); it != measured.cend(); ++it) {
        qInfo("%s %.2f", qPrintable(it.key()), it.value());
        if (it.value() < controls::kMinContrast)
            faint << QStringLiteral("%1 %2:1").arg(it.key()).arg(it.value(), 0, 'f', 2);
    }
    QVERIFY(measured.size() > 3);
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join(u", ")));
}

// At fractional scales every device row and column of a window lies inside
// it: the window manager gives each the size it asks for (Qt asks for a step
// of two device pixels at 1.5x and 1.75x, which rounded odd sizes down), and
// the main window's blue strip keeps its last row below a menu bar of whole
// device pixels.
void ScaleTest::wholeAtFractionalScales_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<double>("scale");
    for (double scale : {1.25, 1.5, 1.75, 2.5, 3.0})
        QTest::addRow("Velmora at %gx", scale) << QStringLiteral("Velmora") << scale;
    for (const char *window : {"winx", "wino", "first", "frmAbout"})
        QTest::addRow("%s at 1.75x", window) << QString::fromLatin1(window) << 1.75;
}

void ScaleTest::wholeAtFractionalScales()
{
    QFETCH(QString, window);
    QFETCH(double, scale);
    Program velmora(scale);
    QVERIFY(velmora.window);
    const qulonglong id = opened(velmora, window);
    QVERIFY(id);
    const QString hints = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(id), u"WM_NORMAL_HINTS"_s});
    const QStringList asked =
        hints.section(QStringLiteral("minimum size: "), 1).section(u'\n', 0, 0).split(QStringLiteral(" by "));
    QCOMPARE(asked.size(), 2);
    QCOMPARE(clientRect(id).size(), QSize(asked[0].toInt(), asked[1].toInt()));
    if (id == velmora.window) {
        const QRect strip(velmora.client.left() + qRound(10 * scale), velmora.client.top(), 1, velmora.client.height());
        const QImage column = settled(strip);
        int blue = 0;
        while (blue < column.height() && column.pixelColor(0, column.height() - 1 - blue) == QColor(0, 0, 255))
            ++blue;
        QCOMPARE(blue, qRound(56 * scale)); // 5400 twips down to the client's bottom
    }
}

QTEST_MAIN(ScaleTest)
#include "tst_scale.moc"
