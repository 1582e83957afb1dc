// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "BoardBuilder.h"
#include "rules/Rules.h"
#include "solver/Solver.h"

namespace {

// Small boards finish long before the limit; the English cross spends it all looking for fewer moves.
SolverLimits Quick() {
    SolverLimits limits;
    limits.seconds = 1.0;
    return limits;
}

// Every solution the solver returns is checked with the game's own rules.
void ExpectSolvedByReplay(const LevelRecord& record, const SolveResult& result) {
    ASSERT_EQ(result.status, SolveStatus::Solved);
    const ReplayResult replay = ReplaySolution(record, result.jumps);
    EXPECT_TRUE(replay.solved) << replay.problem;
    EXPECT_EQ(replay.moves, result.moves);
}

std::uint8_t Cell(int row, int col) {
    return static_cast<std::uint8_t>(row * GridWidth + col);
}

} // namespace

TEST(MoveCounting, RunsOfOnePegAreOneMove) {
    EXPECT_EQ(CountMoves({}), 0);
    EXPECT_EQ(CountMoves({{0, 2}, {2, 4}, {4, 22}}), 1);
    // Peg A, then peg B, then A again: three moves.
    EXPECT_EQ(CountMoves({{0, 2}, {9, 11}, {2, 4}}), 3);
    // A jump that starts where the previous one landed continues the move even after another peg's turn
    // ended.
    EXPECT_EQ(CountMoves({{0, 2}, {9, 11}, {11, 13}}), 2);
}

TEST(Replay, AcceptsOnlyLegalSolutionsThatReachTheTarget) {
    const LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "oxxoo", "ooooo", "ooooo"});
    EXPECT_TRUE(ReplaySolution(board, {{Cell(2, 1), Cell(2, 3)}}).solved);

    const ReplayResult wrongDirection = ReplaySolution(board, {{Cell(2, 2), Cell(2, 4)}});
    EXPECT_FALSE(wrongDirection.solved);
    EXPECT_EQ(wrongDirection.failedJump, 0);

    const ReplayResult fromEmptyHole = ReplaySolution(board, {{Cell(2, 0), Cell(2, 2)}});
    EXPECT_FALSE(fromEmptyHole.solved);
    EXPECT_EQ(fromEmptyHole.failedJump, 0);

    EXPECT_FALSE(ReplaySolution(board, {}).solved);
    EXPECT_FALSE(ReplaySolution(board, {{200, 201}}).solved);
}

TEST(Replay, RefusesJumpsBeyondTheSolvedPositionAndUnfinishedGames) {
    const LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "xxoxo", "ooooo", "ooooo"},
                                        {"ooooo", "ooooo", "ooxxo", "ooooo", "ooooo"});
    // The target is reached after the first jump: a second jump would never be replayed by the game.
    const ReplayResult extra = ReplaySolution(board, {{Cell(2, 0), Cell(2, 2)}, {Cell(2, 3), Cell(2, 1)}});
    EXPECT_FALSE(extra.solved);
    EXPECT_EQ(extra.failedJump, 1);
    EXPECT_TRUE(ReplaySolution(board, {{Cell(2, 0), Cell(2, 2)}}).solved);

    const LevelRecord three = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "xxoxx", "ooooo", "ooooo"});
    const ReplayResult unfinished = ReplaySolution(three, {{Cell(2, 0), Cell(2, 2)}});
    EXPECT_FALSE(unfinished.solved);
    EXPECT_EQ(unfinished.failedJump, -1);
}

TEST(StoredSolution, RoundTripsThroughTheRecordAndRejectsGarbage) {
    LevelRecord board = EnglishCross();
    const SolveResult result = SolveBoard(board, Quick());
    ExpectSolvedByReplay(board, result);
    StoreSolutionInRecord(board, result.jumps);
    EXPECT_EQ(board.SolutionMoves, result.moves);
    EXPECT_EQ(StoredSolution(board), result.jumps);

    board.SolutionFrom[3] = 80; // not a peg of this board
    EXPECT_TRUE(StoredSolution(board).empty());

    board.SolutionMoves = 0;
    EXPECT_TRUE(StoredSolution(board).empty());
}

