// The main window's commands: new game, clearing the tallies, leaving, and the
// help windows, by button, menu item and shortcut alike.
#include "aboutwindow.h"
#include "faces.h"
#include "howtoplay.h"
#include "starterchoice.h"
#include "support/ui.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

using ui::px;

namespace {

QAction *item(MainWindow &main, const char *name)
{
    return ui::child<QAction>(&main, name);
}

// The three ways to give one command.
enum class Via { Button, MenuItem, Shortcut };

void give(MainWindow &main, Via via, const char *button, const char *menuItem, const QKeySequence &keys)
{
    switch (via) {
    case Via::Button:
        ui::child<QPushButton>(&main, button)->click();
        break;
    case Via::MenuItem:
        item(main, menuItem)->trigger();
        break;
    case Via::Shortcut:
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keySequence(&main, keys);
        break;
    }
}

struct Box
{
    QString text, title;
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool buttonIcons = false;
    bool modal = false;
};

// Reads the message box that comes up, then answers it.
void answerBox(QMessageBox::StandardButton answer, Box *seen = nullptr)
{
    ui::whenModal([answer, seen](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        if (seen) {
            seen->text = box->text();
            seen->title = box->windowTitle();
            for (QAbstractButton *b : box->buttons()) {
                seen->buttons << b->text();
                seen->buttonIcons |= !b->icon().isNull();
            }
            seen->buttons.sort();
            seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            seen->icon = box->icon();
            seen->modal = box->windowModality() == Qt::ApplicationModal && !box->parentWidget();
        }
        box->button(answer)->click();
    });
}

void startGame(MainWindow &main)
{
    for (int k : {1, 5})
        ui::click(&main, qPrintable(QStringLiteral("Label%1").arg(k)));
    main.setStrikeVisible(14, true);
    main.setTally(game::Tally::XWins, u"4"_s);
    main.setTally(game::Tally::OWins, u"2"_s);
    main.setTally(game::Tally::Draws, u"7"_s);
}

} // namespace

Q_DECLARE_METATYPE(Via)

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::configure(); }
    void cleanupTestCase() { ui::reset(); }

    void newGame_data();
    void newGame();
    void clearTallies_data();
    void clearTallies();
    void questionBox_data();
    void questionBox();
    void exitAnsweredNo_data();
    void exitAnsweredNo();
    void exitAnsweredYes_data();
    void exitAnsweredYes();
    void closeBoxEndsEverything();
    void heldEnterActsOnce();
    void keypadEnterOnMainButtons();

    void howToPlay();
    void about();
    void aboutClosesOnKeys_data();
    void aboutClosesOnKeys();
    void freshInstances();
    void firstComesBackWithItsChoice();
};

void CommandsTest::newGame_data()
{
    QTest::addColumn<Via>("via");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("expected");

    const std::pair<Via, const char *> vias[] = {
        {Via::Button, "Command1"}, {Via::MenuItem, "new"}, {Via::Shortcut, "F2"}};
    for (const auto &[via, name] : vias) {
        QTest::addRow("%s, Option1", name) << via << 1 << "X";
        QTest::addRow("%s, Option2", name) << via << 2 << "O";
        QTest::addRow("%s, Option3 keeps O", name) << via << 3 << "O";
    }
}

void CommandsTest::newGame()
{
    QFETCH(Via, via);
    QFETCH(int, option);
    MainWindow &main = ui::freshMain();
    ui::child<QRadioButton>(&ui::windows().starterChoice(), qPrintable(QStringLiteral("Option%1").arg(option)))
        ->click();
    startGame(main); // X and O placed: O to move
    main.setNextMark(u"O"_s);
    give(main, via, "Command1", "new", QKeySequence(Qt::Key_F2));
    QCOMPARE(ui::board(main), QStringLiteral(".../.../..."));
    for (int line = 11; line <= 18; ++line)
        QVERIFY(!main.strikeVisible(line));
    QTEST(main.nextMark(), "expected");
    QCOMPARE(ui::tallies(main), QStringList({u"4"_s, u"2"_s, u"7"_s})); // no confirmation, nothing counted
    QVERIFY(!QApplication::activeModalWidget());
}

