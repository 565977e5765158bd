// The built program in real windows under a window manager, driven the way a
// person would: the mouse, the keyboard and the window manager's close.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "windows/mainwindowtitle.h"

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString xdotool(const QStringList &args) { return run(QStringLiteral("xdotool"), args); }

// The visible window with exactly this title, or 0 once the time is up.
qulonglong waitForWindow(const QString &title, int ms = 3000)
{
    QString pattern;
    for (QChar c : title)
        pattern += QStringLiteral(".[]{}()*+?^$|\\").contains(c) ? QString(u'\\') + c : QString(c);
    QElapsedTimer clock;
    clock.start();
    do {
        const QString found = xdotool({"search", "--onlyvisible", "--name", u'^' + pattern + u'$'}).trimmed();
        if (!found.isEmpty())
            return found.section(u'\n', 0, 0).toULongLong();
        QTest::qWait(20);
    } while (clock.elapsed() < ms);
    return 0;
}

// The client area's place on the screen (xwininfo: xdotool misreports the
// position of a window that the window manager has framed).
QRect clientRect(qulonglong window)
{
    QRect r;
    const QString out = run(QStringLiteral("xwininfo"), {"-id", QString::number(window)});
    for (QString line : out.split(u'\n')) {
        line = line.trimmed();
        const int value = line.section(u':', 1).trimmed().toInt();
        if (line.startsWith(u"Absolute upper-left X:"))
            r.moveLeft(value);
        else if (line.startsWith(u"Absolute upper-left Y:"))
            r.moveTop(value);
        else if (line.startsWith(u"Width:"))
            r.setWidth(value);
        else if (line.startsWith(u"Height:"))
            r.setHeight(value);
    }
    return r;
}

// left, right, top, bottom of the window manager's frame.
QList<int> frameExtents(qulonglong window)
{
    const QString out = run(QStringLiteral("xprop"), {"-id", QString::number(window), "_NET_FRAME_EXTENTS"});
    QList<int> extents;
    for (const QString &n : out.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        extents << n.trimmed().toInt();
    return extents;
}

// A 32-bit property as numbers (xprop prints them in hex or decimal).
QList<uint> numbers(qulonglong window, const char *name)
{
    const QString out = run(QStringLiteral("xprop"), {"-id", QString::number(window), QString::fromLatin1(name)});
    QList<uint> values;
    for (const QString &n : out.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        values << n.trimmed().toUInt(nullptr, 0);
    return values;
}

bool iconic(qulonglong window)
{
    return run(QStringLiteral("xprop"), {"-id", QString::number(window), "WM_STATE"}).contains(u"Iconic");
}

QColor pixel(QPoint onScreen)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1).toImage();
    return shot.pixelColor(0, 0);
}

void clickAt(QPoint onScreen)
{
    xdotool({"mousemove", "--sync", QString::number(onScreen.x()), QString::number(onScreen.y())});
    xdotool({"click", "1"});
}

void key(qulonglong window, const QString &keys)
{
    xdotool({"windowactivate", "--sync", QString::number(window)});
    xdotool({"key", "--clearmodifiers", keys});
}

const QString kMainTitle = QString::fromUtf8(kMainWindowTitle);
const QString kWinxTitle = QStringLiteral("האיקס ניצח");
const QString kExitTitle = QStringLiteral("יציאה");
constexpr int kClientWidth = 483, kClientHeight = 416; // 7245 x 6240 twips

