// SPDX-License-Identifier: GPL-3.0-or-later
// The hint's question, whether the target can still be reached from a position in play, against an
// exhaustive search on small boards; and the answer "not known" when the search is called off or its
// positions run out.
#include <gtest/gtest.h>

#include <random>

#include "BoardBuilder.h"
#include "ExhaustiveReach.h"
#include "rules/Rules.h"
#include "solver/Solver.h"

namespace {

// Jumps allowed by the board's geometry from `from` to `to`: the jumped-over cell, or NoCell.
int OverCell(const LevelRecord& r, int from, int to) {
    const int direction = FindDirection(r.Shape, from, to);
    if (direction == NoDirection || (r.Shape == ShapeSquare && direction % 2 == 1 && !r.Diagonal))
        return NoCell;
    return JumpedOverCell(r.Shape, from, direction);
}

// A size 5 board of `kind` with about `pegs` pegs. Without a target (one peg anywhere) the pegs lie at
// random or come from jumps played backwards from one peg (surely solvable); with a target, the target
// is a few random pegs or the position after random jumps (surely reachable).
LevelRecord RandomBoard(std::mt19937& random, Kind kind, int pegs, bool withTarget) {
    LevelRecord r = EmptySizeFiveBoard(kind);
    std::vector<int> holes;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(r, cell)) {
            r.StartCells[cell] = EmptyHole;
            r.TargetCells[cell] = EmptyHole;
            holes.push_back(cell);
        }
    std::shuffle(holes.begin(), holes.end(), random);
    const auto anyHole = [&] {
        return holes[random() % holes.size()];
    };
    const bool surely = random() % 2 == 0;
    if (!withTarget && surely) {
        r.StartCells[holes[0]] = FirstColourPeg;
        for (int attempt = 0; attempt < 2000 && CountPegs(r.StartCells, r) < pegs; ++attempt) {
            const int from = anyHole(), to = anyHole();
            const int over = OverCell(r, from, to);
            if (over != NoCell && HoldsPeg(r.StartCells[to]) && r.StartCells[from] == EmptyHole &&
                r.StartCells[over] == EmptyHole) {
                r.StartCells[from] = r.StartCells[to];
                r.StartCells[to] = EmptyHole;
                r.StartCells[over] = random() % 4 == 0 ? SecondColourPeg : FirstColourPeg;
            }
        }
        return r;
    }
    for (int k = 0; k < pegs; ++k)
        r.StartCells[holes[k]] = random() % 4 == 0 ? SecondColourPeg : FirstColourPeg;
    if (!withTarget)
        return r;
    if (surely) {
        Position played = r.StartCells;
        for (int attempt = 0; attempt < 400; ++attempt) {
            const int from = anyHole(), to = anyHole();
            const JumpCheck check = IsLegalJump(played, r, from, to);
            if (HoldsPeg(played[from]) && check.legal)
                ApplyJump(played, from, check.jumpedOver, to, played[from]);
        }
        r.TargetCells = played;
        if (CountPegs(played, r) > 0)
            return r;
    }
    const int targetPegs = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < targetPegs; ++k)
        r.TargetCells[holes[k + static_cast<int>(random() % 2)]] = r.StartCells[holes[k]];
    return r;
}

constexpr ReachLimits Generous{std::uint64_t{1} << 36, 0, nullptr, true};

void CompareOnRandomBoards(Kind kind, bool withTarget, unsigned seed) {
    std::mt19937 random(seed);
    int reachable = 0, unreachable = 0;
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const LevelRecord board = RandomBoard(random, kind, 3 + trial % 9, withTarget);
        ExhaustiveReach exhaustive(board);
        const bool expected = exhaustive.reachable(board.StartCells);
        const ReachAnswer answer = AskReachable(board, board.StartCells, Generous);
        ASSERT_NE(answer.reach, Reach::Unknown);
        EXPECT_EQ(answer.reach == Reach::Reachable, expected);
        if (!expected) {
            ++unreachable;
            continue;
        }
        ++reachable;
        if (IsSolved(board.StartCells, board)) {
            EXPECT_FALSE(answer.hasMove);
            continue;
        }
        // The hinted jump is legal and keeps the target in reach.
        ASSERT_TRUE(answer.hasMove);
        Position next = board.StartCells;
        ASSERT_TRUE(PlayHintedJump(board, next, answer.move));
        EXPECT_TRUE(exhaustive.reachable(next));
        EXPECT_EQ(answer.way.front(), answer.move);
    }
    // Both answers must have been put to the test.
    EXPECT_GE(reachable, 5);
    EXPECT_GE(unreachable, 5);
}

} // namespace

TEST(Reachability, AgreesWithTheExhaustiveSearchOnSquareBoards) {
    CompareOnRandomBoards(Kind::Square, false, 11);
    CompareOnRandomBoards(Kind::Square, true, 12);
}

