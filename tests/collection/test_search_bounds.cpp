#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <map>
#include <random>
#include <set>

#include "BoardBuilder.h"
#include "game/MinMoves.h"
#include "game/Rules.h"
#include "game/SearchBounds.h"

namespace {

constexpr int NoWay = INT_MAX / 2;

// A board of size 5 over its holes, built from the game's own jump rules, with its start and goal.
struct SmallBoard {
    LevelRecord record;
    HoleBoard holes;
    HolePegs start, goal; // goal empty: a single peg anywhere
};

HolePegs PegsOf(const Position& cells, const std::vector<int>& cellOf) {
    HolePegs pegs;
    for (const int cell : cellOf)
        pegs.push_back(cells[cell] == SecondColourPeg ? 2 : HoldsPeg(cells[cell]) ? 1 : 0);
    return pegs;
}

SmallBoard Holes(const LevelRecord& record) {
    SmallBoard b;
    b.record = record;
    std::vector<int> cellOf;
    std::map<int, int> indexOf;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(record, cell) && record.StartCells[cell] != NoHole) {
            indexOf[cell] = static_cast<int>(cellOf.size());
            cellOf.push_back(cell);
        }
    b.holes.holes = static_cast<int>(cellOf.size());
    // A jump is legal on an empty position with pegs put on its start and jumped-over cell.
    for (const int from : cellOf)
        for (const int to : cellOf) {
            Position p = record.StartCells;
            for (const int cell : cellOf)
                p[cell] = EmptyHole;
            for (int over = 0; over < CellCount; ++over) {
                if (indexOf.count(over) == 0)
                    continue;
                p[over] = FirstColourPeg;
                const JumpCheck check = IsLegalJump(p, record, from, to);
                if (check.legal && check.jumpedOver == over)
                    b.holes.lines.push_back({static_cast<std::uint8_t>(indexOf[from]),
                                             static_cast<std::uint8_t>(indexOf[over]),
                                             static_cast<std::uint8_t>(indexOf[to])});
                p[over] = EmptyHole;
            }
        }
    b.start = PegsOf(record.StartCells, cellOf);
    if (CountPegs(record.TargetCells, record) > 0)
        b.goal = PegsOf(record.TargetCells, cellOf);
    return b;
}

// Every position reachable from the start, with the fewest moves from a position to the goal
// (NoWay when the goal is out of reach); a jump from where the last one landed is no new move.
class Reachable {
public:
    explicit Reachable(const SmallBoard& board) : b(board) { fewest(b.start, -1); }

    const std::set<HolePegs>& positions() const { return m_seen; }

    int fewest(const HolePegs& p, int landing) {
        m_seen.insert(p);
        if (isGoal(p))
            return 0;
        const auto known = m_memo.find({p, landing});
        if (known != m_memo.end())
            return known->second;
        int best = NoWay;
        for (const HoleLine& line : b.holes.lines) {
            if (p[line.from] == 0 || p[line.over] == 0 || p[line.to] != 0)
                continue;
            HolePegs next = p;
            next[line.to] = p[line.from];
            next[line.from] = next[line.over] = 0;
            best = std::min(best, (line.from == landing ? 0 : 1) + fewest(next, line.to));
        }
        m_memo[{p, landing}] = best;
        return best;
    }

    bool isGoal(const HolePegs& p) const {
        if (!b.goal.empty())
            return p == b.goal;
        return std::count_if(p.begin(), p.end(), [](std::uint8_t c) { return c != 0; }) == 1;
    }

private:
    const SmallBoard& b;
    std::map<std::pair<HolePegs, int>, int> m_memo;
    std::set<HolePegs> m_seen;
};

// The fewest moves from each reachable position when a new move begins there.
std::map<HolePegs, int> FreshMoves(const SmallBoard& board) {
    Reachable reachable(board);
    const std::set<HolePegs> positions = reachable.positions();
    std::map<HolePegs, int> fresh;
    for (const HolePegs& p : positions)
        fresh[p] = reachable.fewest(p, -1);
    return fresh;
}

// What a set of bounds gets wrong on a board, checked against every reachable position; empty
// when they hold.
std::string FirstUnsound(const SmallBoard& board, const SearchBounds& bounds) {
    for (const Weighing& w : bounds.weighings)
        if (!NeverGrows(board.holes, w))
            return "a weighing grows by a jump";
    for (const std::vector<int>& region : bounds.regions)
        if (!IsClosedRegion(board.holes, region))
            return "a region has a line over it from outside to outside";
    const std::vector<std::uint8_t> startClass = ParityClass(bounds, board.start);
    for (const auto& [position, moves] : FreshMoves(board)) {
        if (ParityClass(bounds, position) != startClass)
            return "a jump changed the parity class";
        if (moves == NoWay)
            continue;
        if (!board.goal.empty())
            for (const Weighing& w : bounds.weighings)
                if (Weigh(w, position) < Weigh(w, board.goal))
                    return "a weighing cuts a position that reaches the goal";
        if (MovesStillNeeded(bounds, position, board.goal, board.goal.empty()) > moves)
            return "the regions ask for more moves than the goal needs";
    }
    return {};
}