// One run of the built program, ended by the test or on its way out.
class Program
{
public:
    Program()
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(VELMORA_BIN), {});
        process.waitForStarted();
        window = waitForWindow(kMainTitle, 5000);
        if (!window)
            return;
        // Placed once, at its final place, by the time the window manager frames it.
        QTRY_VERIFY_WITH_TIMEOUT(frameExtents(window).size() == 4, 5000);
        const QRect whole = clientRect(window);
        // The client area lies below the menu bar, at the bottom of the window.
        client = QRect(whole.left(), whole.bottom() + 1 - kClientHeight, whole.width(), kClientHeight);
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }

    QPoint at(int x, int y) const { return client.topLeft() + QPoint(x, y); }
    // A cell's centre, cells numbered 1 to 9 in reading order.
    QPoint cell(int k) const
    {
        const int column = (k - 1) % 3, row = (k - 1) / 3;
        return at((240 + 1920 * column + 547) / 15, (360 + 1800 * row + 547) / 15);
    }

    // X takes the top row and leaves the result window by its button, which
    // has the focus: the game is counted and `first` read.
    bool winTopRow()
    {
        for (int k : {1, 4, 2, 5, 3})
            clickAt(cell(k));
        const qulonglong winx = waitForWindow(kWinxTitle);
        if (winx)
            key(winx, QStringLiteral("space"));
        return winx;
    }

    // Ctrl+X answered with Enter: the status it exits with within 2 seconds.
    int exitWithYes()
    {
        key(window, QStringLiteral("ctrl+x"));
        const qulonglong box = waitForWindow(kExitTitle);
        if (!box)
            return -2;
        key(box, QStringLiteral("Return"));
        return exitStatus(2000);
    }

    // Exits within the time, returning its status, or -1.
    int exitStatus(int ms)
    {
        if (!process.waitForFinished(ms))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QProcess process;
    qulonglong window = 0;
    QRect client;
};

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void mainWindow();
    void strikeLineAndWinx();
    void aboutWindow();
    void exitWithShortcut();
    void exitAfterFirstWasUsed();
    void exitAnsweredNo();
    void closedByWindowManager();
};

void DesktopTest::mainWindow()
{
    Program velmora;
    QVERIFY2(velmora.window, "the main window appears");
    const QRect whole = clientRect(velmora.window);
    QCOMPARE(whole.width(), kClientWidth);
    QVERIFY2(whole.height() > kClientHeight && whole.height() < kClientHeight + 40, "a menu bar above the client");

    QTRY_COMPARE(pixel(velmora.at(5, 5)), QColor(0, 192, 0));     // background, once painted
    QCOMPARE(pixel(velmora.at(30, 40)), QColor(255, 128, 0));     // inside Label1
    QCOMPARE(pixel(velmora.at(10, 400)), QColor(0, 0, 255));      // the blue strip
    QCOMPARE(pixel(velmora.at(454, 271)), QColor(0, 0, 0));       // labelhow
    QCOMPARE(pixel(velmora.at(120, 200)), QColor(0, 0, 0));       // Line2 between columns

    // Centred on the screen, frame included, once the window manager has framed it.
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    auto offCentre = [&] {
        const QList<int> frame = frameExtents(velmora.window);
        if (frame.size() != 4)
            return 999;
        const QRect outer = clientRect(velmora.window).adjusted(-frame[0], -frame[2], frame[1], frame[3]);
        return (outer.center() - centre).manhattanLength();
    };
    QTRY_VERIFY2(offCentre() <= 2, "centred on the screen");
}

void DesktopTest::strikeLineAndWinx()
{
    Program velmora;
    QVERIFY(velmora.window);
    for (int k : {1, 4, 2, 5})
        clickAt(velmora.cell(k));
    QElapsedTimer clock;
    clock.start();
    clickAt(velmora.cell(3));
    const qulonglong winx = waitForWindow(kWinxTitle);
    const qint64 shownAfter = clock.elapsed();
    QVERIFY2(winx, "winx opens after the top row is complete");
    qInfo("completing click to the result window on screen: %lld ms", shownAfter);

    // Line15 runs across the top row, over the cells and their marks (drawn
    // by the main window in its own time, maybe after winx maps).
    for (int x : {20, 100, 180, 260, 340})
        QTRY_COMPARE(pixel(velmora.at(x, 840 / 15)), QColor(0, 0, 192));

    // winx sits in the screen's top left corner, frame included.
    const QList<int> frame = frameExtents(winx);
    QCOMPARE(frame.size(), 4);
    QCOMPARE(clientRect(winx).topLeft() - QPoint(frame[0], frame[2]), QPoint(0, 0));
    QCOMPARE(clientRect(winx).size(), QSize(312, 213));

    // Its button has the focus: Space presses it and the board is ready again.
    key(winx, QStringLiteral("space"));
    QTRY_COMPARE(pixel(velmora.at(20, 840 / 15)), QColor(255, 128, 0));
}

