// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/BoardGoal.h"

BoardGoal ReadGoal(const LevelRecord& record) {
    BoardGoal goal;
    goal.singlePeg = CountPegs(record.TargetCells, record) == 0;
    bool oddCodes = false;
    for (int cell = 0; cell < CellCount; ++cell) {
        const CellCode code = record.StartCells[cell];
        if (!IsOnBoard(record, cell) || !HoldsPeg(code))
            continue;
        goal.startPegs.push_back(cell);
        oddCodes = oddCodes || code > SecondColourPeg;
        if (code != FirstColourPeg && !goal.singlePeg)
            goal.startSecond.push_back(cell);
    }
    if (goal.startPegs.empty()) {
        goal.reading = GoalReading::Unsolvable;
        return goal;
    }
    if (goal.singlePeg)
        return goal;
    if (oddCodes) {
        goal.reading = GoalReading::Unsupported;
        return goal;
    }
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(record, cell))
            continue;
        const CellCode want = record.TargetCells[cell];
        // Play never makes or removes a hole, and pegs keep the codes they start with.
        if ((want == NoHole) != (record.StartCells[cell] == NoHole) || want > SecondColourPeg) {
            goal.reading = GoalReading::Unsolvable;
            return goal;
        }
        if (HoldsPeg(want))
            goal.goalPegs.push_back(cell);
        if (want == SecondColourPeg)
            goal.goalSecond.push_back(cell);
    }
    // Jumps only remove pegs, so neither colour can end with more pegs than it starts with.
    if (goal.goalSecond.size() > goal.startSecond.size() ||
        goal.goalPegs.size() - goal.goalSecond.size() > goal.startPegs.size() - goal.startSecond.size())
        goal.reading = GoalReading::Unsolvable;
    return goal;
}
