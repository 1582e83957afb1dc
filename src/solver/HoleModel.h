// SPDX-License-Identifier: GPL-3.0-or-later
// The board as the fewest-moves search sees it, reduced to its holes: cell sets become bit sets
// over the holes (compact indices), one bit per hole for the pegs and, when colours matter, one
// more per hole for the second colour.
#pragma once

#include <cstdint>
#include <vector>

#include "rules/LevelRecord.h"
#include "solver/SearchBounds.h"
#include "solver/Solver.h"

namespace fewest_moves {

struct HoleModel {
    int holes = 0;
    bool colours = false; // the second colour is tracked: bits holes..2*holes-1
    bool singlePegGoal = false;
    std::vector<int> cellOf; // compact index -> cell
    std::vector<HoleLine> lines;
    std::vector<std::vector<std::uint16_t>> linesFrom, linesTo;
    std::vector<int> startPegs, startSecond, goalPegs, goalSecond;
    std::vector<int> lastPegHoles; // with a single peg as the goal: where the last peg can stand
    SearchBounds bounds;
    int startFirstCount = 0, startSecondCount = 0, goalFirstCount = 0, goalSecondCount = 0;
    std::vector<std::vector<int>> symmetries; // compact permutations, without the identity
};

// Fills the model, its bounds and (with `databases`) pattern databases included; the outcome is
// Proven when the search may begin. Without the databases it is quick: what the position classes
// say of the board at once.
MinMovesOutcome BuildModel(const LevelRecord& record, HoleModel& m, bool databases = true);

} // namespace fewest_moves
