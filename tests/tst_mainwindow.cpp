// The main window as it opens: every control by name with its rectangle,
// caption, colours, font, alignment and visibility; the stacking order; the
// menus and the timer; then moves made by clicking the cells.
#include "captionlabel.h"
#include "controls.h"
#include "faces.h"
#include "lineshape.h"
#include "mainwindowtitle.h"
#include "support/ui.h"

#include <QMenuBar>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

using ui::px;

namespace {

const QColor kGreen(0, 192, 0);
const QColor kOrange(255, 128, 0);

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::configure(); }
    void cleanupTestCase() { ui::reset(); }

    void window();
    void labels_data();
    void labels();
    void lines_data();
    void lines();
    void fontsResolve();
    void buttons();
    void stacking();
    void menus();
    void timer();

    void moves_data();
    void moves();
    void onlyLeftClicks();
    void keyMoves_data();
    void keyMoves();
    void noKeyMovesUnderAModalWindow();
    void lookupNamesWhatIsMissing();

private:
    MainWindow *main = nullptr;
};

void MainWindowTest::window()
{
    main = &ui::freshMain();
    QCOMPARE(main->objectName(), QStringLiteral("Velmora"));
    QCOMPARE(main->windowTitle(), QString::fromUtf8(kMainWindowTitle));
    QCOMPARE(main->centralWidget()->size(), QSize(483, 416));
    QCOMPARE(main->centralWidget()->y(), main->menuBar()->height()); // below the menu bar
    QCOMPARE(main->minimumSize(), main->maximumSize());
    QCOMPARE(main->centralWidget()->palette().color(QPalette::Window), kGreen);
    QVERIFY(main->centralWidget()->autoFillBackground());
    const Qt::WindowFlags flags = main->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(main->layoutDirection(), Qt::LeftToRight);
    QTRY_VERIFY(!main->windowIcon().isNull()); // decoded on another thread
    // Centred on the screen.
    const QPoint centre = main->screen()->geometry().center();
    QVERIFY2(qAbs(main->frameGeometry().center().x() - centre.x()) <= 1, "horizontally centred");
    QVERIFY2(qAbs(main->frameGeometry().center().y() - centre.y()) <= 1, "vertically centred");
}

void MainWindowTest::labels_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("fore");  // invalid: the default text colour
    QTest::addColumn<QString>("face"); // empty: the window's default font
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("framed");

    const int left = Qt::AlignLeft, centre = Qt::AlignHCenter, right = Qt::AlignRight;
    const int cellsAt[9][2] = {{240, 360},   {2160, 360}, {4080, 360},  {240, 2160}, {2160, 2160},
                               {4080, 2160}, {240, 3960}, {2160, 3960}, {4080, 3960}};
    for (int k = 1; k <= 9; ++k)
        QTest::addRow("Label%d", k) << px(cellsAt[k - 1][0], cellsAt[k - 1][1], 1095, 1095) << "" << kOrange << QColor()
                                    << "David" << 69.75 << 700 << left << true;

    // clang-format off
    QTest::newRow("Label11") << px(5640, 0, 1695, 735) << "לוח תוצאות" << QColor(0, 192, 192) << QColor()
                             << "MS Sans Serif" << 13.5 << 400 << centre << false;
    QTest::newRow("Label12") << px(5760, 840, 615, 495) << " X" << kGreen << QColor() << "David" << 26.25 << 350
                             << left << false;
    QTest::newRow("Label13") << px(6600, 840, 615, 495) << " O" << kGreen << QColor() << "David" << 26.25 << 350
                             << left << false;
    QTest::newRow("Labelwinxnum") << px(5760, 1560, 615, 495) << "0" << kGreen << QColor() << "MS Sans Serif"
                                  << 18.0 << 400 << left << true;
    QTest::newRow("Labelwinonum") << px(6600, 1560, 615, 495) << "0" << kGreen << QColor() << "MS Sans Serif"
                                  << 18.0 << 400 << left << true;
    QTest::newRow("lbltako") << px(5760, 2280, 735, 375) << "0" << kGreen << QColor() << "David" << 18.0 << 350
                             << left << true;
    QTest::newRow("Label19") << px(6675, 2280, 540, 300) << "תיקו" << kGreen << QColor() << "David" << 15.75
                             << 350 << right << false;
    QTest::newRow("Label10") << px(5640, 3000, 1695, 420) << "תור מי עכשיו " << QColor(128, 128, 255) << QColor()
                             << "David" << 15.75 << 350 << right << false;
    QTest::newRow("labelhow") << px(6240, 3480, 615, 615) << "X" << QColor(0, 0, 0) << QColor(255, 128, 255)
                              << "David" << 36.0 << 350 << left << true;
    QTest::newRow("Label14") << px(5760, 4320, 1380, 435) << " :נבנה ע\"י" << QColor(255, 0, 255) << QColor()
                             << "MS Sans Serif" << 18.0 << 400 << right << false;
    QTest::newRow("Label15") << px(5640, 4800, 1695, 1455) << "הבית צוות" << QColor(192, 0, 192) << QColor()
                             << "David" << 36.0 << 350 << centre << false;
    QTest::newRow("Label17") << px(5640, 0, 1695, 3015) << "" << QColor(192, 64, 0) << QColor() << "" << 0.0 << 0
                             << left << false;
    QTest::newRow("Label16") << px(5640, 3000, 1935, 3495) << "" << QColor(255, 255, 0) << QColor() << "" << 0.0
                             << 0 << left << false;
    QTest::newRow("Label18") << px(0, 5400, 5655, 855) << "" << QColor(0, 0, 255) << QColor() << "" << 0.0 << 0
                             << left << false;
    // clang-format on
}

