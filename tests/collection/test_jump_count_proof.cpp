// SPDX-License-Identifier: GPL-3.0-or-later
// The proof by whole numbers of jumps, held to every position a brute-force search reaches on random
// small boards of each kind: it may prove out of reach only what is, the counts it finds must add
// up, and with too few simplex steps or called off it settles no more than it can. And a position
// that no pagoda function can prove dead, which it does, and so does the engine once its search has
// run out.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <random>
#include <set>

#include "ExhaustiveReach.h"
#include "SmallBoards.h"
#include "solver/JumpCountProof.h"
#include "solver/PagodaProof.h"
#include "solver/ReachOracle.h"

namespace {

constexpr std::size_t Plenty = std::size_t{1} << 30;

HolePegs WithoutColours(HolePegs pegs) {
    for (std::uint8_t& hole : pegs)
        hole = hole != 0 ? 1 : 0;
    return pegs;
}

// Every position, colours aside, that jumps lead to from `from`.
std::set<HolePegs> ReachableFrom(const SmallBoard& board, const HolePegs& from) {
    SmallBoard fromHere = board;
    fromHere.start = WithoutColours(from);
    std::set<HolePegs> reached;
    const Reachable reachable(fromHere);
    for (const HolePegs& p : reachable.positions())
        reached.insert(WithoutColours(p));
    return reached;
}

// Whether the counts per line take `from` to `to`, hole by hole, worked out here over the pegs.
bool CountsAddUp(const HoleBoard& board, const HolePegs& from, const HolePegs& to,
                 const std::vector<int>& perLine) {
    if (perLine.size() != board.lines.size())
        return false;
    std::vector<int> pegs(from.begin(), from.end());
    for (std::size_t j = 0; j < perLine.size(); ++j) {
        if (perLine[j] < 0)
            return false;
        pegs[board.lines[j].from] -= perLine[j];
        pegs[board.lines[j].over] -= perLine[j];
        pegs[board.lines[j].to] += perLine[j];
    }
    return std::equal(pegs.begin(), pegs.end(), to.begin());
}

struct Tally {
    int proved = 0;
    int provedWithNoPagoda = 0;
    int found = 0;
    int cutShort = 0;
};

// The answer from `from` to `to` with plenty of steps and with half the steps that took: each may
// say "none" only where the search reaches no such position, and "found" only with counts that
// add up; the second takes no more steps than it was given, but for the one that finds them out.
void CheckAgainstSearch(const HoleBoard& board, const HolePegs& from, const HolePegs& to, bool reachable,
                        Tally& tally) {
    const JumpCountAnswer plenty = JumpCountsBetween(board, from, to, Plenty, nullptr);
    ASSERT_NE(plenty.counts, JumpCounts::NotSettled);
    const std::size_t half = plenty.steps / 2;
    const JumpCountAnswer cut = JumpCountsBetween(board, from, to, half, nullptr);
    EXPECT_LE(cut.steps, half + 1);
    for (const JumpCountAnswer& answer : {plenty, cut}) {
        if (answer.counts == JumpCounts::None) {
            ASSERT_FALSE(reachable);
        }
        if (answer.counts == JumpCounts::Found) {
            ASSERT_TRUE(CountsAddUp(board, WithoutColours(from), to, answer.perLine));
        }
    }
    tally.cutShort += cut.counts == JumpCounts::NotSettled ? 1 : 0;
    if (plenty.counts == JumpCounts::Found) {
        ++tally.found;
        return;
    }
    ++tally.proved;
    tally.provedWithNoPagoda += PagodaAgainst(board, from, to) ? 0 : 1;
}

} // namespace