void CommandsTest::clearTallies_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QStringList>("expected");

    // clang-format off
    QTest::newRow("Yes") << QMessageBox::Yes << QStringList{u"0"_s, u"0"_s, u"0"_s};
    QTest::newRow("No") << QMessageBox::No << QStringList{u"4"_s, u"2"_s, u"7"_s};
    // clang-format on
}

void CommandsTest::clearTallies()
{
    QFETCH(QMessageBox::StandardButton, answer);
    MainWindow &main = ui::freshMain();
    startGame(main);
    const QString before = ui::board(main);
    answerBox(answer);
    item(main, "winerim")->trigger();
    QTEST(ui::tallies(main), "expected");
    QCOMPARE(ui::board(main), before); // the game goes on
    QCOMPARE(main.nextMark(), QStringLiteral("X"));
}

// Both questions: a Yes/No box with Yes the default, no icons, modal to the whole program.
void CommandsTest::questionBox_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    // clang-format off
    QTest::newRow("clear tallies") << "winerim" << "האם אתם בטוחים שאתם רוצים לנקות את התוצאות"
                                   << "Velmora"; // given none, the application's name
    QTest::newRow("exit") << "exit" << "?אתה בטוח שאתה רוצה לצאת" << "יציאה";
    // clang-format on
}

