// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Solver.h"

#include "rules/Rules.h"

namespace {

// A position on the way of the board's stored solution has the rest of that way ahead of it: no search.
JumpList RestOfStoredWay(const LevelRecord& record, const Position& cells) {
    const JumpList stored = StoredSolution(record);
    Position position = record.StartCells;
    for (std::size_t k = 0; k < stored.size(); ++k) {
        if (position == cells)
            return JumpList(stored.begin() + static_cast<std::ptrdiff_t>(k), stored.end());
        const JumpCheck check = IsLegalJump(position, record, stored[k].from, stored[k].to);
        ApplyJump(position, stored[k].from, check.jumpedOver, stored[k].to, position[stored[k].from]);
    }
    return {};
}

ReachAnswer ReachableBy(const JumpList& way) {
    ReachAnswer answer;
    answer.reach = Reach::Reachable;
    answer.hasMove = true;
    answer.move = way.front();
    answer.way = way;
    return answer;
}

} // namespace

ReachAnswer AskReachable(const LevelRecord& record, const Position& cells, const ReachLimits& limits) {
    ReachAnswer answer;
    if (IsSolved(cells, record)) {
        answer.reach = Reach::Reachable;
        return answer;
    }
    const JumpList stored = RestOfStoredWay(record, cells);
    if (!stored.empty())
        return ReachableBy(stored);
    // The position in play becomes the start of a board with the same target; its stored solution
    // belongs to the real start and is of no use here.
    LevelRecord fromHere = record;
    fromHere.StartCells = cells;
    fromHere.SolutionMoves = 0;
    SolverLimits search;
    search.seconds = limits.seconds;
    search.preferFewerMoves = false;
    search.cancelled = limits.cancelled;
    const SolveResult result = SolveBoard(fromHere, search);
    if (result.status == SolveStatus::Unsolvable) {
        answer.reach = Reach::Unreachable;
        return answer;
    }
    // A way is only trusted once the game's own rules have replayed it to the target.
    if (result.status != SolveStatus::Solved || result.jumps.empty() ||
        !ReplaySolution(fromHere, result.jumps).solved)
        return answer;
    return ReachableBy(result.jumps);
}
