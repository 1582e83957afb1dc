// Whether a position in play can still reach its board's target, as the hint and the dead-end warning
// ask it: the solver searches from the position within a time budget and answers yes (with a jump that
// keeps the target in reach), no, or not known.
#pragma once

#include <atomic>

#include "game/LevelRecord.h"
#include "game/Solver.h"

enum class Reach {
    Reachable,   // a way to the target exists; `move` starts it unless the position is solved already
    Unreachable, // no sequence of jumps reaches the target
    Unknown      // the budget ran out (or the board holds codes the search does not know)
};

struct ReachAnswer {
    Reach reach = Reach::Unknown;
    bool hasMove = false;
    SolverJump move{}; // a jump after which the target is still reachable
    JumpList way;      // the whole way found, `move` first
};

struct ReachLimits {
    double seconds = 0.3;
    // Set from another thread to give up early; the answer is then Unknown.
    const std::atomic<bool>* cancelled = nullptr;
};

// `cells` is the position on the board of `record` (its holes where the record has them).
ReachAnswer AskReachable(const LevelRecord& record, const Position& cells, const ReachLimits& limits);