TEST(StoredSolution, AHostileRecordNeverReadsPastTheEightyEntries) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        LevelRecord::Bytes bytes{};
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const LevelRecord record = LevelRecord::fromBytes(bytes);
        const JumpList jumps = StoredSolution(record);
        EXPECT_LE(jumps.size(), static_cast<std::size_t>(SolutionCapacity));
    }
}

TEST(Solver, SolvesTheCentralGameOfTheEnglishCross) {
    const LevelRecord board = EnglishCross();
    SolverLimits limits;
    limits.seconds = 3.0;
    const SolveResult result = SolveBoard(board, limits);
    ExpectSolvedByReplay(board, result);
    EXPECT_EQ(result.jumps.size(), 31u);
}

TEST(Solver, PrefersTheRunOfJumpsByOnePeg) {
    // The left peg can clear the row in one move; jumping the right pair first would take two.
    const LevelRecord board = MakeBoard(7, ShapeSquare, false, {"ooooooo", "ooooooo", "oxxoxoo", "ooooooo"});
    const SolveResult result = SolveBoard(board, Quick());
    ExpectSolvedByReplay(board, result);
    EXPECT_EQ(result.moves, 1);
    EXPECT_TRUE(result.fewestMovesProven);
}

TEST(Solver, ReportsAnUnsolvableBoard) {
    const LevelRecord apart = MakeBoard(5, ShapeSquare, false, {"xoooo", "ooooo", "ooooo", "ooooo", "oooox"});
    EXPECT_EQ(SolveBoard(apart, Quick()).status, SolveStatus::Unsolvable);

    // Three pegs in a corner of the square can jump, but never down to one.
    const LevelRecord corner =
        MakeBoard(5, ShapeSquare, false, {"xxooo", "xoooo", "ooooo", "ooooo", "ooooo"});
    EXPECT_EQ(SolveBoard(corner, Quick()).status, SolveStatus::Unsolvable);
}

TEST(Solver, ATargetDemandsTheRightColourInTheRightPlace) {
    // A row o x * o: x over * lands an x on the right, * over x lands a * on the left.
    const std::vector<std::string> start{"oooo.", "ox*o.", "oooo.", "ooooo", "ooooo"};
    const LevelRecord secondLeft =
        MakeBoard(5, ShapeSquare, false, start, {"oooo.", "*ooo.", "oooo.", "ooooo", "ooooo"});
    const SolveResult left = SolveBoard(secondLeft, Quick());
    ExpectSolvedByReplay(secondLeft, left);
    EXPECT_EQ(left.jumps.front().to, Cell(1, 0));

    const LevelRecord secondRight =
        MakeBoard(5, ShapeSquare, false, start, {"oooo.", "ooo*.", "oooo.", "ooooo", "ooooo"});
    EXPECT_EQ(SolveBoard(secondRight, Quick()).status, SolveStatus::Unsolvable);

    const LevelRecord wrongColour =
        MakeBoard(5, ShapeSquare, false, start, {"oooo.", "oooo.", "oooo.", "ooooo", "xoooo"});
    EXPECT_EQ(SolveBoard(wrongColour, Quick()).status, SolveStatus::Unsolvable);
}

TEST(Solver, ATargetWithHolesThatDifferFromTheStartIsUnsolvable) {
    const LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "xxooo", "ooooo", "ooooo"},
                                        {"ooooo", "ooooo", "ooxo.", "ooooo", "ooooo"});
    EXPECT_EQ(SolveBoard(board, Quick()).status, SolveStatus::Unsolvable);
}

