#pragma once

#include "board.h"
#include "checktable.h"

#include <optional>

namespace game {

bool lineComplete(const Board &board, const LineCheck &line);
bool anyLineComplete(const Board &board);
// Every cell holds exactly "X" or "O".
bool boardFull(const Board &board);

// A click on cell k: places the indicated mark and passes the turn. Refused
// (returns false, nothing changes) when the cell is taken, or while the board
// holds a complete line that the next check has yet to report.
bool placeMark(Board &board, int k);

// Hides all strike lines unless told to keep them, then empties the cells.
void resetBoard(Board &board, bool hideStrikeLines);

// The mark that opens the game after a result.
QString openingMark(Rule rule, Result finished);

// The number a tally caption begins with plus one, as plain decimal text:
// "9" -> "10"; a caption that does not begin with a number counts as 0.
QString incrementedTally(const QString &caption);

// The whole step from a finished game to the next: reset, opening mark, count.
void finishGame(Board &board, Result finished, Rule rule);

// The new-game command: the winner-opens rule keeps whatever the indicator holds.
void newGame(Board &board, Rule rule);

void clearTallies(Board &board);

} // namespace game
