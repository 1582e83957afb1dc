// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "BoardBuilder.h"
#include "rules/Rules.h"
#include "solver/BoardSymmetry.h"
#include "solver/Solver.h"

namespace {

constexpr int NoWay = INT_MAX / 2;

// The fewest moves over every sequence of jumps the game's own rules allow: a jump costs a move
// unless it starts where the previous one landed; play stops at the solved position. Positions
// already worked out are remembered with the landing cell, which decides the cost of the next jump.
class Exhaustive {
public:
    explicit Exhaustive(const LevelRecord& record) : m_record(record) {}

    int fewestMoves() { return from(m_record.StartCells, -1); }

private:
    int from(const Position& position, int landing) {
        if (IsSolved(position, m_record))
            return 0;
        const auto key = std::make_pair(position, landing);
        const auto known = m_memo.find(key);
        if (known != m_memo.end())
            return known->second;
        int best = NoWay;
        for (int from = 0; from < CellCount; ++from) {
            if (!IsOnBoard(m_record, from) || !HoldsPeg(position[from]))
                continue;
            for (int to = 0; to < CellCount; ++to) {
                const JumpCheck check = IsLegalJump(position, m_record, from, to);
                if (!check.legal)
                    continue;
                Position next = position;
                ApplyJump(next, from, check.jumpedOver, to, position[from]);
                best = std::min(best, (from == landing ? 0 : 1) + this->from(next, to));
            }
        }
        m_memo[key] = best;
        return best;
    }

    const LevelRecord& m_record;
    std::map<std::pair<Position, int>, int> m_memo;
};

// A board of size 5 of the given kind with `pegs` pegs at random places (a quarter of them of the
// second colour), and either no target (one peg anywhere) or a target reached by random jumps.
LevelRecord RandomBoard(std::mt19937& random, Kind kind, int pegs, bool withTarget) {
    LevelRecord r = EmptySizeFiveBoard(kind);
    std::vector<int> holes;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(r, cell))
            continue;
        r.StartCells[cell] = EmptyHole;
        holes.push_back(cell);
    }
    std::shuffle(holes.begin(), holes.end(), random);
    if (withTarget || random() % 2 == 0) {
        for (int k = 0; k < pegs; ++k)
            r.StartCells[holes[k]] = random() % 4 == 0 ? SecondColourPeg : FirstColourPeg;
    } else {
        // Jumps played backwards from a single peg: a board that surely can be solved.
        r.StartCells[holes[0]] = FirstColourPeg;
        for (int attempt = 0; attempt < 2000 && CountPegs(r.StartCells, r) < pegs; ++attempt) {
            const int from = holes[random() % holes.size()], to = holes[random() % holes.size()];
            const int direction = FindDirection(r.Shape, from, to);
            if (direction == NoDirection || (r.Shape == ShapeSquare && direction % 2 == 1 && !r.Diagonal))
                continue;
            const int over = JumpedOverCell(r.Shape, from, direction);
            if (HoldsPeg(r.StartCells[to]) && r.StartCells[from] == EmptyHole &&
                r.StartCells[over] == EmptyHole) {
                r.StartCells[to] = EmptyHole;
                r.StartCells[from] = FirstColourPeg;
                r.StartCells[over] = random() % 4 == 0 ? SecondColourPeg : FirstColourPeg;
            }
        }
    }
    for (int cell = 0; cell < CellCount; ++cell)
        r.TargetCells[cell] = r.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    if (withTarget) {
        const Position played = PlayRandomJumps(r, r.StartCells, 1 + static_cast<int>(random() % 8), random);
        r.TargetCells = played;
        if (CountPegs(played, r) == 0 || played == r.StartCells)
            r.TargetCells[holes.back()] = FirstColourPeg; // still a target; mostly out of reach
    }
    return r;
}

MinMovesLimits Limits(int threads, int knownMoves = 0,
                      MinMovesMethod method = MinMovesMethod::MeetInTheMiddle) {
    MinMovesLimits limits;
    limits.seconds = 60.0;
    limits.threads = threads;
    limits.knownMoves = knownMoves;
    limits.method = method;
    return limits;
}

