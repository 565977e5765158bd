#pragma once

#include "board.h"

#include <functional>

namespace game {

// The periodic board check. Each pass runs every line test in table order and
// then the draw test; a hit shows its strike line and waits, through `show`,
// in the modal result window, then carries on reading the cells afresh.
class BoardCheck
{
public:
    using ShowResult = std::function<void(Result)>;

    explicit BoardCheck(ShowResult show) : show_(std::move(show)) {}

    // Returns false, doing nothing, when called while an earlier pass is still
    // waiting inside a result window: ticks that fall due then are dropped.
    bool run(Board &board);

    bool running() const { return running_; }

private:
    ShowResult show_;
    bool running_ = false;
};

} // namespace game
