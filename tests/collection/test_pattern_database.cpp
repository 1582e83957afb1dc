// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <iterator>
#include <numeric>

#include "SmallBoards.h"
#include "solver/FewestMoves.h"
#include "solver/PatternDatabase.h"

namespace {

std::function<bool(std::uint32_t)> GoalOf(const SmallBoard& board, const std::vector<int>& part) {
    if (board.goal.empty())
        return [](std::uint32_t pattern) {
            return (pattern & (pattern - 1)) == 0;
        };
    const std::uint32_t goal = PatternOf(part, board.goal);
    return [goal](std::uint32_t pattern) {
        return pattern == goal;
    };
}

// The sum over the parts, NoWay when a part says the pattern never gets there.
int Sum(const std::vector<std::vector<int>>& parts, const std::vector<std::vector<std::uint8_t>>& databases,
        const HolePegs& position) {
    int moves = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::uint8_t v = databases[i][PatternOf(parts[i], position)];
        if (v == NeverInMoves)
            return NoWay;
        moves += v;
    }
    return moves;
}

// The board's holes dealt into three parts at random.
std::vector<std::vector<int>> RandomParts(const SmallBoard& board, std::mt19937& random) {
    std::vector<std::vector<int>> parts(3);
    for (int h = 0; h < board.holes.holes; ++h)
        parts[random() % 3].push_back(h);
    parts.erase(std::remove_if(parts.begin(), parts.end(), [](const auto& p) { return p.empty(); }),
                parts.end());
    return parts;
}

// With the whole board as one part nothing is left open, so the databases are the fewest moves
// themselves, to the goal and from the start, for every position (runs of jumps by one peg
// counted as one move, as the exhaustive searches count them).
TEST(PatternDatabases, OverTheWholeBoardTheyAreTheFewestMoves) {
    std::mt19937 random(5);
    int boards = 0;
    for (int k = 0; boards < 12; ++k) {
        const Kind kind = static_cast<Kind>(k % 3);
        const SmallBoard board = Holes(RandomBoard(random, kind, 5 + k % 5, k % 2 == 0, 4));
        if (board.holes.holes > MaxPartHoles || HasColours(board))
            continue;
        ++boards;
        std::vector<int> all(board.holes.holes);
        std::iota(all.begin(), all.end(), 0);
        const std::vector<std::uint8_t> toGoal = MovesToGoal(board.holes, all, GoalOf(board, all));
        const std::vector<std::uint8_t> fromStart =
            MovesFromStart(board.holes, all, PatternOf(all, board.start));
        const std::map<HolePegs, int> sinceStart = MovesSinceStart(board);
        for (const auto& [position, moves] : FreshMoves(board)) {
            const std::uint8_t table = toGoal[PatternOf(all, position)];
            EXPECT_EQ(table == NeverInMoves ? NoWay : table, moves) << "board " << k;
            EXPECT_EQ(fromStart[PatternOf(all, position)], sinceStart.at(position)) << "board " << k;
        }
    }
}

// Split into parts, the sums never ask for more moves than a position needs to the goal, nor
// than it took from the start; on some positions they ask for more than the regions do.
TEST(PatternDatabases, SplitTheirSumsHoldForEveryPosition) {
    std::mt19937 random(11);
    int positions = 0, beyondRegions = 0;
    for (const SmallBoard& board : RandomBoards(31, 18)) {
        for (const auto& parts : {ChooseParts(board.holes), RandomParts(board, random)}) {
            std::vector<std::vector<std::uint8_t>> toGoal, fromStart;
            for (const std::vector<int>& part : parts) {
                toGoal.push_back(MovesToGoal(board.holes, part, GoalOf(board, part)));
                fromStart.push_back(MovesFromStart(board.holes, part, PatternOf(part, board.start)));
            }
            const SearchBounds bounds = FindSearchBounds(board.holes, false, board.start, board.goal);
            const std::map<HolePegs, int> sinceStart = MovesSinceStart(board);
            for (const auto& [position, moves] : FreshMoves(board)) {
                ++positions;
                const int ahead = Sum(parts, toGoal, position);
                if (moves != NoWay) {
                    EXPECT_LE(ahead, moves);
                }
                EXPECT_LE(Sum(parts, fromStart, position), sinceStart.at(position));
                beyondRegions += moves != NoWay &&
                                 ahead > MovesStillNeeded(bounds, position, board.goal, board.goal.empty());
            }
        }
    }
    EXPECT_GT(positions, 1000);
    EXPECT_GT(beyondRegions, 0);
}

TEST(PatternDatabases, ThePartsCoverEveryHoleOnce) {
    const std::vector<SmallBoard> boards = {
        Holes(EnglishCross()),
        Holes(MakeBoard(9, ShapeSquare, true,
                        {"xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxxoxxxx", "xxxxxxxxx",
                         "xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx"}))};
    for (const SmallBoard& board : boards) {
        const std::vector<std::vector<int>> parts = ChooseParts(board.holes);
        std::vector<int> seen(board.holes.holes, 0);
        for (const std::vector<int>& part : parts) {
            EXPECT_LE(static_cast<int>(part.size()), MaxPartHoles);
            for (const int h : part)
                ++seen[h];
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), board.holes.holes);
        EXPECT_EQ(static_cast<int>(parts.size()), (board.holes.holes + MaxPartHoles - 1) / MaxPartHoles);
    }
}

