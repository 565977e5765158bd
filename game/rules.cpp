#include "rules.h"

#include <cmath>

namespace game {

bool lineComplete(const Board &board, const LineCheck &line)
{
    const QString mark(QChar::fromLatin1(line.mark));
    for (int k : line.cells) {
        if (board.cell(k) != mark)
            return false;
    }
    return true;
}

bool anyLineComplete(const Board &board)
{
    for (const LineCheck &line : kLineChecks) {
        if (lineComplete(board, line))
            return true;
    }
    return false;
}

bool boardFull(const Board &board)
{
    for (int k = 1; k <= Board::kCells; ++k) {
        if (!isMark(board.cell(k)))
            return false;
    }
    return true;
}

bool placeMark(Board &board, int k)
{
    // Overwriting a mark would corrupt the game, and a second line completed
    // before the check reports the first would be announced instead of it.
    if (!board.cell(k).isEmpty() || anyLineComplete(board))
        return false;
    // The cell is written before the indicator.
    if (xIsNext(board.nextMark())) {
        board.setCell(k, kX);
        board.setNextMark(kO);
    } else {
        board.setCell(k, kO);
        board.setNextMark(kX);
    }
    return true;
}

void resetBoard(Board &board, bool hideStrikeLines)
{
    if (hideStrikeLines) {
        for (int line = Board::kFirstStrike; line <= Board::kLastStrike; ++line)
            board.setStrikeVisible(line, false);
    }
    for (int k = 1; k <= Board::kCells; ++k)
        board.setCell(k, QString());
}

QString openingMark(Rule rule, Result finished)
{
    switch (rule) {
    case Rule::XOpens:
        return kX;
    case Rule::OOpens:
        return kO;
    case Rule::WinnerOpens:
        break;
    }
    return finished == Result::OWon ? kO : kX;
}

namespace {

// The number a text begins with: leading blanks, a sign, digits, a fraction
// and an exponent; nothing else (no "inf", no hexadecimal). No number is 0.
double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digitAt = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    while (digitAt(i)) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (digitAt(i)) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    qsizetype end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (digitAt(j)) {
            while (digitAt(j))
                ++j;
            end = j;
        }
    }
    const double value = text.mid(start, end - start).toDouble();
    return std::isfinite(value) ? value : 0;
}

} // namespace

QString incrementedTally(const QString &caption)
{
    const double sum = leadingNumber(caption) + 1;
    // Whole numbers print as plain digits; only captions the program never
    // writes (fractions, huge values) need anything else.
    if (sum == std::floor(sum) && std::fabs(sum) < 1e15)
        return QString::number(static_cast<qint64>(sum));
    return QString::number(sum, 'g', 15);
}

void finishGame(Board &board, Result finished, Rule rule)
{
    resetBoard(board, finished != Result::Draw);
    board.setNextMark(openingMark(rule, finished));
    const Tally tally = finished == Result::XWon   ? Tally::XWins
                        : finished == Result::OWon ? Tally::OWins
                                                   : Tally::Draws;
    board.setTally(tally, incrementedTally(board.tally(tally)));
}

void newGame(Board &board, Rule rule)
{
    resetBoard(board, true);
    if (rule == Rule::XOpens)
        board.setNextMark(kX);
    else if (rule == Rule::OOpens)
        board.setNextMark(kO);
}

void clearTallies(Board &board)
{
    for (Tally t : {Tally::XWins, Tally::OWins, Tally::Draws})
        board.setTally(t, QStringLiteral("0"));
}

} // namespace game
