// Wins and draws through the main window: the board check and its result
// windows, the opening rule kept by `first`, the tallies, and the two mended
// faults (play on after a line; the close box of a result window).
#include "faces.h"
#include "resultwindow.h"
#include "starterchoice.h"
#include "support/ui.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

using ui::px;

namespace {

QList<int> visibleStrikes(const MainWindow &main)
{
    QList<int> lines;
    for (int line = 11; line <= 18; ++line)
        if (main.strikeVisible(line))
            lines << line;
    return lines;
}

void chooseOption(int n)
{
    ui::child<QRadioButton>(&ui::windows().starterChoice(), qPrintable(QStringLiteral("Option%1").arg(n)))->click();
}

// Ends the game on the board through the check, leaving each window by its button.
QStringList finishByButton(MainWindow &main)
{
    return ui::checkAnswering(main, ui::pressButton);
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::configure(); }
    void cleanupTestCase() { ui::reset(); }

    void resultWindows_data();
    void resultWindows();
    void winxMarks();
    void winoMarks();
    void takoLabels();
    void firstWindow();

    void checkOrder_data();
    void checkOrder();
    void noSecondPassWhileWaiting();
    void openingRule_data();
    void openingRule();
    void firstNeverOpenedGivesX();
    void option2ActsAtOnce();
    void hiddenFirstKeepsChoice();
    void closeBoxForgetsChoice();
    void tallies_data();
    void tallies();
    void playStopsAtACompleteLine();
    void closeBoxCountsLikeTheButton();
    void enterPressesTheButton();
    void keypadEnterPressesTheButton();
    void twoQueuedDismissalsCountOnce_data();
    void twoQueuedDismissalsCountOnce();
    void resultLeftAfterItsOwnerIsGone();
};

void ResultsTest::resultWindows_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<bool>("corner");
    QTest::addColumn<QRect>("button");

    // clang-format off
    QTest::newRow("winx") << int(game::Result::XWon) << "winx" << "האיקס ניצח" << QSize(312, 213)
                          << QColor(255, 128, 128) << true << px(1800, 2040, 1215, 1095);
    QTest::newRow("wino") << int(game::Result::OWon) << "wino" << "העיגול ניצח" << QSize(336, 231)
                          << QColor(0, 255, 0) << true << px(1920, 1200, 1455, 1095);
    QTest::newRow("tako") << int(game::Result::Draw) << "tako" << "תיקו" << QSize(312, 213) << QColor(255, 0, 0)
                          << false << px(1800, 2640, 1215, 495);
    // clang-format on
}

void ResultsTest::resultWindows()
{
    QFETCH(int, result);
    QFETCH(bool, corner);
    QFETCH(QRect, button);
    ResultWindow &w = ui::freshOwner().resultWindow(game::Result(result));
    QTEST(w.objectName(), "name");
    QTEST(w.windowTitle(), "caption");
    QTEST(w.size(), "client");
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QTEST(w.palette().color(QPalette::Window), "back");
    QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!w.parentWidget()); // no owner
    if (corner) {
        QCOMPARE(w.pos(), w.screen()->geometry().topLeft()); // the frame's corner
    } else {
        QVERIFY(!w.testAttribute(Qt::WA_Moved)); // left to the window manager
    }
    auto *back = ui::child<QPushButton>(&w, "Command1");
    QCOMPARE(back->text(), QStringLiteral("חזרה למשחק"));
    QCOMPARE(back->geometry(), button);
    QVERIFY(!back->isDefault());
    QCOMPARE(w.focusWidget(), back);
    // Every label is filled with the window's own background.
    for (QLabel *l : w.findChildren<QLabel *>()) {
        QCOMPARE(l->palette().color(QPalette::Window), w.palette().color(QPalette::Window));
        QVERIFY(l->autoFillBackground());
    }
    // The button is in front of everything.
    QCOMPARE(w.children().last(), back);
}