TEST(Solver, UsesDiagonalJumpsOnlyWhereTheBoardAllowsThem) {
    const std::vector<std::string> rows{"xoooo", "oxooo", "ooooo", "ooooo", "ooooo"};
    const LevelRecord withDiagonal = MakeBoard(5, ShapeSquare, true, rows);
    const SolveResult result = SolveBoard(withDiagonal, Quick());
    ExpectSolvedByReplay(withDiagonal, result);
    EXPECT_EQ(result.jumps.size(), 1u);

    const LevelRecord without = MakeBoard(5, ShapeSquare, false, rows);
    EXPECT_EQ(SolveBoard(without, Quick()).status, SolveStatus::Unsolvable);
}

TEST(Solver, SolvesHexagonalBoardsWithTheShiftedRows) {
    // The 15-hole triangle of the hexagonal grid with its top corner empty.
    const LevelRecord triangle =
        MakeBoard(5, ShapeHexagon, false, {"oxxxx", "xxxx", ".xxx.", ".xx.", "..x.."});
    ExpectSolvedByReplay(triangle, SolveBoard(triangle, Quick()));

    // Cell 19 (row 2, column 1) reaches cell 2 over cell 10 only through the north-east line.
    LevelRecord hop = MakeBoard(5, ShapeHexagon, false, {"ooooo", "oooo", "ooooo", "oooo", "ooooo"});
    hop.StartCells[19] = FirstColourPeg;
    hop.StartCells[10] = FirstColourPeg;
    const SolveResult result = SolveBoard(hop, Quick());
    ExpectSolvedByReplay(hop, result);
    ASSERT_EQ(result.jumps.size(), 1u);
    // The only two jumps: 19 over 10 to 2 (north-east), or 10 over 19 to 27 (south-west).
    EXPECT_TRUE((result.jumps[0] == SolverJump{19, 2}) || (result.jumps[0] == SolverJump{10, 27}));
}

TEST(Solver, IgnoresHolesOffTheBoard) {
    // Column 5 lies outside a board of size 5, even though the grid has a hole there.
    LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "oooxx", "ooooo", "ooooo"});
    board.StartCells[Cell(2, 5)] = EmptyHole;
    board.TargetCells[Cell(2, 5)] = EmptyHole;
    board.StartCells[Cell(2, 2)] = FirstColourPeg;
    board.StartCells[Cell(2, 3)] = NoHole;
    board.TargetCells[Cell(2, 3)] = NoHole;
    EXPECT_EQ(SolveBoard(board, Quick()).status, SolveStatus::Unsolvable);
}

TEST(Solver, ABoardSolvedAtItsStartNeedsNoJump) {
    const LevelRecord single =
        MakeBoard(5, ShapeSquare, false, {"ooooo", "ooxoo", "ooooo", "ooooo", "ooooo"});
    const SolveResult result = SolveBoard(single, Quick());
    EXPECT_EQ(result.status, SolveStatus::Solved);
    EXPECT_TRUE(result.jumps.empty());
}

TEST(Solver, StopsAtTheNodeLimit) {
    SolverLimits limits = Quick();
    limits.maxNodes = 10;
    const SolveResult result = SolveBoard(EnglishCross(), limits);
    EXPECT_EQ(result.status, SolveStatus::GaveUp);
    EXPECT_TRUE(result.jumps.empty());
}

TEST(Solver, StrangeCodesMatterOnlyWhenTheTargetHasPegs) {
    LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooooo", "ooooo", "xxooo", "ooooo", "ooooo"});
    board.StartCells[Cell(2, 0)] = 7; // counts as a peg in the rules
    ExpectSolvedByReplay(board, SolveBoard(board, Quick()));

    board.TargetCells[Cell(2, 2)] = 7;
    EXPECT_EQ(SolveBoard(board, Quick()).status, SolveStatus::Unsupported);
}

