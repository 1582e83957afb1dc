// SPDX-License-Identifier: GPL-3.0-or-later
// What a board's target asks of the searches, read once for all of them: a target without pegs
// asks for a single peg anywhere, of either colour; any other the target position itself, each
// peg of its own colour.
#pragma once

#include <vector>

#include "rules/LevelRecord.h"

enum class GoalReading {
    Searchable, // a search may begin
    Unsolvable, // the start and the target alone show that no sequence of jumps gets there
    Unsupported // the start holds codes above 3 and the target position depends on them
};

// Cells are on-board cells in ascending order.
struct BoardGoal {
    GoalReading reading = GoalReading::Searchable;
    bool singlePeg = false;
    std::vector<int> startPegs;
    std::vector<int> startSecond; // start pegs of the second colour; none when a single peg is the goal
    std::vector<int> goalPegs;    // none when a single peg is the goal
    std::vector<int> goalSecond;
};

BoardGoal ReadGoal(const LevelRecord& record);