// On a board of 80 pegs (positions of two words, six parts) a random game is a solution of its own
// end position: along it the sums never ask for more than the moves it still makes, nor claim
// more than it has made.
TEST(PatternDatabases, AlongARandomGameOnABigBoardTheSumsNeverPassItsMoves) {
    LevelRecord record = MakeBoard(9, ShapeSquare, false,
                                   {"xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxxoxxxx",
                                    "xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx"});
    SmallBoard board = Holes(record);
    std::mt19937 random(3);
    std::vector<HolePegs> path{board.start};
    std::vector<int> movesMade{0};
    int landing = -1;
    for (int jump = 0; jump < 50; ++jump) {
        std::vector<HoleLine> open;
        const HolePegs& p = path.back();
        std::copy_if(board.holes.lines.begin(), board.holes.lines.end(), std::back_inserter(open),
                     [&](const HoleLine& line) { return CanJump(p, line); });
        if (open.empty())
            break;
        // Half of the time the peg that just landed goes on, when it can.
        std::vector<HoleLine> goingOn;
        std::copy_if(open.begin(), open.end(), std::back_inserter(goingOn),
                     [&](const HoleLine& line) { return line.from == landing; });
        const std::vector<HoleLine>& from = !goingOn.empty() && random() % 2 == 0 ? goingOn : open;
        const HoleLine line = from[random() % from.size()];
        movesMade.push_back(movesMade.back() + (line.from == landing ? 0 : 1));
        path.push_back(Jumped(p, line));
        landing = line.to;
    }
    board.goal = path.back();
    const std::vector<std::vector<int>> parts = ChooseParts(board.holes);
    ASSERT_GE(parts.size(), 5u);
    std::vector<std::vector<std::uint8_t>> toGoal, fromStart;
    for (const std::vector<int>& part : parts) {
        toGoal.push_back(MovesToGoal(board.holes, part, GoalOf(board, part)));
        fromStart.push_back(MovesFromStart(board.holes, part, PatternOf(part, board.start)));
    }
    const int total = movesMade.back();
    int tight = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        // A move still under way at this position may go on for nothing: one move less is left.
        const bool underWay = i + 1 < path.size() && movesMade[i + 1] == movesMade[i];
        const int left = total - movesMade[i] + (underWay ? 1 : 0);
        const int ahead = Sum(parts, toGoal, path[i]);
        EXPECT_LE(ahead, left) << "after jump " << i;
        EXPECT_LE(Sum(parts, fromStart, path[i]), movesMade[i]) << "after jump " << i;
        tight += ahead > 0;
    }
    EXPECT_GT(tight, 0);
}

// Databases that ask one move too many, towards the goal or since the start, make the search miss
// the shortest solution on some board, which the exhaustive search shows; their own never do.
TEST(PatternDatabases, TheSearchWithDatabasesThatAskTooMuchDisagreesWithTheExhaustiveOne) {
    const auto inflate = [](std::vector<std::uint8_t>& table) {
        for (std::uint8_t& v : table)
            v = v == NeverInMoves || v == 0 ? v : static_cast<std::uint8_t>(v + 1);
    };
    int compared = 0, wrongAhead = 0, wrongBehind = 0;
    for (const SmallBoard& board : RandomBoards(91, 80)) {
        if (Reachable(board).isGoal(board.start))
            continue;
        const int expected = Reachable(board).fewest(board.start, -1);
        if (expected == NoWay)
            continue;
        ++compared;
        MinMovesLimits limits;
        limits.threads = 1;
        limits.method = MinMovesMethod::MeetInTheMiddle;
        limits.knownMoves = expected + 1;
        const MinMovesResult good = FindFewestMoves(board.record, limits);
        EXPECT_EQ(good.outcome, MinMovesOutcome::Proven);
        EXPECT_EQ(good.moves, expected);
        const auto misses = [&](const BoundsAdjustment& adjust) {
            const MinMovesResult broken = FindFewestMoves(board.record, limits, adjust);
            return !(broken.outcome == MinMovesOutcome::Proven && broken.moves == expected);
        };
        wrongAhead += misses([&](SearchBounds& bounds) {
            for (auto& table : bounds.databasesToGoal)
                inflate(table);
        });
        wrongBehind += misses([&](SearchBounds& bounds) {
            for (auto& image : bounds.databasesFromStart)
                for (auto& table : image)
                    inflate(table);
        });
    }
    EXPECT_GT(compared, 10);
    EXPECT_GT(wrongAhead, 0);
    EXPECT_GT(wrongBehind, 0);
}

} // namespace