TEST(Solver, SurvivesRandomRecords) {
    std::mt19937 random(11);
    SolverLimits limits;
    limits.seconds = 1.0;
    limits.maxNodes = 20000;
    limits.maxTableEntries = 1 << 14;
    for (int trial = 0; trial < 100; ++trial) {
        LevelRecord::Bytes bytes{};
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random() % (trial % 2 ? 256 : 4));
        const LevelRecord record = LevelRecord::fromBytes(bytes);
        const SolveResult result = SolveBoard(record, limits);
        if (result.status == SolveStatus::Solved && !result.jumps.empty()) {
            EXPECT_TRUE(ReplaySolution(record, result.jumps).solved);
        }
    }
}

namespace {

// Plain search over every jump with the game's own rule functions, for comparison.
bool ReachesSolved(const LevelRecord& record, Position& position) {
    if (IsSolved(position, record))
        return true;
    for (int from = 0; from < CellCount; ++from) {
        if (!IsOnBoard(record, from) || !HoldsPeg(position[from]))
            continue;
        for (int to = 0; to < CellCount; ++to) {
            const JumpCheck check = IsLegalJump(position, record, from, to);
            if (!check.legal)
                continue;
            const Position before = position;
            ApplyJump(position, from, check.jumpedOver, to, position[from]);
            const bool solved = ReachesSolved(record, position);
            position = before;
            if (solved)
                return true;
        }
    }
    return false;
}

// A symmetric board of the given kind with a few pegs, some of the second colour; the target is
// empty, a single peg, or a position reached by random jumps.
LevelRecord RandomSmallBoard(std::mt19937& random, int kind) {
    LevelRecord r;
    ClearRecord(r);
    r.Size = 5;
    r.Shape = kind % 3 == 2 ? ShapeHexagon : ShapeSquare;
    r.Diagonal = kind % 3 == 1 ? 1 : 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(r, cell))
            continue;
        const int row = cell / GridWidth, col = cell % GridWidth;
        // Corners cut off the square boards, symmetrically.
        const bool corner = r.Shape == ShapeSquare && (row == 0 || row == 4) && (col == 0 || col == 4);
        r.StartCells[cell] = corner ? NoHole : EmptyHole;
    }
    for (int cell = 0; cell < CellCount; ++cell) {
        if (r.StartCells[cell] == EmptyHole && random() % 3 == 0)
            r.StartCells[cell] = random() % 4 == 0 ? SecondColourPeg : FirstColourPeg;
        r.TargetCells[cell] = r.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    }
    if (kind % 2 == 1) {
        Position played = r.StartCells;
        for (int jumps = 0; jumps < 6; ++jumps)
            for (int attempt = 0; attempt < 200; ++attempt) {
                const int from = static_cast<int>(random() % CellCount),
                          to = static_cast<int>(random() % CellCount);
                const JumpCheck check = IsLegalJump(played, r, from, to);
                if (HoldsPeg(played[from]) && IsOnBoard(r, from) && check.legal) {
                    ApplyJump(played, from, check.jumpedOver, to, played[from]);
                    break;
                }
            }
        r.TargetCells = played;
    }
    return r;
}

} // namespace

TEST(Solver, AgreesWithAPlainSearchOnManySmallBoards) {
    std::mt19937 random(2024);
    int solvable = 0, unsolvable = 0;
    for (int trial = 0; trial < 240; ++trial) {
        const LevelRecord board = RandomSmallBoard(random, trial);
        if (CountPegs(board.StartCells, board) > 9)
            continue;
        Position position = board.StartCells;
        const bool expected = ReachesSolved(board, position);
        const SolveResult result = SolveBoard(board, Quick());
        ASSERT_NE(result.status, SolveStatus::GaveUp);
        EXPECT_EQ(result.status == SolveStatus::Solved, expected) << "trial " << trial;
        if (result.status == SolveStatus::Solved && !result.jumps.empty()) {
            EXPECT_TRUE(ReplaySolution(board, result.jumps).solved);
        }
        (expected ? solvable : unsolvable) += 1;
    }
    // Both answers must have been put to the test.
    EXPECT_GE(solvable, 20);
    EXPECT_GE(unsolvable, 20);
}