void ResultsTest::winxMarks()
{
    ResultWindow &w = ui::freshOwner().resultWindow(game::Result::XWon);
    const int left[] = {960, 960, 3960, 3960, 240, 3120, 3000, 1200, 360, 3720, 240, 1560};
    const int top[] = {0, 1200, 2160, 240, 600, 2520, 720, 2280, 2160, 1320, 1440, 720};
    QStringList frontToBack;
    for (QObject *o : w.children())
        frontToBack.prepend(o->objectName()
                            + (o->property("index").toInt() > 0 || o->property("index") == 0
                                   ? o->property("index").toString()
                                   : u""_s));
    QCOMPARE(frontToBack.join(u' '),
             QStringLiteral("Command1 Label111 Label110 Label19 Label18 Label17 Label16 Label15 Label14 Label13 "
                            "Label12 Label11 Label10 Label2"));
    const QList<QLabel *> marks = w.findChildren<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(marks.size(), 12);
    for (QLabel *m : marks) {
        const int i = m->property("index").toInt();
        QCOMPARE(m->geometry(), px(left[i], top[i], 375, 615));
        QCOMPARE(m->text(), QStringLiteral("x"));
        QCOMPARE(m->font().family(), controls::standIn(QStringLiteral("MS Sans Serif"), 24));
        QCOMPARE(m->font().pointSizeF(), 24.0);
    }
    auto *big = ui::child<QLabel>(&w, "Label2");
    QCOMPARE(big->geometry(), px(1440, -960, 2010, 3930)); // cut off at the top edge
    QCOMPARE(big->text(), QStringLiteral("x"));
    QCOMPARE(big->font().pointSizeF(), 200.25);
    QCOMPARE(int(big->font().weight()), 350);
}

void ResultsTest::winoMarks()
{
    ResultWindow &w = ui::freshOwner().resultWindow(game::Result::OWon);
    const int left[] = {4440, 2400, 3960, 3600, 600, 1080, 600, 2400, 240, 4080, 240, 4440, 1200};
    const int top[] = {480, 2280, 2640, 120, 360, 2640, 2040, 600, 1560, 1440, 2760, 2040, 120};
    QList<int> order;
    for (QObject *o : w.children())
        if (o->objectName() == u"Label1")
            order.prepend(o->property("index").toInt());
    QCOMPARE(order, QList<int>({12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 1, 0, 3}));
    for (QLabel *m : w.findChildren<QLabel *>(QStringLiteral("Label1"))) {
        const int i = m->property("index").toInt();
        QCOMPARE(m->geometry(), px(left[i], top[i], 495, 615));
        QCOMPARE(m->text(), QStringLiteral("O"));
    }
    auto *big = ui::child<QLabel>(&w, "Label2");
    QCOMPARE(big->geometry(), px(1200, 120, 2895, 3930)); // beyond the bottom edge
    QCOMPARE(big->text(), QStringLiteral("O"));
    QCOMPARE(w.children().first(), big);
}

