#pragma once
// Driving the built program in real windows under a window manager: xdotool,
// xwininfo and xprop, and one run of the program ended by the test.
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "mainwindowtitle.h"

using namespace Qt::Literals::StringLiterals;

namespace desktop {

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString xdotool(const QStringList &args)
{
    return run(QStringLiteral("xdotool"), args);
}

// The shared driver of the real-window tests (drive.py, which says what each
// command waits for): true when what it waited for came.
inline bool drive(const QStringList &args, QString *out = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel); // what it saw, when a wait runs out
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(VELMORA_DRIVER)} + args);
    const bool ended = p.waitForFinished(120000);
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    return ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Whether the suite's time (VELMORA_DEADLINE, seconds since the epoch, set by
// run-on-display.sh ahead of ctest's limit) has run out: each case left then
// fails at once, so that the suite ends saying so rather than being killed.
inline bool suiteTimeRunOut()
{
    bool set = false;
    const qint64 deadline = qEnvironmentVariable("VELMORA_DEADLINE").toLongLong(&set);
    return set && QDateTime::currentSecsSinceEpoch() >= deadline;
}

// The viewable window with exactly this title, or 0 once the time is up.
inline qulonglong waitForWindow(const QString &title, int seconds = 30)
{
    QString id;
    drive({u"window"_s, title, QString::number(seconds)}, &id);
    return id.trimmed().toULongLong();
}

// No viewable window of this title is left.
inline bool gone(const QString &title)
{
    return drive({u"gone"_s, title});
}

// The client area's place on the screen (xwininfo: xdotool misreports the
// position of a window that the window manager has framed).
inline QRect clientRect(qulonglong window)
{
    QRect r;
    const QString out = run(QStringLiteral("xwininfo"), {u"-id"_s, QString::number(window)});
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
inline QList<int> frameExtents(qulonglong window)
{
    const QString out = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(window), u"_NET_FRAME_EXTENTS"_s});
    QList<int> extents;
    for (const QString &n : out.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        extents << n.trimmed().toInt();
    return extents;
}

// A 32-bit property as numbers (xprop prints them in hex or decimal).
inline QList<uint> numbers(qulonglong window, const char *name)
{
    const QString out = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(window), QString::fromLatin1(name)});
    QList<uint> values;
    for (const QString &n : out.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        values << n.trimmed().toUInt(nullptr, 0);
    return values;
}

inline bool iconic(qulonglong window)
{
    return run(QStringLiteral("xprop"), {u"-id"_s, QString::number(window), u"WM_STATE"_s}).contains(u"Iconic");
}

// Viewable, on the current desktop (shaded or not).
inline bool inView(qulonglong window)
{
    const QString id = QString::number(window);
    if (!run(QStringLiteral("xwininfo"), {u"-id"_s, id}).contains(u"IsViewable"))
        return false;
    const QList<uint> desktop = numbers(window, "_NET_WM_DESKTOP");
    const QString current =
        run(QStringLiteral("xprop"), {u"-root"_s, u"_NET_CURRENT_DESKTOP"_s}).section(u'=', 1).trimmed();
    return desktop.isEmpty() || desktop.front() == 0xFFFFFFFF || QString::number(desktop.front()) == current;
}

// In view, unshaded, active, and with the keyboard focus itself (not its frame).
inline bool inReach(qulonglong window)
{
    if (!inView(window))
        return false;
    if (run(QStringLiteral("xprop"), {u"-id"_s, QString::number(window), u"_NET_WM_STATE"_s}).contains(u"SHADED"))
        return false;
    return xdotool({u"getactivewindow"_s}).trimmed().toULongLong() == window
           && xdotool({u"getwindowfocus"_s, u"-f"_s}).trimmed().toULongLong() == window;
}

inline QColor pixel(QPoint onScreen)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1).toImage();
    return shot.pixelColor(0, 0);
}

// Anything drawn on a cell's orange: a mark.
inline bool inked(const QRect &onScreen)
{
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height())
                            .toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) != QColor(255, 128, 0))
                return true;
    return false;
}

inline void clickAt(QPoint onScreen)
{
    // --sync waits for the pointer to move, forever when it is there already.
    const QString at = xdotool({u"getmouselocation"_s});
    const bool there = at.startsWith(QStringLiteral("x:%1 y:%2 ").arg(onScreen.x()).arg(onScreen.y()));
    if (!there)
        xdotool({u"mousemove"_s, u"--sync"_s, QString::number(onScreen.x()), QString::number(onScreen.y())});
    xdotool({u"click"_s, u"1"_s});
}

// Keys to whatever has the focus now (an open menu, say).
inline bool press(const QString &keys)
{
    return drive({u"press"_s, keys});
}

