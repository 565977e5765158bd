// The built program in real windows under a window manager, driven the way a
// person would: the mouse, the keyboard and the window manager's close.
#include "desktop.h"

#include <QDeadlineTimer>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

using namespace desktop;

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (suiteTimeRunOut())
            QFAIL("the suite's time ran out before this case");
    }
    void mainWindow();
    void strikeLineAndWinx();
    void aboutWindow();
    void exitWithShortcut();
    void exitAfterFirstWasUsed();
    void exitAnsweredNo();
    void closedByWindowManager_data();
    void closedByWindowManager();
    void keysByPlace_data();
    void keysByPlace();
    void heldKeyOnlyAsks_data();
    void heldKeyOnlyAsks();
    void modalWindowsInReach_data();
    void modalWindowsInReach();
};

void DesktopTest::mainWindow()
{
    // Where the window is shown, watched from before it maps.
    QProcess placements;
    placements.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    placements.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VELMORA_DRIVER), u"placements"_s, kMainTitle});
    const QDeadlineTimer started(30000); // as long as any wait of the driver
    while (!placements.canReadLine() && placements.waitForReadyRead(int(started.remainingTime()))) {
    }
    QVERIFY2(placements.readLine() == "watching\n", "the driver watches where windows are shown");
    Program velmora;
    QVERIFY2(velmora.window, "the main window appears");
    const QRect whole = clientRect(velmora.window);
    QCOMPARE(whole.width(), kClientWidth);
    QVERIFY2(whole.height() > kClientHeight && whole.height() < kClientHeight + 40, "a menu bar above the client");

    QTRY_COMPARE(pixel(velmora.at(5, 5)), QColor(0, 192, 0)); // background, once painted
    QCOMPARE(pixel(velmora.at(30, 40)), QColor(255, 128, 0)); // inside Label1
    QCOMPARE(pixel(velmora.at(10, 400)), QColor(0, 0, 255));  // the blue strip
    QCOMPARE(pixel(velmora.at(454, 271)), QColor(0, 0, 0));   // labelhow
    QCOMPARE(pixel(velmora.at(120, 200)), QColor(0, 0, 0));   // Line2 between columns

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
    placements.write("\n");
    placements.closeWriteChannel();
    QVERIFY(placements.waitForFinished(10000));
    const QString shown = QString::fromUtf8(placements.readAllStandardOutput()).trimmed();
    QVERIFY2(!shown.isEmpty() && !shown.contains(u' '),
             qPrintable(u"shown at "_s + shown + u": it jumped"_s)); // one place

    // Docks match the window to its desktop entry by the entry's StartupWMClass.
    QFile entry(QStringLiteral(VELMORA_DESKTOP_ENTRY));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString wmClass = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(velmora.window), u"WM_CLASS"_s});
    const QString startupClass =
        QString::fromUtf8(entry.readAll()).section(QStringLiteral("StartupWMClass="), 1).section(u'\n', 0, 0);
    QVERIFY2(!startupClass.isEmpty() && wmClass.trimmed().endsWith(QStringLiteral(", \"%1\"").arg(startupClass)),
             qPrintable(wmClass));
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
    QVERIFY(velmora.open({u"menu 2 1"_s})); // help, then its second item
    const qulonglong about = waitForWindow(QStringLiteral("About Velmora"));
    QVERIFY2(about, "the About window opens from the menu");
    // Its client area at the stored place, 2340 and 1935 twips from the corner.
    QCOMPARE(clientRect(about), QRect(156, 129, 447, 324));
    QCOMPARE(pixel(QPoint(156 + 440, 129 + 5)), QColor(0, 0, 0));
    // No taskbar button.
    const QString state = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(about), u"_NET_WM_STATE"_s});
    QVERIFY2(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR"), qPrintable(state));

    // Neither minimise nor maximise in the Motif hints: flags, functions, decorations.
    // The main window shows the program's icon in its title bar, About none:
    // its icon is clear, and its window-menu button (icewm shows the icon there) is left out.
    for (qulonglong window : {velmora.window, about}) {
        const QList<uint> motif = numbers(window, "_MOTIF_WM_HINTS");
        QCOMPARE(motif.size(), 5);
        QCOMPARE(motif[0] & 3, 3u);
        QCOMPARE(motif[1] & (0x8 | 0x10), 0u);
        QCOMPARE(motif[2] & (0x20 | 0x40), 0u);
        QCOMPARE(bool(motif[2] & 0x10), window != about);
        const QString icon = run(QStringLiteral("xprop"), {u"-id"_s, QString::number(window), u"-f"_s,
                                                           u"_NET_WM_ICON"_s, u"32c"_s, u"_NET_WM_ICON"_s});
        const QStringList values = icon.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
        QVERIFY(values.size() > 256);
        const bool inked = std::any_of(values.begin(), values.end(),
                                       [](const QString &v) { return v.trimmed().toUInt(nullptr, 0) >> 24; });
        QCOMPARE(inked, window != about);
    }
    QVERIFY(key(about, QStringLiteral("Escape")));
    QVERIFY(gone(QStringLiteral("About Velmora")));
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
    // Shown from the menu and left with its OK button, it stays, hidden.
    QVERIFY(velmora.open({u"menu 1 1"_s}));
    const qulonglong first = waitForWindow(QStringLiteral("?מי ראשון"));
    QVERIFY2(first, "the starter-choice window opens from the menu");
    const QRect firstClient = clientRect(first);
    clickAt(firstClient.topLeft() + QPoint((240 + 1215 / 2) / 15, (1680 + 975 / 2) / 15));
    QVERIFY(gone(QStringLiteral("?מי ראשון")));
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
    QVERIFY(key(box, QStringLiteral("Tab"))); // from Yes, the default, to No
    QVERIFY(key(box, QStringLiteral("space")));
    QVERIFY(gone(kExitTitle));
    QCOMPARE(velmora.exitStatus(500), -1);
    QVERIFY(waitForWindow(kMainTitle, 0));
}

