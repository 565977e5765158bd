// The rules of play, on a board of plain captions: no window involved.
#include "rules.h"
#include "support/textboard.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

using game::Result;
using game::Rule;
using game::Tally;

Q_DECLARE_METATYPE(game::Rule)
Q_DECLARE_METATYPE(game::Result)

class RulesTest : public QObject
{
    Q_OBJECT

private slots:
    void clicks_data();
    void clicks();
    void cellWrittenBeforeIndicator();
    void lines_data();
    void lines();
    void openingMark_data();
    void openingMark();
    void tally_data();
    void tally();
    void finishGame_data();
    void finishGame();
    void newGame_data();
    void newGame();
    void clearTallies();
};

// A sequence of clicks, "1 5 5 9", on a starting board and indicator.
void RulesTest::clicks_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("expectedNext");

    // clang-format off
    QTest::newRow("alternation from a fresh board") << ".../.../..." << "X" << "1 2" << "XO./.../..." << "X";
    QTest::newRow("first click places X") << ".../.../..." << "X" << "9" << ".../.../..X" << "O";
    QTest::newRow("a taken cell is refused") << ".../.../..." << "X" << "5 5" << ".../.X./..." << "O";
    QTest::newRow("an opponent's mark stays") << "O../.../..." << "X" << "1" << "O../.../..." << "X";
    QTest::newRow("own mark stays, turn stays") << "O../.../..." << "O" << "1" << "O../.../..." << "O";
    QTest::newRow("lower-case x means O next") << ".../.../..." << "x" << "1" << "O../.../..." << "X";
    QTest::newRow("empty indicator means O next") << ".../.../..." << "" << "1" << "O../.../..." << "X";
    QTest::newRow("X with a blank means O next") << ".../.../..." << "X " << "1" << "O../.../..." << "X";
    QTest::newRow("no move while a line stands") << "XXX/OO./..." << "O" << "6 7" << "XXX/OO./..." << "O";
    QTest::newRow("an O line also stops play") << "OX./OX./O.." << "X" << "3" << "OX./OX./O.." << "X";
    QTest::newRow("a line of x is no line") << "xxx/.../..." << "O" << "5" << "xxx/.O./..." << "X";
    // clang-format on
}

void RulesTest::clicks()
{
    QFETCH(QString, board);
    QFETCH(QString, next);
    QFETCH(QString, clicks);
    TextBoard b(board, next);
    for (const QString &k : clicks.split(u' '))
        game::placeMark(b, k.toInt());
    QTEST(b.rows(), "expected");
    QTEST(b.nextMark(), "expectedNext");
}

void RulesTest::cellWrittenBeforeIndicator()
{
    struct Logging : TextBoard
    {
        QStringList writes;
        void setCell(int k, const QString &text) override
        {
            writes << QStringLiteral("cell %1=%2").arg(k).arg(text);
            TextBoard::setCell(k, text);
        }
        void setNextMark(const QString &text) override
        {
            writes << QStringLiteral("next=") + text;
            TextBoard::setNextMark(text);
        }
    } board;
    game::placeMark(board, 5);
    game::placeMark(board, 7);
    QCOMPARE(board.writes, QStringList({u"cell 5=X"_s, u"next=O"_s, u"cell 7=O"_s, u"next=X"_s}));
}

void RulesTest::lines_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<bool>("anyLine");
    QTest::addColumn<bool>("full");

    // clang-format off
    QTest::newRow("empty") << ".../.../..." << false << false;
    QTest::newRow("top row X") << "XXX/OO./..." << true << false;
    QTest::newRow("diagonal O") << "OX./XO./..O" << true << false;
    QTest::newRow("anti-diagonal X") << "OOX/.X./X.." << true << false;
    QTest::newRow("right column O") << "XXO/..O/X.O" << true << false;
    QTest::newRow("full without a line") << "XOX/XOO/OXX" << false << true;
    QTest::newRow("full with a line") << "XXX/OOX/XOO" << true << true;
    QTest::newRow("lower-case x fills nothing") << "XOX/XOO/OXx" << false << false;
    QTest::newRow("digit zero is not O") << "000/XX./..." << false << false;
    QTest::newRow("mixed line") << "XOX/.../..." << false << false;
    // clang-format on
}

void RulesTest::lines()
{
    QFETCH(QString, board);
    TextBoard b(board);
    QTEST(game::anyLineComplete(b), "anyLine");
    QTEST(game::boardFull(b), "full");
}

void RulesTest::openingMark_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("mark");

    const std::pair<Rule, const char *> rules[] = {
        {Rule::XOpens, "Option1"}, {Rule::OOpens, "Option2"}, {Rule::WinnerOpens, "Option3"}};
    const std::pair<Result, const char *> results[] = {
        {Result::XWon, "winx"}, {Result::OWon, "wino"}, {Result::Draw, "tako"}};
    const char *expected[3][3] = {{"X", "X", "X"}, {"O", "O", "O"}, {"X", "O", "X"}};
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < 3; ++s)
            QTest::addRow("%s after %s", rules[r].second, results[s].second)
                << rules[r].first << results[s].first << QString::fromLatin1(expected[r][s]);
}

