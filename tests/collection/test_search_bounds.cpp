// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <map>
#include <random>
#include <set>

#include "SmallBoards.h"
#include "rules/Rules.h"
#include "solver/FewestMoves.h"
#include "solver/SearchBounds.h"

namespace {

// What a set of bounds gets wrong on a board, checked against every reachable position; empty
// when they hold.
std::string FirstUnsound(const SmallBoard& board, const SearchBounds& bounds) {
    for (const PagodaFunction& w : bounds.pagodas)
        if (!IsPagodaFunction(board.holes, w))
            return "a pagoda function grows by a jump";
    for (const std::vector<int>& region : bounds.regions)
        if (!IsClosedRegion(board.holes, region))
            return "a region has a line over it from outside to outside";
    const std::vector<std::uint8_t> startClass = PositionClass(bounds, board.start);
    for (const auto& [position, moves] : FreshMoves(board)) {
        if (PositionClass(bounds, position) != startClass)
            return "a jump changed the position class";
        if (moves == NoWay)
            continue;
        if (!board.goal.empty())
            for (const PagodaFunction& w : bounds.pagodas)
                if (PagodaValue(w, position) < PagodaValue(w, board.goal))
                    return "a pagoda function cuts a position that reaches the goal";
        if (MovesStillNeeded(bounds, position, board.goal, board.goal.empty()) > moves)
            return "the regions ask for more moves than the goal needs";
    }
    return {};
}

TEST(SearchBounds, HoldForEveryPositionOfSmallBoardsOfEachShape) {
    int cutting = 0;
    for (const SmallBoard& board : RandomBoards(2024, 30)) {
        const SearchBounds bounds = FindSearchBounds(board.holes, HasColours(board), board.start, board.goal);
        EXPECT_EQ(FirstUnsound(board, bounds), "") << "board with " << board.holes.holes << " holes";
        cutting += !bounds.pagodas.empty() && !bounds.regions.empty();
    }
    EXPECT_GT(cutting, 20);
}

TEST(SearchBounds, ABrokenBoundIsCaught) {
    const SmallBoard board =
        Holes(MakeBoard(5, ShapeSquare, false, {"xxxo.", "ooxo.", "oooo.", ".....", "....."},
                        {"oooo.", "oooo.", "ooox.", ".....", "....."}));
    const SearchBounds good = FindSearchBounds(board.holes, false, board.start, board.goal);
    ASSERT_EQ(FirstUnsound(board, good), "");

    // All weight on the target's hole: the goal's value is 1, that of the start and of the way there 0.
    SearchBounds heavyGoal = good;
    PagodaFunction onGoal{std::vector<int>(board.holes.holes, 0), std::vector<int>(board.holes.holes, 0)};
    onGoal.peg[std::find(board.goal.begin(), board.goal.end(), 1) - board.goal.begin()] = 1;
    heavyGoal.pagodas.push_back(onGoal);
    EXPECT_NE(FirstUnsound(board, heavyGoal), "");

    // Two holes in a row with a line across them: not a region, and counting it asks too much.
    SearchBounds openRegion = good;
    openRegion.regions = {{0, 1}, {2, 3}, {4, 5}};
    EXPECT_NE(FirstUnsound(board, openRegion), "");

    // A parity check that a jump flips.
    SearchBounds badParity = good;
    badParity.parityChecks.push_back(std::vector<std::uint8_t>(board.holes.holes, 0));
    badParity.parityChecks.back()[0] = 1;
    EXPECT_NE(FirstUnsound(board, badParity), "");
}

// Every region widened by a neighbouring hole, and each hole's peg counted as a pagoda function that a
// jump onto that hole breaks.
void BreakBounds(SearchBounds& bounds) {
    for (std::size_t k = 0; k + 1 < bounds.regions.size(); k += 2) {
        bounds.regions[k].insert(bounds.regions[k].end(), bounds.regions[k + 1].begin(),
                                 bounds.regions[k + 1].end());
        bounds.regions[k + 1].clear();
    }
    const std::size_t holes = bounds.parityChecks.empty() ? 0 : bounds.parityChecks[0].size();
    for (std::size_t h = 0; h < holes; ++h) {
        PagodaFunction single{std::vector<int>(holes, 0), std::vector<int>(holes, 0)};
        single.peg[h] = 1;
        bounds.pagodas.insert(bounds.pagodas.begin(), single);
    }
}

// The search with a broken bound slipped in gives wrong answers, which the comparison with the
// exhaustive search notices; with its own bounds it agrees on every board.
TEST(SearchBounds, TheSearchWithABrokenBoundDisagreesWithTheExhaustiveOne) {
    int wrong = 0, compared = 0;
    std::array<int, 3> wrongKnown{}, comparedKnown{}; // by method
    for (const SmallBoard& board : RandomBoards(77, 48)) {
        if (Reachable(board).isGoal(board.start))
            continue;
        const int expected = Reachable(board).fewest(board.start, -1);
        MinMovesLimits limits;
        limits.threads = 1;
        limits.method = MinMovesMethod::MeetInTheMiddle;
        const MinMovesResult good = FindFewestMoves(board.record, limits);
        ++compared;
        if (expected == NoWay) {
            EXPECT_EQ(good.outcome, MinMovesOutcome::Unsolvable);
        } else {
            EXPECT_EQ(good.outcome, MinMovesOutcome::Proven);
            EXPECT_EQ(good.moves, expected);
        }
        const MinMovesResult broken = FindFewestMoves(board.record, limits, BreakBounds);
        const bool agrees = expected == NoWay
                                ? broken.outcome == MinMovesOutcome::Unsolvable
                                : broken.outcome == MinMovesOutcome::Proven && broken.moves == expected;
        wrong += !agrees;
        if (expected == NoWay)
            continue;
        // Told of a solution one move too long, the search gives up moves halfway whose regions
        // ask for too much; with regions that do not hold, it misses the shortest.
        // Both ways of searching, each caught on some board.
        for (const MinMovesMethod method : {MinMovesMethod::MeetInTheMiddle, MinMovesMethod::ByLayers}) {
            MinMovesLimits known = limits;
            known.knownMoves = expected + 1;
            known.method = method;
            const MinMovesResult goodKnown = FindFewestMoves(board.record, known);
            EXPECT_EQ(goodKnown.outcome, MinMovesOutcome::Proven);
            EXPECT_EQ(goodKnown.moves, expected);
            const MinMovesResult brokenKnown = FindFewestMoves(board.record, known, [](SearchBounds& bounds) {
                for (std::size_t k = 0; k + 1 < bounds.regions.size(); k += 2) {
                    bounds.regions[k].insert(bounds.regions[k].end(), bounds.regions[k + 1].begin(),
                                             bounds.regions[k + 1].end());
                    bounds.regions[k + 1].clear();
                }
            });
            const int m = static_cast<int>(method);
            ++comparedKnown[m];
            wrongKnown[m] +=
                !(brokenKnown.outcome == MinMovesOutcome::Proven && brokenKnown.moves == expected);
        }
    }
    EXPECT_GT(compared, 15);
    EXPECT_GT(wrong, 0);
    for (const MinMovesMethod method : {MinMovesMethod::MeetInTheMiddle, MinMovesMethod::ByLayers}) {
        EXPECT_GE(comparedKnown[static_cast<int>(method)], 5);
        EXPECT_GT(wrongKnown[static_cast<int>(method)], 0);
    }
}

TEST(SearchBounds, PositionClassesOfTheSquareBoardWithoutDiagonals) {
    // On the 33-hole cross the last peg of the central game can only be on five holes.
    const LevelRecord cross = EnglishCross();
    const SmallBoard board = Holes(cross);
    const SearchBounds bounds = FindSearchBounds(board.holes, false, board.start, board.goal);
    int possible = 0;
    for (int h = 0; h < board.holes.holes; ++h) {
        HolePegs single(board.holes.holes, 0);
        single[h] = 1;
        possible += PositionClass(bounds, single) == PositionClass(bounds, board.start);
    }
    EXPECT_EQ(possible, 5);
    // The eight holes at the ends of the arms are regions of one hole, the four inner corners
    // regions of three; all full at the start, and the last peg may stay on one of the eight.
    int singles = 0, corners = 0;
    for (const auto& region : bounds.regions) {
        singles += region.size() == 1;
        corners += region.size() == 3;
    }
    EXPECT_EQ(singles, 8);
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(MovesStillNeeded(bounds, board.start, board.goal, true), 11);
}

} // namespace
