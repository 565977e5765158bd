// The built program's command line: its own options answer without a display,
// anything unknown is refused without one too, and a display that cannot be opened is said in
// one line with status 1, never Qt's abort.
#include <QProcess>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("display"); // DISPLAY, or "-" to leave it unset
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // stdout then stderr; of the usage, its first line
        const QString usage = QStringLiteral("Usage: ");
        const QString hint = QStringLiteral("; 'velmora --help' lists the options\n");
        const QStringList offscreen{u"-platform"_s, u"offscreen"_s}; // Qt takes its options before ours are checked
        // clang-format off
        QTest::newRow("--version") << QStringList{u"--version"_s} << u"-"_s << 0
                                   << QStringLiteral("velmora %1\n").arg(QStringLiteral(VELMORA_VERSION));
        QTest::newRow("-v") << QStringList{u"-v"_s} << u"-"_s << 0
                            << QStringLiteral("velmora %1\n").arg(QStringLiteral(VELMORA_VERSION));
        QTest::newRow("--help") << QStringList{u"--help"_s} << u"-"_s << 0 << usage;
        QTest::newRow("-h after a Qt option") << QStringList{u"-style"_s, u"fusion"_s, u"-h"_s} << u"-"_s << 0 << usage;
        QTest::newRow("unknown option") << offscreen + QStringList{u"--bogus=1"_s} << u"-"_s << 2
                                        << u"velmora: unknown option '--bogus=1'"_s + hint;
        // Judged before a display is sought, with Qt's own options let by.
        QTest::newRow("unknown option, no display") << QStringList{u"-style=fusion"_s, u"-display"_s, u":0"_s, u"--bogus"_s} << u"-"_s
                                                    << 2 << u"velmora: unknown option '--bogus'"_s + hint;
        QTest::newRow("argument") << offscreen + QStringList{u"bogus"_s} << u"-"_s << 2
                                  << u"velmora: unexpected argument 'bogus'"_s + hint;
        QTest::newRow("argument with an escape sequence")
            << offscreen + QStringList{u"\x1b[2Jbogus"_s} << u"-"_s << 2
            << u"velmora: unexpected argument '\\x1b[2Jbogus'"_s + hint;
        QTest::newRow("no DISPLAY") << QStringList{} << u"-"_s << 1
                                    << QStringLiteral("velmora: cannot open a display: DISPLAY is not set\n");
        QTest::newRow("unreachable display") << QStringList{} << ":77" << 1
                                             << QStringLiteral("velmora: cannot open the display \":77\"\n");
        QTest::newRow("unreachable -display") << QStringList{u"-display"_s, u":78"_s} << u":77"_s << 1
                                              << QStringLiteral("velmora: cannot open the display \":78\"\n");
        QTest::newRow("a platform with no screen")
            << QStringList{u"-platform"_s, u"linuxfb:fb=/nonexistent/fb0"_s} << u"-"_s << 1
            << QStringLiteral("velmora: cannot open a display: the platform \"linuxfb\" has no screen\n");
        // clang-format on
    }

    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, display);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
            env.remove(QString::fromLatin1(name));
        if (display != u"-")
            env.insert(QStringLiteral("DISPLAY"), display);
        QProcess velmora;
        velmora.setProcessEnvironment(env);
        velmora.start(QStringLiteral(VELMORA_BIN), args);
        QVERIFY(velmora.waitForFinished(10000));
        QCOMPARE(velmora.exitStatus(), QProcess::NormalExit); // no abort, no core dump
        QTEST(velmora.exitCode(), "status");
        QFETCH(QString, expected);
        const QString output = QString::fromUtf8(velmora.readAllStandardOutput() + velmora.readAllStandardError());
        if (expected.startsWith(u"Usage:"))
            QVERIFY2(output.startsWith(expected) && output.contains(u"--version"), qPrintable(output));
        else
            QCOMPARE(output, expected);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