// The proof's answer against the exhaustive one; a solution it returns must replay with the rules.
void ExpectAgrees(const LevelRecord& board, int expected, int threads, MinMovesMethod method,
                  const std::string& what) {
    SCOPED_TRACE(what);
    if (IsSolved(board.StartCells, board))
        return;
    const MinMovesResult result = FindFewestMoves(board, Limits(threads, 0, method));
    if (expected == NoWay) {
        EXPECT_EQ(result.outcome, MinMovesOutcome::Unsolvable);
        return;
    }
    ASSERT_EQ(result.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(result.moves, expected);
    EXPECT_EQ(result.lowerBound, expected);
    const ReplayResult replay = ReplaySolution(board, result.jumps);
    EXPECT_TRUE(replay.solved) << replay.problem;
    EXPECT_EQ(replay.moves, expected);

    // Told of a solution one move longer, it finds the shorter one; told of the shortest, it proves it.
    const MinMovesResult longer = FindFewestMoves(board, Limits(threads, expected + 1, method));
    ASSERT_EQ(longer.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(longer.moves, expected);
    EXPECT_EQ(ReplaySolution(board, longer.jumps).moves, expected);
    const MinMovesResult exact = FindFewestMoves(board, Limits(threads, expected, method));
    ASSERT_EQ(exact.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(exact.moves, expected);
}

// The beam proves nothing unless it met the start from the goal's side: whatever it returns must
// replay, have no fewer moves than the fewest, and its bound must not pass them. True when it
// found a shortest solution.
bool ExpectBeamSound(const LevelRecord& board, int expected, int knownMoves) {
    if (IsSolved(board.StartCells, board))
        return false;
    MinMovesLimits limits = Limits(1, knownMoves, MinMovesMethod::Beam);
    limits.beamWidth = 50;
    const MinMovesResult beam = FindFewestMoves(board, limits);
    if (expected == NoWay) {
        EXPECT_TRUE(beam.jumps.empty());
        return false;
    }
    EXPECT_LE(beam.lowerBound, expected);
    // Proven with no solution of its own: the known one is the fewest.
    if (beam.outcome == MinMovesOutcome::Proven) {
        EXPECT_EQ(beam.moves, expected);
    }
    if (beam.jumps.empty())
        return false;
    const ReplayResult replay = ReplaySolution(board, beam.jumps);
    EXPECT_TRUE(replay.solved) << replay.problem;
    EXPECT_EQ(replay.moves, beam.moves);
    EXPECT_GE(beam.moves, expected);
    if (knownMoves > 0) {
        EXPECT_LT(beam.moves, knownMoves);
    }
    return beam.moves == expected;
}

// Boards of 4 to `maxPegs` pegs; with diagonal jumps the exhaustive search grows fastest.
void CompareOnRandomBoards(Kind kind, bool withTarget, unsigned seed, int maxPegs, int trials = 16) {
    std::mt19937 random(seed);
    int solvable = 0, unsolvable = 0, beamShortest = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const int pegs = 4 + trial % (maxPegs - 3);
        const LevelRecord board = RandomBoard(random, kind, pegs, withTarget);
        const int expected = Exhaustive(board).fewestMoves();
        const std::string what = "trial " + std::to_string(trial);
        ExpectAgrees(board, expected, 1 + trial % 2, MinMovesMethod::MeetInTheMiddle,
                     what + ", in the middle");
        ExpectAgrees(board, expected, 1, MinMovesMethod::ByLayers, what + ", by layers");
        SCOPED_TRACE(what + ", by the beam");
        beamShortest += ExpectBeamSound(board, expected, 0);
        ExpectBeamSound(board, expected, expected == NoWay ? 0 : expected + 1);
        ExpectBeamSound(board, expected, expected == NoWay ? 0 : expected);
        (expected == NoWay ? unsolvable : solvable) += 1;
    }
    // Both answers must have been put to the test.
    EXPECT_GE(solvable, 3);
    EXPECT_GE(unsolvable, 1);
    EXPECT_GE(beamShortest, solvable / 2);
}

LevelRecord FifteenHoleTriangle() {
    return MakeBoard(5, ShapeHexagon, false, {"xxxxx", "xxxx", ".xxx.", ".xx.", "..x.."});
}

} // namespace

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnSquareBoards) {
    CompareOnRandomBoards(Kind::Square, false, 101, 12);
}

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnSquareBoardsWithTargets) {
    CompareOnRandomBoards(Kind::Square, true, 102, 12);
}