void MainWindowTest::labels()
{
    QFETCH(QRect, rect);
    QFETCH(QString, caption);
    QFETCH(QColor, back);
    QFETCH(QColor, fore);
    QFETCH(QString, face);
    QFETCH(int, align);
    main = &ui::freshMain();
    auto *label = ui::child<CaptionLabel>(main->centralWidget(), QTest::currentDataTag());
    QVERIFY(label);
    QCOMPARE(label->geometry(), rect);
    QCOMPARE(label->text(), caption);
    QVERIFY(label->isVisible());
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), back);
    QCOMPARE(label->palette().color(QPalette::WindowText),
             fore.isValid() ? fore : main->centralWidget()->palette().color(QPalette::WindowText));
    if (!face.isEmpty()) {
        QFETCH(double, points);
        QCOMPARE(label->font().family(), controls::standIn(face, points));
        QCOMPARE(label->font().pointSizeF(), points);
        QTEST(int(label->font().weight()), "weight");
        QVERIFY(!label->font().italic() && !label->font().underline() && !label->font().strikeOut());
    }
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), align);
    QTEST(label->framed(), "framed");
}

void MainWindowTest::lines_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("strike");

    const struct
    {
        const char *name;
        int x1, y1, x2, y2;
        bool strike;
    } lines[] = {
        {"Line1", 3720, 0, 3720, 5400, false},     {"Line2", 1800, 0, 1800, 5400, false},
        {"Line3", 0, 1800, 5640, 1800, false},     {"Line4", 0, 3600, 5640, 3600, false},
        {"Line5", 0, 5400, 5640, 5400, false},     {"Line6", 5640, 0, 5640, 6240, false},
        {"Line7", 6480, 720, 6480, 2160, false},   {"Line8", 5640, 3000, 7200, 3000, false},
        {"Line9", 5640, 1440, 7200, 1440, false},  {"Line10", 5640, 720, 7200, 720, false},
        {"Line19", 5640, 4200, 7200, 4200, false}, {"Line20", 5640, 2160, 7200, 2160, false},
        {"Line11", 5280, 360, 240, 5040, true},    {"Line12", 240, 360, 5280, 5040, true},
        {"Line13", 2760, 360, 2760, 5040, true},   {"Line14", 240, 2640, 5280, 2640, true},
        {"Line15", 240, 840, 5280, 840, true},     {"Line16", 240, 4440, 5280, 4440, true},
        {"Line17", 840, 360, 840, 5040, true},     {"Line18", 4680, 360, 4680, 5040, true},
    };
    for (const auto &l : lines)
        // clang-format off
        QTest::newRow(l.name) << px(l.x1, l.y1) << px(l.x2, l.y2) << (l.strike ? 5 : 1) << l.strike;
    // clang-format on
}

void MainWindowTest::lines()
{
    QFETCH(bool, strike);
    main = &ui::freshMain();
    auto *line = ui::child<LineShape>(main->centralWidget(), QTest::currentDataTag());
    QVERIFY(line);
    QTEST(line->from(), "from");
    QTEST(line->to(), "to");
    QTEST(line->lineWidth(), "width");
    QCOMPARE(line->colour(), strike ? QColor(0, 0, 192) : main->palette().color(QPalette::WindowText));
    QCOMPARE(line->isHidden(), strike);
    QVERIFY(line->testAttribute(Qt::WA_TransparentForMouseEvents));
}