TEST(Reachability, AgreesWithTheExhaustiveSearchOnDiagonalBoards) {
    CompareOnRandomBoards(Kind::Diagonal, false, 21);
    CompareOnRandomBoards(Kind::Diagonal, true, 22);
}

TEST(Reachability, AgreesWithTheExhaustiveSearchOnHexagonalBoards) {
    CompareOnRandomBoards(Kind::Hexagon, false, 31);
    CompareOnRandomBoards(Kind::Hexagon, true, 32);
}

TEST(Reachability, FollowingTheHintsFromTheStartSolvesTheCross) {
    // As in the game: one engine for the board, its table made first.
    const LevelRecord board = EnglishCross();
    BoardReach reach(board);
    reach.prepare();
    EXPECT_TRUE(reach.tableFacts().built);
    Position cells = board.StartCells;
    for (int jumps = 0; !IsSolved(cells, board); ++jumps) {
        ASSERT_LT(jumps, 31);
        const ReachAnswer answer = reach.ask(cells, ReachLimits{});
        ASSERT_EQ(answer.reach, Reach::Reachable);
        ASSERT_TRUE(answer.hasMove);
        ASSERT_TRUE(PlayHintedJump(board, cells, answer.move));
    }
    EXPECT_EQ(CountPegs(cells, board), 1);
}

TEST(Reachability, APositionInPlayIsJudgedFromItselfNotFromTheStart) {
    // The cross's start can be solved; two pegs left far apart cannot, whatever the start says.
    const LevelRecord board = EnglishCross();
    Position apart = board.StartCells;
    for (int cell = 0; cell < CellCount; ++cell)
        if (HoldsPeg(apart[cell]))
            apart[cell] = EmptyHole;
    apart[2] = FirstColourPeg;
    apart[6 * GridWidth + 4] = FirstColourPeg;
    EXPECT_EQ(AskReachable(board, apart, Generous).reach, Reach::Unreachable);

    // A target with pegs is reached only exactly, colours included: the jumping peg keeps its colour.
    const LevelRecord coloured = MakeBoard(5, ShapeSquare, false, {"*xo"}, {"oo*"});
    const ReachAnswer answer = AskReachable(coloured, coloured.StartCells, Generous);
    ASSERT_EQ(answer.reach, Reach::Reachable);
    EXPECT_EQ(answer.move, (SolverJump{0, 2}));
    const LevelRecord otherColour = MakeBoard(5, ShapeSquare, false, {"x*o"}, {"oo*"});
    EXPECT_EQ(AskReachable(otherColour, otherColour.StartCells, Generous).reach, Reach::Unreachable);
}

TEST(Reachability, ASolvedPositionIsReachedWithoutAMove) {
    const LevelRecord board = MakeBoard(5, ShapeSquare, false, {"ooxoo"});
    const ReachAnswer answer = AskReachable(board, board.StartCells, Generous);
    EXPECT_EQ(answer.reach, Reach::Reachable);
    EXPECT_FALSE(answer.hasMove);
}

TEST(Reachability, ASearchCalledOffOrOutOfPositionsIsNotKnown) {
    // Neither the cross's start nor a 9 x 9 board full but for its centre (79 jumps, and beyond the
    // engine's 64 holes: asked of the general solver) is answered within a hundred positions, or
    // before the search first looks at the flag, after a thousand.
    const LevelRecord big = FullNineByNine(false);
    const std::atomic<bool> cancelled{true};
    for (const LevelRecord& board : {EnglishCross(), big}) {
        const ReachAnswer calledOff =
            AskReachable(board, board.StartCells, ReachLimits{Generous.positions, 0, &cancelled, true});
        EXPECT_EQ(calledOff.reach, Reach::Unknown);
        EXPECT_FALSE(calledOff.hasMove);
        EXPECT_EQ(AskReachable(board, board.StartCells, ReachLimits{100, 0, nullptr, true}).reach,
                  Reach::Unknown);
    }
}

TEST(Reachability, PositionsOnTheStoredSolutionAreAnsweredByItsRestWithoutASearch) {
    LevelRecord board = EnglishCross();
    SolverLimits limits;
    limits.seconds = 30.0;
    limits.preferFewerMoves = false;
    const SolveResult solved = SolveBoard(board, limits);
    ASSERT_EQ(solved.status, SolveStatus::Solved);
    StoreSolutionInRecord(board, solved.jumps);

    // Called off before it starts, no search could answer; the stored way does.
    const std::atomic<bool> calledOff{true};
    Position cells = board.StartCells;
    for (const SolverJump jump : solved.jumps) {
        const ReachAnswer answer =
            AskReachable(board, cells, ReachLimits{Generous.positions, 0, &calledOff, true});
        ASSERT_EQ(answer.reach, Reach::Reachable);
        EXPECT_EQ(answer.move, jump);
        ASSERT_TRUE(PlayHintedJump(board, cells, jump));
    }
    EXPECT_TRUE(IsSolved(cells, board));
}