// A size-5 board with random pegs (some of the second colour) and a target reached by random
// jumps, or none.
LevelRecord RandomBoard(std::mt19937& random, Kind kind, int pegs, bool withTarget) {
    LevelRecord r = EmptySizeFiveBoard(kind);
    std::vector<int> holes;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(r, cell) && random() % 8 != 0) {
            r.StartCells[cell] = EmptyHole;
            holes.push_back(cell);
        }
    std::shuffle(holes.begin(), holes.end(), random);
    for (int k = 0; k < pegs && k < static_cast<int>(holes.size()); ++k)
        r.StartCells[holes[k]] = withTarget && random() % 3 == 0 ? SecondColourPeg : FirstColourPeg;
    for (int cell = 0; cell < CellCount; ++cell)
        r.TargetCells[cell] = r.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    if (withTarget) {
        Position played = r.StartCells;
        for (int j = 0; j < 1 + static_cast<int>(random() % 6); ++j)
            for (int attempt = 0; attempt < 400; ++attempt) {
                const int from = static_cast<int>(random() % CellCount),
                          to = static_cast<int>(random() % CellCount);
                if (!IsOnBoard(r, from) || !HoldsPeg(played[from]))
                    continue;
                const JumpCheck check = IsLegalJump(played, r, from, to);
                if (check.legal) {
                    ApplyJump(played, from, check.jumpedOver, to, played[from]);
                    break;
                }
            }
        r.TargetCells = played;
    }
    return r;
}

std::vector<SmallBoard> RandomBoards(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<SmallBoard> boards;
    for (int k = 0; k < count; ++k) {
        const Kind kind = static_cast<Kind>(k % 3);
        const bool withTarget = k % 2 == 0;
        boards.push_back(Holes(RandomBoard(random, kind, 6 + k % 5, withTarget)));
    }
    return boards;
}

bool HasColours(const SmallBoard& b) {
    return !b.goal.empty() && std::count(b.start.begin(), b.start.end(), 2) > 0;
}

TEST(SearchBounds, HoldForEveryPositionOfSmallBoardsOfEachShape) {
    int cutting = 0;
    for (const SmallBoard& board : RandomBoards(2024, 30)) {
        const SearchBounds bounds = FindSearchBounds(board.holes, HasColours(board), board.start, board.goal);
        EXPECT_EQ(FirstUnsound(board, bounds), "") << "board with " << board.holes.holes << " holes";
        cutting += !bounds.weighings.empty() && !bounds.regions.empty();
    }
    EXPECT_GT(cutting, 20);
}

TEST(SearchBounds, ABrokenBoundIsCaught) {
    const SmallBoard board =
        Holes(MakeBoard(5, ShapeSquare, false, {"xxxo.", "ooxo.", "oooo.", ".....", "....."},
                        {"oooo.", "oooo.", "ooox.", ".....", "....."}));
    const SearchBounds good = FindSearchBounds(board.holes, false, board.start, board.goal);
    ASSERT_EQ(FirstUnsound(board, good), "");

    // All weight on the target's hole: the goal weighs 1, the start and the way there nothing.
    SearchBounds heavyGoal = good;
    Weighing onGoal{std::vector<int>(board.holes.holes, 0), std::vector<int>(board.holes.holes, 0)};
    onGoal.peg[std::find(board.goal.begin(), board.goal.end(), 1) - board.goal.begin()] = 1;
    heavyGoal.weighings.push_back(onGoal);
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

// Every region widened by a neighbouring hole, and each hole's peg counted as a weighing that a
// jump onto that hole breaks.
void BreakBounds(SearchBounds& bounds) {
    for (std::size_t k = 0; k + 1 < bounds.regions.size(); k += 2) {
        bounds.regions[k].insert(bounds.regions[k].end(), bounds.regions[k + 1].begin(),
                                 bounds.regions[k + 1].end());
        bounds.regions[k + 1].clear();
    }
    const std::size_t holes = bounds.parityChecks.empty() ? 0 : bounds.parityChecks[0].size();
    for (std::size_t h = 0; h < holes; ++h) {
        Weighing single{std::vector<int>(holes, 0), std::vector<int>(holes, 0)};
        single.peg[h] = 1;
        bounds.weighings.insert(bounds.weighings.begin(), single);
    }
}

// The search with a broken bound slipped in gives wrong answers, which the comparison with the
// exhaustive search notices; with its own bounds it agrees on every board.
TEST(SearchBounds, TheSearchWithABrokenBoundDisagreesWithTheExhaustiveOne) {
    int wrong = 0, compared = 0;
    std::array<int, 3> wrongKnown{}, comparedKnown{}; // by method
    for (const SmallBoard& board : RandomBoards(77, 24)) {
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

TEST(SearchBounds, ParityClassesOfTheSquareBoardWithoutDiagonals) {
    // On the 33-hole cross the last peg of the central game can only be on five holes.
    const LevelRecord cross = EnglishCross();
    const SmallBoard board = Holes(cross);
    const SearchBounds bounds = FindSearchBounds(board.holes, false, board.start, board.goal);
    int possible = 0;
    for (int h = 0; h < board.holes.holes; ++h) {
        HolePegs single(board.holes.holes, 0);
        single[h] = 1;
        possible += ParityClass(bounds, single) == ParityClass(bounds, board.start);
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