// Every face that stands in for a designed one is installed, not a fallback,
// and has the Hebrew letters.
void MainWindowTest::fontsResolve()
{
    for (const QFont &f :
         {controls::toQFont({"David", 12}), controls::toQFont({"David", 15.75}), controls::toQFont({"David", 36}),
          controls::toQFont({"MS Sans Serif", 18}), controls::windowFont()}) {
        QCOMPARE(QFontInfo(f).family(), f.family());
        for (QChar letter : QStringLiteral("אבגדהוזחטיכלמנסעפצקרשת"))
            QVERIFY2(QFontMetrics(f).inFont(letter), qPrintable(f.family()));
    }
}

void MainWindowTest::buttons()
{
    main = &ui::freshMain();
    auto *newGame = ui::child<QPushButton>(main, "Command1");
    auto *exit = ui::child<QPushButton>(main, "Command2");
    QCOMPARE(newGame->geometry(), px(480, 5520, 1815, 615));
    QCOMPARE(exit->geometry(), px(3360, 5640, 1215, 495));
    QCOMPARE(newGame->text(), QStringLiteral("משחק חדש"));
    QCOMPARE(exit->text(), QStringLiteral("יציאה"));
    for (QPushButton *b : {newGame, exit}) {
        QCOMPARE(b->font().family(), controls::standIn(QStringLiteral("MS Sans Serif"), 18));
        QCOMPARE(b->font().pointSizeF(), 18.0);
        QCOMPARE(int(b->font().weight()), 400);
        QVERIFY(!b->isDefault());
    }
    // Only the two buttons take the focus, Command1 first.
    QList<QWidget *> focusable;
    for (QWidget *w : main->centralWidget()->findChildren<QWidget *>())
        if (w->focusPolicy() != Qt::NoFocus)
            focusable << w;
    QCOMPARE(focusable.size(), 2);
    QCOMPARE(newGame->nextInFocusChain(), exit);
    QCOMPARE(main->centralWidget()->focusWidget(), newGame);
}

void MainWindowTest::stacking()
{
    main = &ui::freshMain();
    QStringList frontToBack;
    for (QObject *o : main->centralWidget()->children())
        if (o->isWidgetType() && !o->objectName().isEmpty()) // not the scoreboard's notice for readers
            frontToBack.prepend(o->objectName());
    const QStringList expected =
        QStringLiteral(
            "Command2 Command1 lbltako Line20 Label19 Line19 Label18 Line18 Line17 Line16 Line15 Line14 Line13 Line12 "
            "Line11 Label15 Label14 Labelwinonum Labelwinxnum Line10 Line9 Line8 Line7 Label13 Label12 Label11 Line6 "
            "Label10 labelhow Line5 Line4 Line3 Line2 Line1 Label9 Label8 Label7 Label6 Label5 Label4 Label3 Label2 "
            "Label1 Label16 Label17")
            .split(u' ');
    QCOMPARE(frontToBack, expected);
}

void MainWindowTest::menus()
{
    main = &ui::freshMain();
    QStringList tree;
    for (QAction *top : main->menuBar()->actions()) {
        tree << top->menu()->objectName() + u'=' + top->text();
        for (QAction *item : top->menu()->actions())
            tree << QStringLiteral("  %1=%2 [%3]")
                        .arg(item->objectName(), item->text(), item->shortcut().toString(QKeySequence::PortableText));
    }
    QCOMPARE(tree, QStringList({
                       u"flie=קובץ"_s,
                       u"  new=חדש [F2]"_s,
                       u"  exit=יציאה [Ctrl+X]"_s,
                       u"options=אפשרויות"_s,
                       u"  winerim=ניקוי תוצאות []"_s,
                       u"  howsfirst=?מי ראשון []"_s,
                       u"help=עזרה"_s,
                       u"  howplay=איך משחקים []"_s,
                       u"  about=אודות []"_s,
                   }));
    for (QAction *top : main->menuBar()->actions())
        for (QAction *item : top->menu()->actions())
            QVERIFY(item->isEnabled() && item->isVisible() && !item->isCheckable() && !item->isSeparator());
}

void MainWindowTest::timer()
{
    auto *timer = ui::child<QTimer>(&ui::freshOwner().mainWindow(), "Timer1");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 250);
    QVERIFY(timer->isActive());
}