// From the start and from positions along the way, towards a lone peg on every hole and towards
// every position the search reaches with few pegs left, on boards of all three kinds.
TEST(JumpCountProof, NeverProvesOutOfReachWhatJumpsReachAndItsCountsAddUp) {
    std::mt19937 random(17);
    Tally tally;
    for (const SmallBoard& board : RandomBoards(91, 30)) {
        SCOPED_TRACE("board with " + std::to_string(board.holes.holes) + " holes");
        const std::set<HolePegs> fromStart = ReachableFrom(board, board.start);
        const std::vector<HolePegs> along(fromStart.begin(), fromStart.end());
        for (int k = 0; k < 4; ++k) {
            const HolePegs from = k == 0 ? board.start : along[random() % along.size()];
            const std::set<HolePegs> reached = ReachableFrom(board, from);
            for (int hole = 0; hole < board.holes.holes; ++hole) {
                HolePegs lone(static_cast<std::size_t>(board.holes.holes), 0);
                lone[static_cast<std::size_t>(hole)] = 1;
                CheckAgainstSearch(board.holes, from, lone, reached.count(lone) > 0, tally);
                if (::testing::Test::HasFatalFailure())
                    return;
            }
            for (const HolePegs& to : reached)
                if (std::count(to.begin(), to.end(), 1) <= 3) {
                    CheckAgainstSearch(board.holes, from, to, true, tally);
                    if (::testing::Test::HasFatalFailure())
                        return;
                }
        }
    }
    EXPECT_GE(tally.proved, 1500);
    EXPECT_GE(tally.provedWithNoPagoda, 200);
    EXPECT_GE(tally.found, 500);
    EXPECT_GE(tally.cutShort, 1000);
}

TEST(JumpCountProof, CalledOffItSettlesNothing) {
    const SmallBoard board = Holes(EnglishCross());
    HolePegs lone(static_cast<std::size_t>(board.holes.holes), 0);
    lone[16] = 1;
    const std::atomic<bool> calledOff{true};
    EXPECT_EQ(JumpCountsBetween(board.holes, board.start, lone, Plenty, &calledOff).counts,
              JumpCounts::NotSettled);
    const std::atomic<bool> goOn{false};
    EXPECT_EQ(JumpCountsBetween(board.holes, board.start, lone, Plenty, &goOn).counts, JumpCounts::Found);
}

// Four pegs on the 5 x 5 board: the top two may jump into the corner, and the other two, each alone,
// must be jumped over. Half a jump each way along a line over a peg takes it away and leaves the rest
// as it was, so without whole numbers the pegs can all go and no pagoda function tells the positions
// apart; in whole numbers no jumps do it. With a budget of one position the engine's search runs out
// at once, and the whole numbers settle it.
TEST(JumpCountProof, SettlesWhatNoPagodaFunctionCan) {
    const LevelRecord record = MakeBoard(5, ShapeSquare, false, {"oxxoo", "xoooo", "ooooo", "ooooo", "oooxo"},
                                         {"xoooo", "ooooo", "ooooo", "ooooo", "ooooo"});
    const SmallBoard board = Holes(record);
    // Twice the counts, per line over the holes numbered row by row: the top row's jump into the
    // corner twice, and once each way down the left column and along the bottom row.
    const std::vector<std::pair<std::array<int, 3>, int>> twiceTheCounts = {
        {{2, 1, 0}, 2}, {{0, 5, 10}, 1}, {{10, 5, 0}, 1}, {{22, 23, 24}, 1}, {{24, 23, 22}, 1}};
    std::vector<int> twice(board.holes.lines.size(), 0);
    for (std::size_t j = 0; j < board.holes.lines.size(); ++j)
        for (const auto& [line, count] : twiceTheCounts)
            if (board.holes.lines[j].from == line[0] && board.holes.lines[j].over == line[1] &&
                board.holes.lines[j].to == line[2])
                twice[j] = count;
    HolePegs twiceStart = board.start, twiceGoal = board.goal;
    for (std::size_t h = 0; h < twiceStart.size(); ++h) {
        twiceStart[h] *= 2;
        twiceGoal[h] *= 2;
    }
    ASSERT_TRUE(CountsAddUp(board.holes, twiceStart, twiceGoal, twice));
    EXPECT_FALSE(PagodaAgainst(board.holes, board.start, board.goal));

    const JumpCountAnswer answer = JumpCountsBetween(board.holes, board.start, board.goal, Plenty, nullptr);
    EXPECT_EQ(answer.counts, JumpCounts::None);
    ExhaustiveReach exhaustive(record);
    EXPECT_FALSE(exhaustive.reachable(record.StartCells));

    const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(record);
    ASSERT_NE(engine, nullptr);
    reach::SearchLimits starved;
    starved.positions = 1;
    const reach::OracleAnswer dead = engine->ask(record.StartCells, starved);
    EXPECT_EQ(dead.verdict, reach::Verdict::Dead);
    EXPECT_TRUE(dead.byJumpCounts);
    EXPECT_GT(dead.examined, starved.positions);
}