void DesktopTest::aboutWindow()
{
    Program velmora;
    QVERIFY(velmora.window);
    const QRect whole = clientRect(velmora.window);
    clickAt(QPoint(whole.left() + 12, (whole.top() + velmora.client.top()) / 2));
    xdotool({"key", "Right", "Right", "Down", "Return"}); // help, then its second item
    const qulonglong about = waitForWindow(QStringLiteral("About Velmora"));
    QVERIFY2(about, "the About window opens from the menu");
    // Its client area at the stored place, 2340 and 1935 twips from the corner.
    QCOMPARE(clientRect(about), QRect(156, 129, 447, 324));
    QCOMPARE(pixel(QPoint(156 + 440, 129 + 5)), QColor(0, 0, 0));
    // No taskbar button.
    const QString state = run(QStringLiteral("xprop"), {"-id", QString::number(about), "_NET_WM_STATE"});
    QVERIFY2(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR"), qPrintable(state));

    // Neither minimise nor maximise in the Motif hints: flags, functions, decorations.
    for (qulonglong window : {velmora.window, about}) {
        const QList<uint> motif = numbers(window, "_MOTIF_WM_HINTS");
        QCOMPARE(motif.size(), 5);
        QCOMPARE(motif[0] & 3, 3u);
        QCOMPARE(motif[1] & (0x8 | 0x10), 0u);
        QCOMPARE(motif[2] & (0x20 | 0x40), 0u);
    }
    // openbox minimises it all the same; going to the main window brings it
    // back rather than leave the main window visible and dead.
    xdotool({"windowminimize", "--sync", QString::number(about)});
    xdotool({"windowactivate", QString::number(velmora.window)});
    QTRY_VERIFY(!iconic(about));
    QVERIFY(waitForWindow(QStringLiteral("About Velmora"), 0));

    key(about, QStringLiteral("Escape"));
    QTRY_VERIFY(!waitForWindow(QStringLiteral("About Velmora"), 0));
    QCOMPARE(velmora.exitStatus(300), -1); // still running
}

void DesktopTest::exitWithShortcut()
{
    Program velmora;
    QVERIFY(velmora.window);
    QCOMPARE(velmora.exitWithYes(), 0);
}

void DesktopTest::exitAfterFirstWasUsed()
{
    Program velmora;
    QVERIFY(velmora.window);
    // A finished game reads the opening rule, which creates `first`, hidden.
    QVERIFY(velmora.winTopRow());
    // Shown from the menu and left with its OK button, it stays, hidden. The
    // menu bar's first title is at its left end; the second menu is next to it.
    const QRect whole = clientRect(velmora.window);
    clickAt(QPoint(whole.left() + 12, (whole.top() + velmora.client.top()) / 2));
    // Moving to the next menu highlights its first item.
    xdotool({"key", "Right", "Down", "Return"});
    const qulonglong first = waitForWindow(QStringLiteral("?מי ראשון"));
    QVERIFY2(first, "the starter-choice window opens from the menu");
    const QRect firstClient = clientRect(first);
    clickAt(firstClient.topLeft() + QPoint((240 + 1215 / 2) / 15, (1680 + 975 / 2) / 15));
    QTRY_VERIFY(!waitForWindow(QStringLiteral("?מי ראשון"), 0));
    QCOMPARE(velmora.exitWithYes(), 0);
}

void DesktopTest::exitAnsweredNo()
{
    Program velmora;
    QVERIFY(velmora.window);
    clickAt(velmora.cell(5));
    key(velmora.window, QStringLiteral("ctrl+x"));
    const qulonglong box = waitForWindow(kExitTitle);
    QVERIFY(box);
    key(box, QStringLiteral("Tab")); // from Yes, the default, to No
    key(box, QStringLiteral("space"));
    QTRY_VERIFY(!waitForWindow(kExitTitle, 0));
    QCOMPARE(velmora.exitStatus(500), -1);
    QVERIFY(waitForWindow(kMainTitle, 0));
}

void DesktopTest::closedByWindowManager()
{
    Program velmora;
    QVERIFY(velmora.window);
    QVERIFY(velmora.winTopRow());
    // openbox closes the active window on Alt+F4.
    key(velmora.window, QStringLiteral("alt+F4"));
    QCOMPARE(velmora.exitStatus(2000), 0);
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