void CommandsTest::questionBox()
{
    QFETCH(QString, menuItem);
    MainWindow &main = ui::freshMain();
    Box box;
    answerBox(QMessageBox::No, &box);
    item(main, qPrintable(menuItem))->trigger();
    QTEST(box.text, "text");
    QTEST(box.title, "title");
    QCOMPARE(box.buttons, QStringList({u"כן"_s, u"לא"_s}));
    QCOMPARE(box.defaultButton, QStringLiteral("כן"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QVERIFY(!box.buttonIcons);
    QVERIFY(box.modal);
}

void CommandsTest::exitAnsweredNo_data()
{
    QTest::addColumn<Via>("via");
    // clang-format off
    QTest::newRow("Command2") << Via::Button;
    QTest::newRow("exit") << Via::MenuItem;
    QTest::newRow("Ctrl+X") << Via::Shortcut;
    // clang-format on
}

void CommandsTest::exitAnsweredNo()
{
    QFETCH(Via, via);
    MainWindow &main = ui::freshMain();
    startGame(main);
    ui::windows().starterChoice(); // exists, hidden
    answerBox(QMessageBox::No);
    give(main, via, "Command2", "exit", QKeySequence(Qt::CTRL | Qt::Key_X));
    QVERIFY(main.isVisible());
    QVERIFY(ui::loaded("first"));
    QCOMPARE(ui::board(main), QStringLiteral("X.../.O./...").remove(3, 1));
    QCOMPARE(ui::tallies(main), QStringList({u"4"_s, u"2"_s, u"7"_s}));
}

void CommandsTest::exitAnsweredYes_data()
{
    exitAnsweredNo_data();
}

void CommandsTest::exitAnsweredYes()
{
    QFETCH(Via, via);
    MainWindow &main = ui::freshMain();
    QPointer<QWidget> mainWindow = &main;
    QPointer<QWidget> first = &ui::windows().starterChoice(); // read by a finished game, say
    answerBox(QMessageBox::Yes);
    give(main, via, "Command2", "exit", QKeySequence(Qt::CTRL | Qt::Key_X));
    QVERIFY(!main.isVisible());
    QVERIFY(!ui::loaded("first"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first); // destroyed, not just hidden
    QVERIFY(!ui::child<QTimer>(mainWindow, "Timer1")->isActive());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible() || w == mainWindow, qPrintable(w->objectName()));
}

void CommandsTest::closeBoxEndsEverything()
{
    MainWindow &main = ui::freshMain();
    ui::windows().starterChoice();
    ui::windows().resultWindow(game::Result::Draw); // whatever exists goes with it
    QVERIFY(main.close());
    QVERIFY(!ui::loaded("first"));
    QVERIFY(!ui::loaded("tako"));
}

// Return held on "יציאה": the first press asks; the repeats that follow while
// the question is open must not answer it.
void CommandsTest::heldEnterActsOnce()
{
    MainWindow &main = ui::freshMain();
    auto *exitButton = ui::child<QPushButton>(&main, "Command2");
    int boxes = 0;
    bool stillAsking = false;
    ui::whenModal([&](QWidget *box) {
        ++boxes;
        for (int repeat = 0; repeat < 3; ++repeat) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(box->focusWidget(), &press);
        }
        stillAsking = box->isVisible();
        qobject_cast<QMessageBox *>(box)->button(QMessageBox::No)->click();
    });
    QTest::keyClick(exitButton, Qt::Key_Return);
    QVERIFY2(stillAsking, "a repeated Enter answered the question");
    QCOMPARE(boxes, 1);
    QVERIFY(main.isVisible());
}

void CommandsTest::keypadEnterOnMainButtons()
{
    MainWindow &main = ui::freshMain();
    startGame(main);
    QTest::keyClick(ui::child(&main, "Command1"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(ui::board(main), QStringLiteral(".../.../..."));
}

void CommandsTest::howToPlay()
{
    MainWindow &main = ui::freshMain();
    QString title;
    QSize size;
    QColor back;
    QRect labelRect, buttonRect;
    QString text, buttonText;
    QFont font;
    int align = 0;
    bool buttonFocused = false;
    ui::whenModal([&](QWidget *w) {
        title = w->windowTitle();
        size = w->size();
        back = w->palette().color(QPalette::Window);
        auto *label = ui::child<QLabel>(w, "Label1");
        labelRect = label->geometry();
        text = label->text();
        font = label->font();
        align = int(label->alignment() & Qt::AlignHorizontal_Mask);
        auto *button = ui::child<QPushButton>(w, "Command1");
        buttonRect = button->geometry();
        buttonText = button->text();
        buttonFocused = w->focusWidget() == button && !button->isDefault();
        button->click();
    });
    startGame(main);
    const QString before = ui::board(main);
    item(main, "howplay")->trigger();
    QCOMPARE(title, QStringLiteral("?איך משחקים"));
    QCOMPARE(size, QSize(302, 252));
    QCOMPARE(back, QColor(255, 128, 128));
    QCOMPARE(labelRect, px(360, 120, 3855, 2775));
    QCOMPARE(text, QStringLiteral("מה אתם לא יודעים איך משחקים Velmora"));
    QCOMPARE(font.family(), controls::standIn(QStringLiteral("David"), 36));
    QCOMPARE(font.pointSizeF(), 36.0);
    QCOMPARE(int(font.weight()), 350);
    QCOMPARE(align, int(Qt::AlignHCenter));
    QCOMPARE(buttonRect, px(1680, 3000, 1215, 495));
    QCOMPARE(buttonText, QStringLiteral("חזרה"));
    QVERIFY(buttonFocused);
    QVERIFY(!ui::loaded("HowToPlay"));
    QCOMPARE(ui::board(main), before);
}

void CommandsTest::about()
{
    AboutWindow &w = ui::freshOwner().about();
    QCOMPARE(w.windowTitle(), QStringLiteral("About Velmora"));
    QCOMPARE(ui::child<QLabel>(&w, "lblVersion")->text(), QStringLiteral("Version " VELMORA_VERSION));
    QCOMPARE(ui::child<QLabel>(&w, "lblTitle")->text(), QStringLiteral("Velmora"));
    QCOMPARE(w.size(), QSize(447, 324));
    QCOMPARE(w.palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(w.geometry().topLeft(), w.screen()->geometry().topLeft() + QPoint(156, 129));

    QStringList frontToBack;
    for (QObject *o : w.children())
        if (o->isWidgetType())
            frontToBack.prepend(o->objectName()
                                + (o->property("index").toInt() > 0 || o->property("index") == 0
                                       ? o->property("index").toString()
                                       : u""_s));
    QCOMPARE(frontToBack.join(u' '), QStringLiteral("cmdOK Picture1 Label3 Label2 Line2 Label1 Line11 lblDescription "
                                                    "lblTitle Line10 lblVersion lblDisclaimer Label4"));
    const struct
    {
        const char *name;
        QRect rect;
        bool right;
        QColor back;
    } labels[] = {
        {"Label3", px(600, 3600, 2400, 240), false, QColor(255, 128, 0)},
        {"Label2", px(1800, 3240, 3165, 240), false, QColor(255, 128, 0)},
        {"Label1", px(4080, 2880, 2280, 240), false, QColor(255, 128, 0)},
        {"lblDescription", px(2760, 1920, 3885, 570), true, QColor(0, 0, 0)},
        {"lblTitle", px(2760, 480, 3885, 480), true, QColor(0, 0, 0)},
        {"lblVersion", px(2640, 1320, 3885, 225), true, QColor(0, 0, 0)},
        {"lblDisclaimer", px(2400, 4080, 3870, 825), true, QColor(0, 0, 0)},
        {"Label4", px(0, 2760, 6735, 1095), false, QColor(255, 128, 0)},
    };
    for (const auto &l : labels) {
        auto *label = ui::child<QLabel>(&w, l.name);
        QVERIFY2(label, l.name);
        QCOMPARE(label->geometry(), l.rect);
        QCOMPARE(bool(label->alignment() & Qt::AlignRight), l.right);
        QCOMPARE(label->palette().color(QPalette::Window), l.back);
        QCOMPARE(label->palette().color(QPalette::WindowText), l.right ? QColor(255, 255, 255) : QColor(0, 0, 0));
    }
    QCOMPARE(ui::child<QLabel>(&w, "lblDescription")->text(),
             QStringLiteral("תאור התוכנה : תוכנה זו היא תוכנה פשוטה.  פשוט Velmora. ומי לא מכיר את  המשחק האגדי "
                            "הזה. אז תהנו... ולהתראות"));
    // Credits and contact lines name no person and use reserved addresses only.
    const QString contact = ui::child<QLabel>(&w, "Label2")->text() + ui::child<QLabel>(&w, "Label3")->text();
    QVERIFY(contact.contains(u"example.org"));
    auto *picture = ui::child<QLabel>(&w, "Picture1");
    QCOMPARE(picture->geometry(), px(0, 0, 2775, 2775));
    QCOMPARE(picture->pixmap().size(), QSize(181, 181));
    auto *ok = ui::child<QPushButton>(&w, "cmdOK");
    QCOMPARE(ok->geometry(), px(600, 4080, 1260, 465));
    QCOMPARE(ok->text(), QStringLiteral("אישור"));
    QCOMPARE(w.focusWidget(), ok);
    // Tab walks the texts in reading order, for screen readers, then the picture.
    QStringList tabs;
    for (QWidget *next = ok->nextInFocusChain(); next != picture && tabs.size() < 9; next = next->nextInFocusChain())
        tabs << next->objectName();
    QCOMPARE(tabs, QStringList({u"lblTitle"_s, u"lblVersion"_s, u"lblDescription"_s, u"Label1"_s, u"Label2"_s,
                                u"Label3"_s, u"lblDisclaimer"_s}));
}

void CommandsTest::aboutClosesOnKeys_data()
{
    QTest::addColumn<int>("key");
    // clang-format off
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    // clang-format on
}

void CommandsTest::aboutClosesOnKeys()
{
    QFETCH(int, key);
    MainWindow &main = ui::freshMain();
    bool shown = false;
    ui::whenModal([&](QWidget *w) {
        shown = w->objectName() == u"frmAbout";
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->focusWidget(), Qt::Key(key));
    });
    item(main, "about")->trigger();
    QVERIFY(shown);
    QVERIFY(!ui::loaded("frmAbout"));
}

void CommandsTest::freshInstances()
{
    MainWindow &main = ui::freshMain();
    for (const char *name : {"howplay", "about"}) {
        QList<QPointer<QWidget>> instances;
        for (int round = 0; round < 2; ++round) {
            ui::whenModal([&](QWidget *w) {
                instances << w;
                w->close();
            });
            item(main, name)->trigger();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(instances.size(), 2);
        QVERIFY2(!instances[0] && !instances[1], "each showing destroyed when closed");
    }
}

void CommandsTest::firstComesBackWithItsChoice()
{
    MainWindow &main = ui::freshMain();
    ui::whenModal([](QWidget *first) {
        ui::child<QRadioButton>(first, "Option2")->click();
        ui::pressButton(first);
    });
    item(main, "howsfirst")->trigger();
    QString selected;
    ui::whenModal([&](QWidget *first) {
        for (const char *name : {"Option1", "Option2", "Option3"})
            if (ui::child<QRadioButton>(first, name)->isChecked())
                selected = QString::fromLatin1(name);
        ui::pressButton(first);
    });
    item(main, "howsfirst")->trigger();
    QCOMPARE(selected, QStringLiteral("Option2"));
    QCOMPARE(main.nextMark(), QStringLiteral("O"));
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
