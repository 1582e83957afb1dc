// SPDX-License-Identifier: GPL-3.0-or-later
// The budgets of the designers' solver: a budget of work gives one result whatever the threads and
// the clock, the positions it reports are those it examined, and a board that cannot be solved is
// told why where that is cheap.
#include <gtest/gtest.h>

#include "BoardBuilder.h"
#include "solver/Solutions.h"
#include "solver/Solver.h"

namespace {

// A budget of positions, with a clock and a memory too large to end the search first.
SolverLimits WorkBudget(std::uint64_t positions) {
    SolverLimits limits;
    limits.seconds = 600;
    limits.maxNodes = positions;
    limits.memoryBytes = std::size_t{256} << 20;
    return limits;
}

void ExpectSameResult(const MinMovesResult& a, const MinMovesResult& b) {
    EXPECT_EQ(a.outcome, b.outcome);
    EXPECT_EQ(a.moves, b.moves);
    EXPECT_EQ(a.lowerBound, b.lowerBound);
    EXPECT_EQ(a.positions, b.positions);
    EXPECT_EQ(a.work, b.work);
    EXPECT_EQ(a.jumps, b.jumps);
}

TEST(SolverBudgets, WorkBudgetGivesOneResultWhateverTheThreads) {
    const LevelRecord board = EnglishCross();
    for (const MinMovesMethod method : {MinMovesMethod::MeetInTheMiddle, MinMovesMethod::ByLayers,
                                        MinMovesMethod::Beam, MinMovesMethod::Chosen}) {
        SCOPED_TRACE(static_cast<int>(method));
        MinMovesLimits limits;
        limits.method = method;
        limits.maxWork = 150'000;
        limits.seconds = 600;
        limits.threads = 1;
        const MinMovesResult one = FindFewestMoves(board, limits);
        limits.threads = 2;
        const MinMovesResult two = FindFewestMoves(board, limits);
        const MinMovesResult again = FindFewestMoves(board, limits);
        ExpectSameResult(one, two);
        ExpectSameResult(two, again);
        EXPECT_GT(one.work, 0u);
        EXPECT_FALSE(one.clockStopped);
        // Counted move by move, the budget is kept but for the jumps of the position that passed it.
        EXPECT_LE(one.work, limits.maxWork + 100);
    }
}

TEST(SolverBudgets, SolveBoardRepeatsAndCountsEveryMethodsPositions) {
    const LevelRecord board = EnglishCross();
    SolverLimits limits = WorkBudget(400'000);
    const SolveResult first = SolveBoard(board, limits);
    ASSERT_EQ(first.status, SolveStatus::Solved);
    // With a solution known, the whole budget goes to the beam, the proof and the search after it:
    // their positions are the count, which once left out all but the first solution's.
    limits.knownSolution = first.jumps;
    const SolveResult known = SolveBoard(board, limits);
    const SolveResult again = SolveBoard(board, limits);
    EXPECT_EQ(known.jumps, again.jumps);
    EXPECT_EQ(known.movesLowerBound, again.movesLowerBound);
    EXPECT_EQ(known.nodes, again.nodes);
    EXPECT_GT(known.nodes, limits.maxNodes / 2);
    EXPECT_LE(known.nodes, limits.maxNodes + 1000);
    EXPECT_TRUE(known.workRanOut);
    EXPECT_FALSE(known.clockStopped);
}

TEST(SolverBudgets, BeamFitsItsShareOfTheWork) {
    // Pegs of two colours, one of each left where the target says: a beam must reach that very
    // position. A beam too wide for its share of the work ends before its last level and finds
    // nothing; so this budget once left a solution of 16 moves where 11 do.
    const LevelRecord colours = MakeBoard(5, ShapeSquare, true, {"*xxx*", "x*x*x", "xxoxx", "x*x*x", "*xxx*"},
                                          {"ooooo", "ooooo", "xo*oo", "ooooo", "ooooo"});
    SolverLimits limits = WorkBudget(3'000'000);
    const SolveResult result = SolveBoard(colours, limits);
    ASSERT_EQ(result.status, SolveStatus::Solved);
    EXPECT_EQ(result.moves, 11);
    EXPECT_TRUE(result.fewestMovesProven);
    EXPECT_TRUE(ReplaySolution(colours, result.jumps).solved);
    const SolveResult again = SolveBoard(colours, limits);
    EXPECT_EQ(again.jumps, result.jumps);
    EXPECT_EQ(again.nodes, result.nodes);
}

TEST(SolverBudgets, AFirstWayCountsEveryJumpItLooksAtWhereAsked) {
    // The full 9 x 9 board with diagonal jumps, one hole in the middle: some three hundred jumps from
    // each position of its beam. Counted by the jumps it looks at, the budget is a fraction of a
    // second of work; counted by the positions it expands, the same budget took 25 times as long.
    const LevelRecord board = FullNineByNine(true);
    SolverLimits limits = WorkBudget(200'000);
    limits.preferFewerMoves = false;
    limits.countEveryJump = true;
    const SolveResult result = SolveBoard(board, limits);
    EXPECT_EQ(result.status, SolveStatus::GaveUp);
    // Kept but for the few a search winding down still counts.
    EXPECT_GT(result.nodes, limits.maxNodes);
    EXPECT_LE(result.nodes, limits.maxNodes + limits.maxNodes / 100);
    EXPECT_EQ(SolveBoard(board, limits).nodes, result.nodes);
}

TEST(SolverBudgets, CheapReasonsForBoardsThatCannotBeSolved) {
    SolverLimits limits;
    limits.seconds = 600;
    limits.maxNodes = 100'000;
    const auto reason = [&](const LevelRecord& board) {
        const SolveResult result = SolveBoard(board, limits);
        EXPECT_EQ(result.status, SolveStatus::Unsolvable);
        return result.reason;
    };
    // An export taken before the editor's edits of the start were accepted.
    EXPECT_EQ(
        reason(MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "ooooo"}, {"ooooo", "ooxoo", "ooooo"})),
        UnsolvableReason::NoPegs);
    EXPECT_EQ(reason(MakeBoard(5, ShapeSquare, false, {"xxooo", "ooooo"}, {"ooxoo", "oooo."})),
              UnsolvableReason::TargetMisfit);
    // The last peg of the cross can only end where the classes allow, and next to the middle is not.
    LevelRecord cross = EnglishCross();
    cross.TargetCells = cross.StartCells;
    for (CellCode& code : cross.TargetCells)
        code = code == NoHole ? NoHole : EmptyHole;
    cross.TargetCells[3 * GridWidth + 4] = FirstColourPeg;
    EXPECT_EQ(reason(cross), UnsolvableReason::PositionClass);
    // A peg of the second colour that starts on an even row never leaves the even rows; the classes,
    // which count pegs of either colour, cannot tell.
    const LevelRecord colours =
        MakeBoard(6, ShapeSquare, true, {"******", "xxxxxx", "xxoxxx", "xxxxxx", "xxxxxx", "xxxxxx"},
                  {"oooooo", "oooooo", "oooooo", "ooo*oo", "oooooo", "oooooo"});
    EXPECT_EQ(reason(colours), UnsolvableReason::Pagoda);
    // Where only a way is asked for, the search tells what it tried.
    limits.preferFewerMoves = false;
    EXPECT_EQ(reason(MakeBoard(5, ShapeSquare, false, {"xoooo", "ooooo", "oooox"})),
              UnsolvableReason::Searched);
}

} // namespace
