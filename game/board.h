#pragma once

#include "types.h"

#include <QString>

namespace game {

// The game keeps no state of its own: everything lives in the captions and
// visibility of the main window's controls. This is the window's side of the
// contract, so the rules can be exercised without any window.
class Board
{
public:
    static constexpr int kCells = 9;        // cells 1..9 in reading order
    static constexpr int kFirstStrike = 11; // strike lines Line11..Line18
    static constexpr int kLastStrike = 18;
    static constexpr int kStrikeLines = kLastStrike - kFirstStrike + 1;

    virtual QString cell(int k) const = 0;
    virtual void setCell(int k, const QString &text) = 0;
    virtual QString nextMark() const = 0;
    virtual void setNextMark(const QString &text) = 0;
    virtual bool strikeVisible(int line) const = 0;
    virtual void setStrikeVisible(int line, bool visible) = 0;
    virtual QString tally(Tally which) const = 0;
    virtual void setTally(Tally which, const QString &text) = 0;

protected:
    ~Board() = default;
};

} // namespace game