// Every search first builds the part tables of the board, which on diagonal boards takes a tenth of a
// second, and under the sanitizers some fifteen times that. There the first six boards, which already
// give every peg count, both answers and both thread counts, walk every path the sanitizers watch;
// the ordinary build compares on all sixteen. gcc and clang tell the sanitizer each in its own way.
#if defined(__SANITIZE_ADDRESS__)
#define TOLVAR_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLVAR_UNDER_SANITIZER 1
#endif
#endif
#ifdef TOLVAR_UNDER_SANITIZER
constexpr int DiagonalTrials = 6;
#else
constexpr int DiagonalTrials = 16;
#endif

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnDiagonalBoards) {
    CompareOnRandomBoards(Kind::Diagonal, false, 201, 9, DiagonalTrials);
}

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnDiagonalBoardsWithTargets) {
    CompareOnRandomBoards(Kind::Diagonal, true, 202, 9);
}

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnHexagonalBoards) {
    CompareOnRandomBoards(Kind::Hexagon, false, 301, 11);
}

TEST(FewestMoves, AgreesWithTheExhaustiveSearchOnHexagonalBoardsWithTargets) {
    CompareOnRandomBoards(Kind::Hexagon, true, 302, 11);
}

TEST(FewestMoves, ABoundFromTheStartHoldsForEveryImageOfAPosition) {
    // Solvable lopsided starts with pegs in the corners, which nothing can jump over, on a board
    // with eight symmetries. Told of a solution one move too long, the search must still find the
    // shortest, whichever image of a position it meets.
    std::mt19937 random(404);
    int tried = 0;
    for (int attempt = 0; attempt < 400 && tried < 20; ++attempt) {
        const LevelRecord board = RandomBoard(random, Kind::Square, 6 + attempt % 5, false);
        const int corners = HoldsPeg(board.StartCells[0]) + HoldsPeg(board.StartCells[4]) +
                            HoldsPeg(board.StartCells[36]) + HoldsPeg(board.StartCells[40]);
        if (corners == 0)
            continue;
        const int expected = Exhaustive(board).fewestMoves();
        if (expected == NoWay || expected == 0)
            continue;
        ++tried;
        for (const MinMovesMethod method : {MinMovesMethod::MeetInTheMiddle, MinMovesMethod::ByLayers}) {
            const MinMovesResult result = FindFewestMoves(board, Limits(1, expected + 1, method));
            ASSERT_EQ(result.outcome, MinMovesOutcome::Proven) << "attempt " << attempt;
            EXPECT_EQ(result.moves, expected) << "attempt " << attempt;
        }
    }
    EXPECT_EQ(tried, 20);
}

