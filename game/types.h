#pragma once

#include <QString>

// The game's own types: marks, results, opening rules and tallies.
namespace game {

// The two marks are compared as whole texts, exactly and case-sensitively:
// "x", "0" or "X " are not marks.
inline const QString kX = QStringLiteral("X");
inline const QString kO = QStringLiteral("O");

inline bool isMark(const QString &text)
{
    return text == kX || text == kO;
}

// The next-mark indicator means X only when it reads exactly "X"; anything else means O.
inline bool xIsNext(const QString &indicator)
{
    return indicator == kX;
}

enum class Result { XWon, OWon, Draw };

// Who opens the next game: the three option buttons of the starter-choice window.
enum class Rule { XOpens, OOpens, WinnerOpens };

enum class Tally { XWins, OWins, Draws };

} // namespace game