void DesktopTest::closedByWindowManager_data()
{
    QTest::addColumn<bool>("menuOpen"); // else a game is played first
    QTest::newRow("after a game") << false;
    // The cell the digit played has the focus as its window goes: a screen
    // reader is told of it while the cell is being destroyed.
    QTest::newRow("a digit typed into an open menu, a screen reader on") << true;
}

void DesktopTest::closedByWindowManager()
{
    QFETCH(bool, menuOpen);
    Program velmora(1, menuOpen ? QStringList{u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"_s} : QStringList());
    QVERIFY(velmora.window);
    if (menuOpen) {
        clickAt(velmora.at(60, -10)); // "אפשרויות", in the menu bar above the client area
        QVERIFY2(drive({u"opened"_s}), "the menu opens");
        desktop::press(u"4"_s);
        QVERIFY(drive({u"act"_s, QString::number(velmora.window), u"close"_s}));
    } else {
        QVERIFY(velmora.winTopRow());
        // openbox closes the active window on Alt+F4.
        key(velmora.window, QStringLiteral("alt+F4"));
    }
    QCOMPARE(velmora.exitStatus(2000), 0);
}

// The keypad places by position on a real keyboard, NumLock on (KP_7) or off
// (KP_Home): xdotool sets NumLock as the key symbol needs.
// Keys by their place on the keyboard, whatever the layout: the keypad, the
// digit row on AZERTY, and Ctrl with the key where X is on a US keyboard.
void DesktopTest::keysByPlace_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("cell");  // where it places; 0: the exit question opens
    QTest::addColumn<int>("digit"); // where the digit it shows would place
    // clang-format off
    QTest::newRow("KP_7, NumLock on") << "us" << "KP_7" << 1 << 7;
    QTest::newRow("KP_Home, NumLock off") << "us" << "KP_Home" << 1 << 7;
    QTest::newRow("KP_3, NumLock on") << "us" << "KP_3" << 9 << 3;
    QTest::newRow("KP_Next, NumLock off") << "us" << "KP_Next" << 9 << 3;
    // AZERTY types & on the digit row's first key, 1 only with Shift.
    QTest::newRow("AZERTY's digit row, unshifted") << "fr" << "@10" << 1 << 0;
    QTest::newRow("AZERTY's digit row, shifted") << "fr" << "shift+@18" << 9 << 0;
    // A Hebrew layout alone gives the key ס and no Latin letter.
    QTest::newRow("Ctrl+X, Hebrew layout alone") << "il" << "ctrl+@53" << 0 << 0;
    // clang-format on
}

// The display's keyboard layout for one case, the US one back after it.
struct Layout
{
    explicit Layout(const QString &name) { run(QStringLiteral("setxkbmap"), {name}); }
    ~Layout() { run(QStringLiteral("setxkbmap"), {u"us"_s}); }
};

void DesktopTest::keysByPlace()
{
    QFETCH(QString, layout);
    QFETCH(QString, key);
    QFETCH(int, cell);
    QFETCH(int, digit);
    const Layout keyboard(layout);
    Program velmora;
    QVERIFY(velmora.window);
    QTRY_VERIFY(!cell || !inked(velmora.cellRect(cell)));
    QVERIFY(desktop::key(velmora.window, key));
    if (!cell) {
        const qulonglong question = waitForWindow(kExitTitle);
        QVERIFY2(question, "the exit question opens");
        QVERIFY(desktop::key(question, u"Escape"_s));
        return;
    }
    QTRY_VERIFY2(inked(velmora.cellRect(cell)), "X placed by position");
    QVERIFY2(!digit || !inked(velmora.cellRect(digit)), "nothing placed by the digit");
}

// A key held down on "יציאה", with the X server repeating it and both cores
// busy: the question opens and stays open; the repeats never answer it. And
// Alt, whose release a window manager's grab took (Alt+Tab while the question
// is open), is up again for the program: Alt, then Down, opens a menu.
void DesktopTest::heldKeyOnlyAsks_data()
{
    QTest::addColumn<QString>("key");
    // clang-format off
    QTest::newRow("Return") << QStringLiteral("Return");
    QTest::newRow("keypad Enter") << QStringLiteral("KP_Enter");
    QTest::newRow("Space") << QStringLiteral("space");
    QTest::newRow("Alt of Alt+Tab") << QStringLiteral("alt+Tab");
    // clang-format on
}

void DesktopTest::heldKeyOnlyAsks()
{
    QFETCH(QString, key);
    Program velmora;
    QVERIFY(velmora.window);
    const bool altTab = key == u"alt+Tab";
    if (altTab) {
        QVERIFY(desktop::key(velmora.window, QStringLiteral("ctrl+x")));
    } else {
        QVERIFY(desktop::key(velmora.window, QStringLiteral("Tab"))); // from "משחק חדש" to "יציאה"
        QList<std::shared_ptr<QProcess>> load;
        for (int core = 0; core < 2; ++core) {
            load << std::shared_ptr<QProcess>(new QProcess, [](QProcess *p) {
                p->kill();
                p->waitForFinished();
                delete p;
            });
            load.back()->start(QStringLiteral("sh"), {u"-c"_s, u"while :; do :; done"_s});
        }
        xdotool({u"keydown"_s, key});
        QTest::qWait(1500); // how long the player holds it
        xdotool({u"keyup"_s, key});
    }
    const qulonglong box = waitForWindow(kExitTitle);
    QVERIFY2(box, "the question is open");
    if (altTab)
        QVERIFY(desktop::key(box, key));
    QCOMPARE(velmora.exitStatus(300), -1); // still running
    QVERIFY(desktop::key(box, QStringLiteral("Escape")));
    QVERIFY(gone(kExitTitle));
    if (altTab) {
        QVERIFY(desktop::key(velmora.window, QStringLiteral("alt")));
        QVERIFY(desktop::key(velmora.window, QStringLiteral("Down")));
        QVERIFY2(drive({u"opened"_s}), "Alt, then Down, opens the first menu");
    }
}

// With each modal window open, the game's two windows go and come back as one
// under whatever another client does to either of them, and the clicks that
// bring forward a shaded modal window are refused by the board.
void DesktopTest::modalWindowsInReach_data()
{
    QTest::addColumn<QStringList>("opening"); // as Program::open takes them
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("answer");  // a key that leaves it
    QTest::addColumn<bool>("boardEmpty"); // the board is empty meanwhile, so a refused click shows
    for (const Opening &o : kOpenings)
        QTest::newRow(o.name) << o.keys << o.title << o.leave << !o.endsGame;
}

void DesktopTest::modalWindowsInReach()
{
    QFETCH(QStringList, opening);
    QFETCH(QString, title);
    QFETCH(QString, answer);
    QFETCH(bool, boardEmpty);
    Program velmora;
    QVERIFY(velmora.window);
    QVERIFY(velmora.open(opening));
    const qulonglong modal = waitForWindow(title);
    QVERIFY2(modal, "the modal window opens");
    const QString main = QString::number(velmora.window);
    const QRect mainAt = clientRect(velmora.window), modalAt = clientRect(modal);
    // A cell clear of the modal window's title bar, all that is left of it shaded.
    const QList<int> frame = frameExtents(modal);
    QCOMPARE(frame.size(), 4);
    const QRect titleBar = clientRect(modal).adjusted(-frame[0], -frame[2], frame[1], -clientRect(modal).height());
    int free = 1;
    while (free < 9 && titleBar.intersects(velmora.cellRect(free)))
        ++free;

    // What another client does to one of the game's windows; the player then
    // brings the game back as a taskbar does, by activating the main window
    // (the one window of the game left to it), or by ending show-desktop.
    // Shaded, the modal window comes forward at a click on the board.
    struct Cycle
    {
        const char *action;
        qulonglong on;
    };
    const Cycle cycles[] = {
        {"minimise", velmora.window}, {"minimise", modal}, {"hide", modal},        {"desktop", modal},
        {"desktop", velmora.window},  {"withdraw", modal}, {"showdesktop", modal}, {"shade", modal},
        {"withdraw", velmora.window}};
    for (const Cycle &c : cycles) {
        const QString what =
            QString::fromLatin1(c.action) + (c.on == modal ? u" of the modal window"_s : u" of the main window"_s);
        QString taken;
        QVERIFY2(drive({u"act"_s, QString::number(c.on), QString::fromLatin1(c.action)}, &taken),
                 qPrintable(what + QStringLiteral(": no answer")));
        if (taken.trimmed() == u"declined") { // icewm keeps a window whose modal window is open, say
            qInfo("%s: the window manager declines it", qPrintable(what));
            continue;
        }
        if (qstrcmp(c.action, "shade") == 0) {
            clickAt(velmora.cell(free));
        } else {
            // Each look asks the server several times: slow on a busy machine, so the waits are long.
            QVERIFY2(QTest::qWaitFor([&] { return !inView(modal) && !inView(velmora.window); }, 10000),
                     qPrintable(what + QStringLiteral(": the game's windows did not go together")));
            if (qstrcmp(c.action, "showdesktop") == 0)
                run(QStringLiteral("wmctrl"), {u"-k"_s, u"off"_s});
            else
                run(QStringLiteral("wmctrl"), {u"-i"_s, u"-a"_s, main});
        }
        QVERIFY2(QTest::qWaitFor([&] { return inView(velmora.window) && inReach(modal); }, 10000),
                 qPrintable(what + QStringLiteral(": the game did not come back, the modal window focused")));
        // Once openbox has ended its animation of the restore.
        QVERIFY2(QTest::qWaitFor([&] { return clientRect(velmora.window) == mainAt && clientRect(modal) == modalAt; }),
                 qPrintable(what + QStringLiteral(": the game came back elsewhere")));
    }
    QVERIFY(key(modal, answer));
    QVERIFY2(gone(title), "answered, it goes");
    QTRY_VERIFY2_WITH_TIMEOUT(inReach(velmora.window), "the main window is back, focused", 5000);
    QCOMPARE(velmora.exitStatus(0), -1);
    velmora.locate(); // where the window manager has put it back
    for (int k = 1; k <= 9 && boardEmpty; ++k)
        QVERIFY2(!inked(velmora.cellRect(k)), "the board took a click");
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