TEST(FewestMoves, CountsARunOfJumpsByOnePegAsOneMove) {
    // The left peg clears the row in one move of three jumps.
    const LevelRecord board = MakeBoard(9, ShapeSquare, false, {"ooooooooo", "oxxoxoxoo", "ooooooooo"});
    const MinMovesResult result = FindFewestMoves(board, Limits(2));
    ASSERT_EQ(result.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(result.moves, 1);
    EXPECT_EQ(result.jumps.size(), 3u);
}

TEST(FewestMoves, AMoveMayComeBackToTheCornerItBeganInAndGoOn) {
    // Nothing jumps over a corner, so a peg standing there must begin a move of its own, unless it
    // has just landed there: 0-2-20-0-18 is one move, and every one-move solution comes back to
    // the corner before its last jump. Told of a two-move solution, the search must not give that
    // move up halfway because the corner is full again.
    const LevelRecord board = MakeBoard(5, ShapeSquare, true, {"xxooo", "xxxoo", "ooooo", "ooooo", "ooooo"},
                                        {"ooooo", "ooooo", "xoooo", "ooooo", "ooooo"});
    for (const MinMovesMethod method : {MinMovesMethod::MeetInTheMiddle, MinMovesMethod::ByLayers}) {
        const MinMovesResult result = FindFewestMoves(board, Limits(1, 2, method));
        ASSERT_EQ(result.outcome, MinMovesOutcome::Proven);
        EXPECT_EQ(result.moves, 1);
        EXPECT_TRUE(ReplaySolution(board, result.jumps).solved);
    }
}

TEST(FewestMoves, KeepsColoursApartInTheTarget) {
    // A row o x * o: x over * lands an x on the right, * over x lands a * on the left.
    const std::vector<std::string> start{"oooo.", "ox*o.", "oooo.", "ooooo", "ooooo"};
    const LevelRecord left =
        MakeBoard(5, ShapeSquare, false, start, {"oooo.", "*ooo.", "oooo.", "ooooo", "ooooo"});
    const MinMovesResult result = FindFewestMoves(left, Limits(1));
    ASSERT_EQ(result.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(result.jumps, (JumpList{{11, 9}}));

    const LevelRecord right =
        MakeBoard(5, ShapeSquare, false, start, {"oooo.", "ooo*.", "oooo.", "ooooo", "ooooo"});
    EXPECT_EQ(FindFewestMoves(right, Limits(1)).outcome, MinMovesOutcome::Unsolvable);

    LevelRecord odd = left;
    odd.StartCells[10] = 9;
    EXPECT_EQ(FindFewestMoves(odd, Limits(1)).outcome, MinMovesOutcome::Unsupported);
}

TEST(FewestMoves, TheTriangleFromACornerBackToItNeedsTenMoves) {
    LevelRecord triangle = FifteenHoleTriangle();
    triangle.StartCells[0] = EmptyHole;
    triangle.TargetCells[0] = FirstColourPeg;
    const MinMovesResult result = FindFewestMoves(triangle, Limits(2));
    ASSERT_EQ(result.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(result.moves, 10);
    const ReplayResult replay = ReplaySolution(triangle, result.jumps);
    EXPECT_TRUE(replay.solved) << replay.problem;
    EXPECT_EQ(replay.moves, 10);
}

TEST(FewestMoves, RunningOutOfRoomStillProvesALowerBound) {
    const LevelRecord cross = EnglishCross();
    MinMovesLimits limits = Limits(2);
    limits.maxPositions = 2000;
    const MinMovesResult result = FindFewestMoves(cross, limits);
    EXPECT_EQ(result.outcome, MinMovesOutcome::OutOfLimits);
    // At least the eight arm ends and the four inner corners, less one for the last peg.
    EXPECT_GE(result.lowerBound, 11);
    EXPECT_LE(result.lowerBound, 18); // the central game is known to be solvable in 18 moves
    EXPECT_TRUE(result.jumps.empty());
}

TEST(FewestMoves, SolverReportsTheProvenMinimumAndNeverLosesAKnownSolution) {
    LevelRecord triangle = FifteenHoleTriangle();
    triangle.StartCells[0] = EmptyHole;
    triangle.TargetCells[0] = FirstColourPeg;
    SolverLimits limits;
    limits.seconds = 30.0;
    const SolveResult result = SolveBoard(triangle, limits);
    ASSERT_EQ(result.status, SolveStatus::Solved);
    EXPECT_TRUE(result.fewestMovesProven);
    EXPECT_EQ(result.moves, 10);
    EXPECT_EQ(result.movesLowerBound, 10);
    EXPECT_TRUE(ReplaySolution(triangle, result.jumps).solved);

    // Started from a known solution, the solver returns it or a shorter one, never a longer one.
    limits.knownSolution = result.jumps;
    limits.maxNodes = 50;
    const SolveResult again = SolveBoard(triangle, limits);
    ASSERT_EQ(again.status, SolveStatus::Solved);
    EXPECT_LE(again.moves, 10);
    EXPECT_LE(again.movesLowerBound, again.moves);
}

TEST(BoardSymmetries, FindsTheSymmetriesOfEachShape) {
    EXPECT_EQ(BoardSymmetries(EnglishCross(), false).size(), 7u);
    const LevelRecord bar = MakeBoard(5, ShapeSquare, false, {"xxx..", "xxx..", ".....", ".....", "....."});
    EXPECT_EQ(BoardSymmetries(bar, false).size(), 3u);
    // The triangle turns about a point between three cells; a peg in one corner leaves one mirror.
    LevelRecord triangle = FifteenHoleTriangle();
    EXPECT_EQ(BoardSymmetries(triangle, false).size(), 5u);
    triangle.TargetCells[0] = FirstColourPeg;
    EXPECT_EQ(BoardSymmetries(triangle, true).size(), 1u);
    const LevelRecord hexagon =
        MakeBoard(5, ShapeHexagon, false, {".xxx.", "xxxx", "xxxxx", "xxxx", ".xxx."});
    EXPECT_EQ(BoardSymmetries(hexagon, false).size(), 11u);
}

// The central game with the last peg in the centre, solved in 18 moves.
LevelRecord CentralGame() {
    LevelRecord cross = EnglishCross();
    cross.TargetCells[3 * GridWidth + 3] = FirstColourPeg;
    return cross;
}

TEST(FewestMovesMemory, StopsBeforeALevelThatWouldNotFitAndKeepsWhatItProved) {
    for (const std::size_t budget : {std::size_t{1} << 16, std::size_t{8} << 20}) {
        SCOPED_TRACE(budget);
        MinMovesLimits limits = Limits(2);
        limits.memoryBytes = budget;
        const MinMovesResult result = FindFewestMoves(CentralGame(), limits);
        EXPECT_EQ(result.outcome, MinMovesOutcome::OutOfLimits);
        EXPECT_TRUE(result.memoryRanOut);
        EXPECT_LE(result.peakBytes, budget);
        EXPECT_GE(result.lowerBound, budget > (1 << 16) ? 5 : 1);
        EXPECT_LE(result.lowerBound, 18);
        // Layer by layer, all layers are kept for the way back: they stop where the next would
        // not fit, with the fewest moves of the last whole layer as the bound.
        limits.method = MinMovesMethod::ByLayers;
        const MinMovesResult layers = FindFewestMoves(CentralGame(), limits);
        EXPECT_EQ(layers.outcome, MinMovesOutcome::OutOfLimits);
        EXPECT_TRUE(layers.memoryRanOut);
        EXPECT_LE(layers.peakBytes, budget);
        EXPECT_GE(layers.lowerBound, 1);
        EXPECT_LE(layers.lowerBound, 18);
    }
    // With room enough a search proves its board and says how much it held.
    LevelRecord triangle = FifteenHoleTriangle();
    triangle.StartCells[0] = EmptyHole;
    triangle.TargetCells[0] = FirstColourPeg;
    MinMovesLimits roomy = Limits(2);
    roomy.memoryBytes = std::size_t{1} << 30;
    const MinMovesResult proved = FindFewestMoves(triangle, roomy);
    ASSERT_EQ(proved.outcome, MinMovesOutcome::Proven);
    EXPECT_EQ(proved.moves, 10);
    EXPECT_FALSE(proved.memoryRanOut);
    EXPECT_GT(proved.peakBytes, 0u);
    EXPECT_LT(proved.peakBytes, roomy.memoryBytes);
}

TEST(FewestMovesMemory, TheSolverKeepsItsBestSolutionWhenTheProofRunsOutOfMemory) {
    // A budget of work, not of time: a sanitizer build on a busy machine must find the same.
    SolverLimits limits;
    limits.seconds = 600.0;
    limits.maxNodes = 500'000;
    limits.memoryBytes = std::size_t{1} << 20;
    const SolveResult result = SolveBoard(CentralGame(), limits);
    ASSERT_EQ(result.status, SolveStatus::Solved);
    EXPECT_TRUE(result.memoryRanOut);
    EXPECT_TRUE(ReplaySolution(CentralGame(), result.jumps).solved);
    EXPECT_GE(result.moves, 18);
    EXPECT_LE(result.movesLowerBound, 18);
    EXPECT_GE(result.movesLowerBound, 1);
    EXPECT_LE(result.peakBytes, limits.memoryBytes);
}

TEST(FewestMovesMemory, ReadsMemoryAmountsAsTheToolsTakeThem) {
    std::size_t bytes = 0;
    EXPECT_TRUE(ParseMemoryAmount("4096", bytes));
    EXPECT_EQ(bytes, 4096u);
    EXPECT_TRUE(ParseMemoryAmount("512M", bytes));
    EXPECT_EQ(bytes, std::size_t{512} << 20);
    EXPECT_TRUE(ParseMemoryAmount("6G", bytes));
    EXPECT_EQ(bytes, std::size_t{6} << 30);
    for (const char* bad : {"", "0", "0G", "G", "-1G", "1.5G", "4GB", "4 G", "99999999999999999999G"})
        EXPECT_FALSE(ParseMemoryAmount(bad, bytes)) << bad;
    EXPECT_GT(DefaultMemoryBudget(), 0u);
    EXPECT_EQ(MemoryText(std::size_t{3} << 29), "1.5 GiB");
    EXPECT_EQ(MemoryText(std::size_t{17} << 20), "17.0 MiB");
}
