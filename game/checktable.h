#pragma once

#include "types.h"

#include <array>

namespace game {

// One line test of the periodic board check.
struct LineCheck
{
    char mark;                // 'X' or 'O'
    std::array<int, 3> cells; // 1..9, reading order
    int strikeLine;           // 11..18, the Line1x shown over it
    Result result;
};

// The order matters: X's rows and diagonals, then all of O's lines, then X's
// columns. When two lines are complete at one tick, the earlier entry wins.
// The draw test follows the sixteen entries.
inline constexpr std::array<LineCheck, 16> kLineChecks{{
    {'X', {1, 2, 3}, 15, Result::XWon},
    {'X', {4, 5, 6}, 14, Result::XWon},
    {'X', {7, 8, 9}, 16, Result::XWon},
    {'X', {1, 5, 9}, 12, Result::XWon},
    {'X', {3, 5, 7}, 11, Result::XWon},
    {'O', {1, 2, 3}, 15, Result::OWon},
    {'O', {4, 5, 6}, 14, Result::OWon},
    {'O', {7, 8, 9}, 16, Result::OWon},
    {'O', {1, 5, 9}, 12, Result::OWon},
    {'O', {3, 5, 7}, 11, Result::OWon},
    {'O', {1, 4, 7}, 17, Result::OWon},
    {'O', {2, 5, 8}, 13, Result::OWon},
    {'O', {3, 6, 9}, 18, Result::OWon},
    {'X', {1, 4, 7}, 17, Result::XWon},
    {'X', {2, 5, 8}, 13, Result::XWon},
    {'X', {3, 6, 9}, 18, Result::XWon},
}};

} // namespace game
