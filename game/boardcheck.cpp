#include "boardcheck.h"

#include "rules.h"

#include <QScopedValueRollback>

namespace game {

bool BoardCheck::run(Board &board)
{
    if (running_)
        return false;
    const QScopedValueRollback<bool> guard(running_, true);

    for (const LineCheck &line : kLineChecks) {
        if (lineComplete(board, line)) {
            board.setStrikeVisible(line.strikeLine, true);
            show_(line.result);
        }
    }
    if (boardFull(board))
        show_(Result::Draw);
    return true;
}

} // namespace game
