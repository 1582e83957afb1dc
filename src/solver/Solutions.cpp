// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Solutions.h"

#include <algorithm>

#include "rules/Rules.h"

namespace {

// Before the first jump no peg has landed anywhere: a number that names no cell.
constexpr int NoLanding = 255;

// One replayed jump; false when it is not a legal jump of an on-board peg.
bool PlayJump(Position& position, const LevelRecord& record, SolverJump jump) {
    if (!IsCellIndex(jump.from) || !IsCellIndex(jump.to) || !IsOnBoard(record, jump.from) ||
        !HoldsPeg(position[jump.from]))
        return false;
    const JumpCheck check = IsLegalJump(position, record, jump.from, jump.to);
    if (!check.legal)
        return false;
    ApplyJump(position, jump.from, check.jumpedOver, jump.to, position[jump.from]);
    return true;
}

} // namespace

int CountMoves(const JumpList& jumps) {
    int moves = 0;
    int landing = NoLanding;
    for (const SolverJump jump : jumps) {
        if (landing != jump.from)
            ++moves;
        landing = jump.to;
    }
    return moves;
}

ReplayResult ReplaySolution(const LevelRecord& record, const JumpList& jumps) {
    ReplayResult result;
    if (jumps.empty()) {
        result.problem = "the solution holds no jump";
        return result;
    }
    if (jumps.size() > static_cast<std::size_t>(SolutionCapacity)) {
        result.problem = "the solution has more than 80 jumps";
        return result;
    }
    Position position = record.StartCells;
    for (std::size_t k = 0; k < jumps.size(); ++k) {
        if (IsSolved(position, record)) {
            result.failedJump = static_cast<int>(k);
            result.problem = "the board is already solved before jump " + std::to_string(k + 1);
            return result;
        }
        if (!PlayJump(position, record, jumps[k])) {
            result.failedJump = static_cast<int>(k);
            result.problem = "jump " + std::to_string(k + 1) + " (" + std::to_string(jumps[k].from) + "-" +
                             std::to_string(jumps[k].to) + ") is not a legal jump";
            return result;
        }
    }
    result.moves = CountMoves(jumps);
    result.solved = IsSolved(position, record);
    if (!result.solved)
        result.problem = "the last jump does not reach the target";
    return result;
}

JumpList StoredSolution(const LevelRecord& record) {
    JumpList jumps;
    if (!record.hasSolution())
        return jumps;
    Position position = record.StartCells;
    for (int k = 0; k < SolutionCapacity; ++k) {
        const SolverJump jump{record.SolutionFrom[k], record.SolutionTo[k]};
        if (!PlayJump(position, record, jump))
            return {};
        jumps.push_back(jump);
        if (IsSolved(position, record))
            return jumps;
    }
    return {};
}

void StoreSolutionInRecord(LevelRecord& record, const JumpList& jumps) {
    record.SolutionFrom.fill(0);
    record.SolutionTo.fill(0);
    const std::size_t count = std::min<std::size_t>(jumps.size(), SolutionCapacity);
    for (std::size_t k = 0; k < count; ++k) {
        record.SolutionFrom[k] = jumps[k].from;
        record.SolutionTo[k] = jumps[k].to;
    }
    record.SolutionMoves =
        static_cast<std::uint8_t>(CountMoves(JumpList(jumps.begin(), jumps.begin() + count)));
}