void RulesTest::openingMark()
{
    QFETCH(Rule, rule);
    QFETCH(Result, result);
    QTEST(game::openingMark(rule, result), "mark");
}

void RulesTest::tally_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("next");

    // clang-format off
    QTest::newRow("zero") << "0" << "1";
    QTest::newRow("nine to ten, no blank") << "9" << "10";
    QTest::newRow("large") << "999999" << "1000000";
    QTest::newRow("empty counts as zero") << "" << "1";
    QTest::newRow("words count as zero") << "abc" << "1";
    QTest::newRow("leading number of a text") << "12abc" << "13";
    QTest::newRow("leading blanks") << "  4" << "5";
    QTest::newRow("fraction") << "2.5" << "3.5";
    QTest::newRow("exponent") << "1e3" << "1001";
    QTest::newRow("no infinity") << "inf" << "1";
    QTest::newRow("no hexadecimal") << "0x10" << "1";
    QTest::newRow("sign") << "-3" << "-2";
    // clang-format on
}

void RulesTest::tally()
{
    QFETCH(QString, caption);
    QTEST(game::incrementedTally(caption), "next");
}

void RulesTest::finishGame_data()
{
    QTest::addColumn<Result>("result");
    QTest::addColumn<QList<int>>("strikesLeft");
    QTest::addColumn<QStringList>("tallies");

    // clang-format off
    QTest::newRow("X won: all lines hidden") << Result::XWon << QList<int>{} << QStringList{u"8"_s, u"5"_s, u"2"_s};
    QTest::newRow("O won: all lines hidden") << Result::OWon << QList<int>{} << QStringList{u"7"_s, u"6"_s, u"2"_s};
    QTest::newRow("draw: lines left alone") << Result::Draw << QList<int>{11, 15} << QStringList{u"7"_s, u"5"_s, u"3"_s};
    // clang-format on
}

void RulesTest::finishGame()
{
    QFETCH(Result, result);
    TextBoard b(u"XXX/OOX/OXO"_s, u"O"_s);
    b.setStrikeVisible(15, true);
    b.setStrikeVisible(11, true);
    b.setTally(Tally::XWins, u"7"_s);
    b.setTally(Tally::OWins, u"5"_s);
    b.setTally(Tally::Draws, u"2"_s);
    game::finishGame(b, result, Rule::WinnerOpens);
    QCOMPARE(b.rows(), QStringLiteral(".../.../..."));
    QTEST(b.visibleStrikes(), "strikesLeft");
    QTEST(QStringList({b.tally(Tally::XWins), b.tally(Tally::OWins), b.tally(Tally::Draws)}), "tallies");
    QCOMPARE(b.nextMark(), result == Result::OWon ? QStringLiteral("O") : QStringLiteral("X"));
}

void RulesTest::newGame_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("Option1 sets X") << Rule::XOpens << "O" << "X";
    QTest::newRow("Option2 sets O") << Rule::OOpens << "X" << "O";
    QTest::newRow("Option3 keeps O") << Rule::WinnerOpens << "O" << "O";
    QTest::newRow("Option3 keeps X") << Rule::WinnerOpens << "X" << "X";
    // clang-format on
}

void RulesTest::newGame()
{
    QFETCH(Rule, rule);
    QFETCH(QString, next);
    TextBoard b(u"XO./.X./..."_s, next);
    b.setStrikeVisible(13, true);
    b.setTally(Tally::Draws, u"4"_s);
    game::newGame(b, rule);
    QCOMPARE(b.rows(), QStringLiteral(".../.../..."));
    QVERIFY(b.visibleStrikes().isEmpty());
    QTEST(b.nextMark(), "expected");
    QCOMPARE(b.tally(Tally::Draws), QStringLiteral("4")); // an abandoned game is not counted
}

void RulesTest::clearTallies()
{
    TextBoard b(u"XO./.../..."_s, u"O"_s);
    b.setTally(Tally::XWins, u"3"_s);
    b.setTally(Tally::OWins, u"x"_s);
    b.setTally(Tally::Draws, u"12"_s);
    game::clearTallies(b);
    QCOMPARE(QStringList({b.tally(Tally::XWins), b.tally(Tally::OWins), b.tally(Tally::Draws)}),
             QStringList({u"0"_s, u"0"_s, u"0"_s}));
    QCOMPARE(b.rows(), QStringLiteral("XO./.../..."));
    QCOMPARE(b.nextMark(), QStringLiteral("O"));
}

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