void ResultsTest::takoLabels()
{
    ResultWindow &w = ui::freshOwner().resultWindow(game::Result::Draw);
    QStringList frontToBack;
    for (QObject *o : w.children())
        frontToBack.prepend(o->objectName());
    QCOMPARE(frontToBack.join(u' '), QStringLiteral("Command1 Label10 Label9 Label8 Label7 Label6 Label5 Label4 "
                                                    "Label3 Label2 Label1 Label11"));
    const struct
    {
        const char *name;
        QRect rect;
        const char *caption;
        double points;
        int align;
    } labels[] = {
        {"Label11", px(960, 720, 2550, 1425), "תיקו", 72, Qt::AlignLeft},
        {"Label1", px(3360, 2400, 1215, 645), "אף אחד לא ניצח", 18, Qt::AlignRight},
        {"Label10", px(360, 2520, 1215, 645), "אף אחד לא ניצח", 18, Qt::AlignRight},
        {"Label2", px(3000, 360, 525, 705), "X", 36, Qt::AlignLeft},
        {"Label3", px(360, 120, 525, 705), "X", 36, Qt::AlignLeft},
        {"Label4", px(3960, 1560, 525, 705), "X", 36, Qt::AlignLeft},
        {"Label5", px(1920, 1800, 525, 705), "X", 36, Qt::AlignLeft},
        {"Label6", px(1680, 120, 525, 705), "O", 36, Qt::AlignLeft},
        {"Label7", px(360, 1440, 525, 705), "O", 36, Qt::AlignLeft},
        {"Label8", px(4080, 120, 525, 705), "O", 36, Qt::AlignLeft},
        {"Label9", px(2880, 2040, 525, 705), "O", 36, Qt::AlignLeft},
    };
    for (const auto &l : labels) {
        auto *label = ui::child<QLabel>(&w, l.name);
        QVERIFY2(label, l.name);
        QCOMPARE(label->geometry(), l.rect);
        QCOMPARE(label->text(), QString::fromUtf8(l.caption));
        QCOMPARE(label->font().family(), controls::standIn(QStringLiteral("David"), l.points));
        QCOMPARE(label->font().pointSizeF(), l.points);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), l.align);
    }
    // The windows' dialog font on the button.
    QCOMPARE(ui::child<QPushButton>(&w, "Command1")->font(), controls::windowFont());
}

void ResultsTest::firstWindow()
{
    StarterChoiceWindow &w = ui::freshOwner().starterChoice();
    QVERIFY(!w.isVisible()); // a read creates it hidden
    QCOMPARE(w.windowTitle(), QStringLiteral("?מי ראשון"));
    QCOMPARE(w.size(), QSize(396, 232));
    const struct
    {
        const char *name;
        QRect rect;
        const char *caption;
        bool checked;
    } options[] = {
        {"Option1", px(1920, 1560, 3735, 495), " X-שחקן מספר אחד תמיד הראשון  - כלומר ה ", true},
        {"Option2", px(1920, 2160, 3735, 495), "O-שחקן מספר שנים תמיד הראשון  - כלומר ה ", false},
        {"Option3", px(2160, 2760, 3495, 495), "מי שניצח במשחק האחרון הוא זה שיתחיל", false},
    };
    for (const auto &o : options) {
        auto *option = ui::child<QRadioButton>(&w, o.name);
        QCOMPARE(option->geometry(), o.rect);
        QCOMPARE(option->text(), QString::fromUtf8(o.caption));
        QCOMPARE(option->isChecked(), o.checked);
    }
    auto *label = ui::child<QLabel>(&w, "Label1");
    QCOMPARE(label->geometry(), px(1080, 360, 4695, 735));
    QCOMPARE(label->text(), QStringLiteral("אז תגידו לי מי אתם רוצים ?שיהיה הראשון"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label->font().pointSizeF(), 20.25);
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignRight));
    auto *ok = ui::child<QPushButton>(&w, "Command1");
    QCOMPARE(ok->geometry(), px(240, 1680, 1215, 975));
    QCOMPARE(ok->text(), QStringLiteral("אישור"));
    QCOMPARE(int(ok->font().weight()), 700);
    QCOMPARE(ok->font().pointSizeF(), 15.75);
    QVERIFY(!ok->isDefault());
    // Tab order: the three options, then the button.
    auto *o1 = ui::child<QRadioButton>(&w, "Option1");
    QCOMPARE(o1->nextInFocusChain(), ui::child<QRadioButton>(&w, "Option2"));
    QCOMPARE(ui::child<QRadioButton>(&w, "Option3")->nextInFocusChain(), ok);
}