// Keys to the window once it is viewable and has the focus.
inline bool key(qulonglong window, const QString &keys)
{
    return drive({u"key"_s, QString::number(window), keys});
}

inline const QString kMainTitle = QString::fromUtf8(kMainWindowTitle);
inline const QString kWinxTitle = QStringLiteral("האיקס ניצח");
inline const QString kExitTitle = QStringLiteral("יציאה");
inline constexpr int kClientWidth = 483, kClientHeight = 416; // 7245 x 6240 twips

// One run of the built program, ended by the test or on its way out; at a
// screen scale other than 1, through Qt's scale factor.
class Program
{
public:
    // `environment`: more of it, "NAME=value" each (a desktop's theme, say).
    explicit Program(double scaleFactor = 1, const QStringList &environment = {}) : scale(scaleFactor)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (scale != 1)
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        for (const QString &entry : environment)
            env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELMORA_BIN), {});
        process.waitForStarted();
        window = waitForWindow(kMainTitle);
        if (!window)
            return;
        // Framed, and on the screen (where a window manager does not say its
        // frame before mapping, the window is placed on it once framed).
        QTRY_VERIFY_WITH_TIMEOUT(frameExtents(window).size() == 4
                                     && QGuiApplication::primaryScreen()->geometry().contains(clientRect(window)),
                                 5000);
        locate();
    }

    // Where the client area is now: below the menu bar, at the bottom of the window.
    void locate()
    {
        const QRect whole = clientRect(window);
        const int height = qRound(kClientHeight * scale);
        client = QRect(whole.left(), whole.bottom() + 1 - height, whole.width(), height);
    }
    ~Program()
    {
        // A failed case says what was on the display while the program still shows it.
        if (QTest::currentTestFailed()) {
            const char *row = QTest::currentDataTag();
            drive({QStringLiteral("explain"), QString::fromUtf8(QTest::currentTestFunction())
                                                  + (row ? QStringLiteral(" ") + QString::fromUtf8(row) : QString())});
        }
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }

    // A point of the client area given in logical pixels, on the screen.
    QPoint at(int x, int y) const { return client.topLeft() + QPoint(qRound(x * scale), qRound(y * scale)); }
    // A cell's centre, cells numbered 1 to 9 in reading order.
    QPoint cell(int k) const
    {
        const int column = (k - 1) % 3, row = (k - 1) / 3;
        return at((240 + 1920 * column + 547) / 15, (360 + 1800 * row + 547) / 15);
    }

    // A cell's inside, within its frame.
    QRect cellRect(int k) const
    {
        const QPoint centre = cell(k);
        const int half = qRound(30 * scale);
        return QRect(centre - QPoint(half, half), centre + QPoint(half, half));
    }

    // Steps on the main window: keys, or "menu M I" for item I of menu M (from 0).
    bool open(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QStringList menu = step.split(u' ');
            if (!(menu.front() == u"menu" ? drive({u"menu"_s, QString::number(window), menu[1], menu[2]})
                                          : key(window, step)))
                return false;
        }
        return true;
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

    double scale;
    QProcess process;
    qulonglong window = 0;
    QRect client;
};

// How each window other than the main one is opened from the main window,
// and a key that leaves it.
struct Opening
{
    const char *name;
    QStringList keys; // as Program::open takes them
    QString title;
    QString leave;
    bool endsGame = false;
};
// clang-format off
inline const Opening kOpenings[] = {
    {"winx", {u"1"_s, u"4"_s, u"2"_s, u"5"_s, u"3"_s}, kWinxTitle, u"space"_s, true},
    {"wino", {u"1"_s, u"4"_s, u"2"_s, u"5"_s, u"9"_s, u"6"_s}, QStringLiteral("העיגול ניצח"), u"space"_s, true},
    {"tako", {u"5"_s, u"1"_s, u"3"_s, u"7"_s, u"2"_s, u"8"_s, u"4"_s, u"6"_s, u"9"_s}, QStringLiteral("תיקו"), u"space"_s, true},
    {"first", {u"menu 1 1"_s}, QStringLiteral("?מי ראשון"), u"alt+F4"_s},
    {"HowToPlay", {u"menu 2 0"_s}, QStringLiteral("?איך משחקים"), u"space"_s},
    {"frmAbout", {u"menu 2 1"_s}, QStringLiteral("About Velmora"), u"Escape"_s},
    {"exit question", {u"ctrl+x"_s}, kExitTitle, u"Escape"_s},
    {"clear question", {u"menu 1 0"_s}, QStringLiteral("Velmora"), u"Escape"_s},
};
// clang-format on

} // namespace desktop