void MainWindowTest::moves_data()
{
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("next");

    // clang-format off
    QTest::newRow("X then O from a fresh window") << "X" << "5 1" << "O../.X./..." << "X";
    QTest::newRow("first click shows O next") << "X" << "3" << "..X/.../..." << "O";
    QTest::newRow("occupied cell refused") << "X" << "1 1" << "X../.../..." << "O";
    QTest::newRow("occupied by the same mark refused") << "X" << "1 2 1" << "XO./.../..." << "X";
    QTest::newRow("lower-case x places O") << "x" << "2" << ".O./.../..." << "X";
    QTest::newRow("empty indicator places O") << "" << "2" << ".O./.../..." << "X";
    QTest::newRow("X and a blank places O") << "X " << "2" << ".O./.../..." << "X";
    // clang-format on
}

void MainWindowTest::moves()
{
    QFETCH(QString, indicator);
    QFETCH(QString, clicks);
    main = &ui::freshMain();
    main->setNextMark(indicator);
    for (const QString &k : clicks.split(u' '))
        ui::click(main, qPrintable(QStringLiteral("Label") + k));
    QTEST(ui::board(*main), "board");
    QTEST(ui::child<QLabel>(main, "labelhow")->text(), "next");
}

void MainWindowTest::onlyLeftClicks()
{
    main = &ui::freshMain();
    auto *cell = ui::child<QLabel>(main, "Label7");
    QTest::mouseClick(cell, Qt::RightButton);
    QTest::mouseDClick(cell, Qt::RightButton);
    QCOMPARE(cell->text(), QString());
    QCOMPARE(main->nextMark(), QStringLiteral("X"));
}

void MainWindowTest::keyMoves_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("next");
    // clang-format off
    QTest::newRow("digit 1: cell 1") << ".../.../..." << int(Qt::Key_1) << false << "X../.../..." << "O";
    QTest::newRow("digit 9: cell 9") << ".../.../..." << int(Qt::Key_9) << false << ".../.../..X" << "O";
    QTest::newRow("keypad 7: top left") << ".../.../..." << int(Qt::Key_7) << true << "X../.../..." << "O";
    QTest::newRow("keypad 8: top middle") << ".../.../..." << int(Qt::Key_8) << true << ".X./.../..." << "O";
    QTest::newRow("keypad 3: bottom right") << ".../.../..." << int(Qt::Key_3) << true << ".../.../..X" << "O";
    QTest::newRow("a taken cell refuses its key") << "X../.../..." << int(Qt::Key_1) << false << "X../.../..." << "X";
    QTest::newRow("locked while a line waits") << "XXX/OO./..." << int(Qt::Key_6) << false << "XXX/OO./..." << "X";
    // clang-format on
}

// A key is a click on its cell, whatever has the focus in the main window.
void MainWindowTest::keyMoves()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    main = &ui::freshMain();
    ui::setBoard(*main, before);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QVERIFY(main->focusWidget()); // a command button
    QTest::keyClick(main->focusWidget(), Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QTEST(ui::board(*main), "board");
    QTEST(main->nextMark(), "next");
}

void MainWindowTest::noKeyMovesUnderAModalWindow()
{
    main = &ui::freshMain();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    ui::whenModal([this](QWidget *about) {
        QTest::keyClick(main, Qt::Key_5);
        QTest::keyClick(about, Qt::Key_5);
        about->close();
    });
    ui::child<QAction>(main, "about")->trigger();
    QCOMPARE(ui::board(*main), QStringLiteral(".../.../..."));
}

// A control looked up by a name (or of a kind) that the table does not hold is
// a mistake reported with that name (get() ends the program with it), not a
// null pointer to crash on later.
void MainWindowTest::lookupNamesWhatIsMissing()
{
    QWidget parent;
    constexpr controls::Control table[] = {{.name = "Label1", .kind = controls::Kind::Label, .at = {0, 0, 150, 150}}};
    const controls::Controls built = controls::build(&parent, table);
    QVERIFY(built.get<CaptionLabel>(u"Label1"));
    QString why;
    QVERIFY(!built.find(u"Label2", -1, &why));
    QCOMPARE(why, QStringLiteral("no control named Label2"));
    QVERIFY(!built.find(u"Label1", 3, &why));
    QCOMPARE(why, QStringLiteral("no control named Label1(3)"));
    QVERIFY(!built.find<QPushButton>(u"Label1", -1, &why));
    QCOMPARE(why, QStringLiteral("control Label1 is not a QPushButton"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