void ResultsTest::checkOrder_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<int>>("struck");

    // clang-format off
    QTest::newRow("X row against O row: X") << u"XXX/OOO/..."_s << QStringList{u"winx"_s} << QList<int>{15};
    QTest::newRow("X column against O column: O") << u"XO./XO./XO."_s << QStringList{u"wino"_s} << QList<int>{13};
    QTest::newRow("row and column at once: the row") << u"XXX/XOO/XO."_s << QStringList{u"winx"_s} << QList<int>{15};
    QTest::newRow("ninth mark wins, no tako") << u"XOX/OXO/OXX"_s << QStringList{u"winx"_s} << QList<int>{12};
    QTest::newRow("full without a line: tako") << u"XOX/XOO/OXX"_s << QStringList{u"tako"_s} << QList<int>{};
    QTest::newRow("lower-case x: nothing") << "xxx/OXO/OXO" << QStringList{} << QList<int>{};
    // clang-format on
}

void ResultsTest::checkOrder()
{
    QFETCH(QString, board);
    MainWindow &main = ui::freshMain();
    ui::setBoard(main, board);
    QList<int> struck;
    const QStringList shown = ui::checkAnswering(main, [&](QWidget *w) {
        struck = visibleStrikes(main);
        QVERIFY(w->isModal());
        ui::pressButton(w);
    });
    QTEST(shown, "shown");
    QTEST(struck, "struck");
    QVERIFY(visibleStrikes(main).isEmpty());
    if (!shown.isEmpty())
        QCOMPARE(ui::board(main), QStringLiteral(".../.../..."));
}

void ResultsTest::noSecondPassWhileWaiting()
{
    MainWindow &main = ui::freshMain();
    ui::setBoard(main, u"OOO/XX./X.."_s);
    QTimer *timer = ui::child<QTimer>(&main, "Timer1");
    timer->start();
    int windowsShown = 0;
    bool secondPass = true;
    ui::whenModal([&](QWidget *w) {
        ++windowsShown;
        secondPass = main.checkBoard();
        // Several ticks fall due while the window waits.
        QTest::qWait(700);
        ui::pressButton(w);
    });
    QTRY_COMPARE(main.tally(game::Tally::OWins), QStringLiteral("1"));
    timer->stop();
    QCOMPARE(windowsShown, 1);
    QVERIFY(!secondPass);
    QVERIFY(!ui::loaded("wino"));
}

void ResultsTest::openingRule_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("expected");

    const char *boards[] = {"XXX/OO./...", "OOO/XX./X..", "XOX/XOO/OXX"};
    const char *results[] = {"winx", "wino", "tako"};
    const char *expected[3][3] = {{"X", "X", "X"}, {"O", "O", "O"}, {"X", "O", "X"}};
    for (int option = 1; option <= 3; ++option)
        for (int r = 0; r < 3; ++r)
            QTest::addRow("Option%d after %s", option, results[r]) << option << boards[r] << expected[option - 1][r];
}

void ResultsTest::openingRule()
{
    QFETCH(int, option);
    QFETCH(QString, board);
    MainWindow &main = ui::freshMain();
    chooseOption(option);
    // Whatever the indicator held before the game ended.
    main.setNextMark(option == 3 ? QStringLiteral("X") : QStringLiteral("?"));
    ui::setBoard(main, board);
    QCOMPARE(finishByButton(main).size(), 1);
    QTEST(main.nextMark(), "expected");
}

void ResultsTest::firstNeverOpenedGivesX()
{
    MainWindow &main = ui::freshMain();
    main.setNextMark(u"O"_s);
    ui::setBoard(main, u"OOO/XX./X.."_s);
    QVERIFY(!ui::loaded("first"));
    finishByButton(main);
    QCOMPARE(main.nextMark(), QStringLiteral("X"));
    QWidget *first = ui::loaded("first");
    QVERIFY(first); // created by the read, hidden
    QVERIFY(!first->isVisible());
}

void ResultsTest::option2ActsAtOnce()
{
    MainWindow &main = ui::freshMain();
    ui::click(&main, "Label1");
    ui::click(&main, "Label2");
    QCOMPARE(main.nextMark(), QStringLiteral("X"));
    chooseOption(2);
    QCOMPARE(main.nextMark(), QStringLiteral("O"));
    ui::click(&main, "Label5");
    QCOMPARE(main.cell(5), QStringLiteral("O"));
    QCOMPARE(ui::board(main), QStringLiteral("XO./.O./...")); // nothing else touched
}

