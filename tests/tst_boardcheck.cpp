// The periodic board check: table order, strike lines, waiting in the result
// window, the draw test, and no second pass while one waits.
#include "boardcheck.h"
#include "rules.h"
#include "support/textboard.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

using game::Result;

namespace {

const char *name(Result r)
{
    return r == Result::XWon ? "winx" : r == Result::OWon ? "wino" : "tako";
}

// Stands in for the result windows: records what was shown and which strike
// lines were visible at that moment, then leaves as the button does (or not).
struct Recorder
{
    explicit Recorder(TextBoard &b, bool press = true) : board(b), pressButton(press) {}

    TextBoard &board;
    bool pressButton;
    QStringList shown;
    QList<QList<int>> strikesWhenShown;

    void operator()(Result r)
    {
        shown << QString::fromLatin1(name(r));
        strikesWhenShown << board.visibleStrikes();
        if (pressButton)
            game::finishGame(board, r, game::Rule::XOpens);
    }
};

} // namespace

class BoardCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void closedOtherwiseReportsEverything();
    void noSecondPassWhileWaiting();
};

void BoardCheckTest::order_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<int>>("strike");

    // clang-format off
    QTest::newRow("empty board: nothing") << ".../.../..." << QStringList{} << QList<int>{};
    QTest::newRow("open board without a line") << "XO./OX./..." << QStringList{} << QList<int>{};
    QTest::newRow("X top row") << u"XXX/OO./..."_s << QStringList{u"winx"_s} << QList<int>{15};
    QTest::newRow("X row beats O row") << u"XXX/OOO/..."_s << QStringList{u"winx"_s} << QList<int>{15};
    QTest::newRow("O column beats X column") << u"XO./XO./XO."_s << QStringList{u"wino"_s} << QList<int>{13};
    QTest::newRow("row and column: earlier entry only") << u"XXX/XO./XOO"_s << QStringList{u"winx"_s} << QList<int>{15};
    QTest::newRow("X diagonal") << u"XO./OX./..X"_s << QStringList{u"winx"_s} << QList<int>{12};
    QTest::newRow("O anti-diagonal") << u"XXO/XO./O.."_s << QStringList{u"wino"_s} << QList<int>{11};
    QTest::newRow("X right column") << u"OOX/..X/..X"_s << QStringList{u"winx"_s} << QList<int>{18};
    QTest::newRow("ninth mark wins, no draw follows") << u"XOX/OXO/OXX"_s << QStringList{u"winx"_s} << QList<int>{12};
    QTest::newRow("full board without a line: draw") << u"XOX/XOO/OXX"_s << QStringList{u"tako"_s} << QList<int>{};
    QTest::newRow("lower-case x neither wins nor fills") << "xxx/OXO/OXO" << QStringList{} << QList<int>{};
    // clang-format on
}

void BoardCheckTest::order()
{
    QFETCH(QString, board);
    TextBoard b(board);
    Recorder recorder(b);
    game::BoardCheck check(std::ref(recorder));
    QVERIFY(check.run(b));
    QTEST(recorder.shown, "shown");
    if (!recorder.shown.isEmpty())
        QTEST(recorder.strikesWhenShown.first(), "strike");
    // The button cleared the board, so the next tick finds nothing.
    recorder.shown.clear();
    check.run(b);
    QVERIFY(recorder.shown.isEmpty());
}

// A result window left without its button clears nothing: the rest of the
// same pass reports every later line, and the draw, on the unchanged board.
void BoardCheckTest::closedOtherwiseReportsEverything()
{
    TextBoard b(u"XXX/XOO/XOO"_s);
    Recorder recorder(b, false);
    game::BoardCheck check(std::ref(recorder));
    check.run(b);
    QCOMPARE(recorder.shown, QStringList({u"winx"_s, u"winx"_s, u"tako"_s}));
    QCOMPARE(b.visibleStrikes(), QList<int>({15, 17}));
}

void BoardCheckTest::noSecondPassWhileWaiting()
{
    TextBoard b(u"OOO/XX./X.."_s);
    int shows = 0;
    int refused = 0;
    game::BoardCheck *self = nullptr;
    game::BoardCheck check([&](Result r) {
        ++shows;
        // Ticks that fall due while the window is open.
        for (int tick = 0; tick < 3; ++tick)
            refused += self->run(b) ? 0 : 1;
        QVERIFY(self->running());
        game::finishGame(b, r, game::Rule::XOpens);
    });
    self = &check;
    QVERIFY(check.run(b));
    QCOMPARE(shows, 1);
    QCOMPARE(refused, 3);
    QVERIFY(!check.running());
    QCOMPARE(b.tally(game::Tally::OWins), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(BoardCheckTest)
#include "tst_boardcheck.moc"
