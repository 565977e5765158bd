#pragma once

class QKeyEvent;

// The keys that play on the board without a mouse.
namespace windows {

// The cell (1 to 9, in reading order) a key places in: the digits by number;
// the numeric keypad by position, its 7 8 9 the top row, with NumLock on or
// off (KP_7 and KP_Home alike). 0 for any other key.
int cellForKey(const QKeyEvent &key);

// The cell an arrow key moves to from cell `from`, staying at the board's
// edge; 0 when the key is no arrow.
int cellAfterArrow(int from, const QKeyEvent &key);

// The key that reads the scoreboard out: 0, on the keypad too.
bool readsScoreboard(const QKeyEvent &key);

} // namespace windows