void ResultsTest::hiddenFirstKeepsChoice()
{
    MainWindow &main = ui::freshMain();
    ui::whenModal([](QWidget *first) {
        ui::child<QRadioButton>(first, "Option3")->click();
        ui::pressButton(first); // "אישור" hides it
    });
    ui::child<QAction>(&main, "howsfirst")->trigger();
    QWidget *first = ui::loaded("first");
    QVERIFY(first && !first->isVisible());
    bool stillOption3 = false;
    ui::whenModal([&](QWidget *w) {
        stillOption3 = ui::child<QRadioButton>(w, "Option3")->isChecked();
        ui::pressButton(w);
    });
    ui::child<QAction>(&main, "howsfirst")->trigger();
    QVERIFY(stillOption3);
    QCOMPARE(ui::loaded("first"), first); // the same instance
    ui::setBoard(main, u"OOO/XX./X.."_s);
    finishByButton(main);
    QCOMPARE(main.nextMark(), QStringLiteral("O")); // the winner opens
}

void ResultsTest::closeBoxForgetsChoice()
{
    MainWindow &main = ui::freshMain();
    ui::whenModal([](QWidget *first) {
        ui::child<QRadioButton>(first, "Option3")->click();
        first->close();
    });
    ui::child<QAction>(&main, "howsfirst")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!ui::loaded("first"));
    ui::setBoard(main, u"OOO/XX./X.."_s);
    finishByButton(main);
    QCOMPARE(main.nextMark(), QStringLiteral("X"));
    QVERIFY(ui::child<QRadioButton>(&ui::windows().starterChoice(), "Option1")->isChecked());
}

void ResultsTest::tallies_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    // clang-format off
    QTest::newRow("0 to 1") << "0" << "1";
    QTest::newRow("9 to 10") << "9" << "10";
    QTest::newRow("not a number restarts at 1") << "שלוש" << "1";
    // clang-format on
}

void ResultsTest::tallies()
{
    QFETCH(QString, before);
    MainWindow &main = ui::freshMain();
    for (game::Tally t : {game::Tally::XWins, game::Tally::OWins, game::Tally::Draws})
        main.setTally(t, before);
    ui::setBoard(main, u"XOX/XOO/OXX"_s);
    finishByButton(main);
    QTEST(main.tally(game::Tally::Draws), "after");
    QCOMPARE(main.tally(game::Tally::XWins), before);
    QCOMPARE(main.tally(game::Tally::OWins), before);
    // One result counts once: the next check finds an empty board.
    QVERIFY(finishByButton(main).isEmpty());
    QTEST(main.tally(game::Tally::Draws), "after");
}

// X completes a column; before the next tick O may not complete a column of
// its own, which the check would otherwise announce instead.
void ResultsTest::playStopsAtACompleteLine()
{
    MainWindow &main = ui::freshMain();
    for (int k : {1, 2, 4, 5, 7})
        ui::click(&main, qPrintable(QStringLiteral("Label%1").arg(k)));
    QCOMPARE(ui::board(main), QStringLiteral("XO./XO./X.."));
    ui::click(&main, "Label8");
    QCOMPARE(ui::board(main), QStringLiteral("XO./XO./X.."));
    QCOMPARE(main.nextMark(), QStringLiteral("O"));
    QCOMPARE(finishByButton(main), QStringList({u"winx"_s}));
    QCOMPARE(ui::tallies(main), QStringList({u"1"_s, u"0"_s, u"0"_s}));
    ui::click(&main, "Label8"); // the next game takes clicks again
    QCOMPARE(main.cell(8), QStringLiteral("X"));
}

// The close box of a result window does what its button does: the game is
// counted once, the board cleared, and nothing comes back on the next ticks.
void ResultsTest::closeBoxCountsLikeTheButton()
{
    MainWindow &main = ui::freshMain();
    // The ninth mark completes a line: without the mend the win would be lost
    // and the draw window would follow.
    ui::setBoard(main, u"XOX/OXO/OXX"_s);
    QCOMPARE(ui::checkAnswering(main, [](QWidget *w) { w->close(); }), QStringList({u"winx"_s}));
    QCOMPARE(ui::tallies(main), QStringList({u"1"_s, u"0"_s, u"0"_s}));
    QCOMPARE(ui::board(main), QStringLiteral(".../.../..."));
    QVERIFY(visibleStrikes(main).isEmpty());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!ui::loaded("winx"));
    QVERIFY(ui::checkAnswering(main, [](QWidget *w) { w->close(); }).isEmpty());
    QCOMPARE(ui::tallies(main), QStringList({u"1"_s, u"0"_s, u"0"_s}));
}

void ResultsTest::enterPressesTheButton()
{
    MainWindow &main = ui::freshMain();
    ui::setBoard(main, u"OOO/XX./X.."_s);
    ui::checkAnswering(main, [](QWidget *w) { QTest::keyClick(w->focusWidget(), Qt::Key_Return); });
    QCOMPARE(ui::tallies(main), QStringList({u"0"_s, u"1"_s, u"0"_s}));
    QCOMPARE(ui::board(main), QStringLiteral(".../.../..."));
}

void ResultsTest::keypadEnterPressesTheButton()
{
    MainWindow &main = ui::freshMain();
    ui::setBoard(main, u"OOO/XX./X.."_s);
    ui::checkAnswering(main, [](QWidget *w) { QTest::keyClick(w->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier); });
    QCOMPARE(ui::tallies(main), QStringList({u"0"_s, u"1"_s, u"0"_s}));
}

namespace {

// Queues what a player's input would bring, without handling it yet.
void queue(QWidget *window, const QString &how)
{
    QWidget *button = ui::child(window, "Command1");
    const QPointF at = button->rect().center();
    auto post = [](QWidget *to, QEvent *e) { QCoreApplication::postEvent(to, e); };
    if (how == u"button") {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            post(button, new QMouseEvent(type, at, button->mapToGlobal(at), Qt::LeftButton,
                                         type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
    } else if (how == u"close") {
        post(window, new QCloseEvent);
    } else {
        const int key = how == u"Return" ? Qt::Key_Return : Qt::Key_Space;
        post(button, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        post(button, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
    }
}

} // namespace

void ResultsTest::twoQueuedDismissalsCountOnce_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    // clang-format off
    QTest::newRow("button, button (a double-click)") << "button" << "button";
    QTest::newRow("button, close box") << "button" << "close";
    QTest::newRow("close box, close box") << "close" << "close";
    QTest::newRow("Return, Space") << "Return" << "Space";
    // clang-format on
}

// Input already queued for a result window still arrives after the first of it
// has finished the game; the game is counted once all the same.
void ResultsTest::twoQueuedDismissalsCountOnce()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    MainWindow &main = ui::freshMain();
    ui::setBoard(main, u"XXX/OO./..."_s);
    ui::checkAnswering(main, [&](QWidget *w) {
        queue(w, first);
        queue(w, second);
    });
    QCoreApplication::processEvents();
    QCOMPARE(ui::tallies(main), QStringList({u"1"_s, u"0"_s, u"0"_s}));
}

// Input still queued for a result window when the program's windows are gone
// reaches nothing (under the sanitizers, a dead window would be reported).
void ResultsTest::resultLeftAfterItsOwnerIsGone()
{
    WindowOwner &owner = ui::freshOwner();
    owner.mainWindow();
    QPointer<ResultWindow> w = &owner.resultWindow(game::Result::XWon);
    queue(w, u"button"_s);
    queue(w, u"close"_s);
    ui::reset();
    QCoreApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!w);
}

QTEST_MAIN(ResultsTest)
#include "tst_results.moc"
