// SPDX-License-Identifier: GPL-3.0-or-later
// Small boards over their holes for the tests of the search's bounds, with every position reachable
// on them and the fewest moves from each, worked out by brute force from the game's own rules.
#pragma once

#include <algorithm>
#include <climits>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BoardBuilder.h"
#include "rules/Rules.h"
#include "solver/SearchBounds.h"

constexpr int NoWay = INT_MAX / 2;

// A board of size 5 over its holes, built from the game's own jump rules, with its start and goal.
struct SmallBoard {
    LevelRecord record;
    HoleBoard holes;
    HolePegs start, goal; // goal empty: a single peg anywhere
};

inline HolePegs PegsOf(const Position& cells, const std::vector<int>& cellOf) {
    HolePegs pegs;
    for (const int cell : cellOf)
        pegs.push_back(cells[cell] == SecondColourPeg ? 2 : HoldsPeg(cells[cell]) ? 1 : 0);
    return pegs;
}

inline SmallBoard Holes(const LevelRecord& record) {
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

inline bool CanJump(const HolePegs& p, const HoleLine& line) {
    return p[line.from] != 0 && p[line.over] != 0 && p[line.to] == 0;
}

// The position after the jump along the line; the jumping peg keeps its colour.
inline HolePegs Jumped(const HolePegs& p, const HoleLine& line) {
    HolePegs next = p;
    next[line.to] = p[line.from];
    next[line.from] = next[line.over] = 0;
    return next;
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
        for (const HoleLine& line : b.holes.lines)
            if (CanJump(p, line))
                best = std::min(best, (line.from == landing ? 0 : 1) + fewest(Jumped(p, line), line.to));
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
inline std::map<HolePegs, int> FreshMoves(const SmallBoard& board) {
    Reachable reachable(board);
    const std::set<HolePegs> positions = reachable.positions();
    std::map<HolePegs, int> fresh;
    for (const HolePegs& p : positions)
        fresh[p] = reachable.fewest(p, -1);
    return fresh;
}

// The fewest moves from the start to each reachable position, the last move ending there.
inline std::map<HolePegs, int> MovesSinceStart(const SmallBoard& board) {
    // Over (position, landing hole): a jump from where the last one landed goes on with its move.
    using State = std::pair<HolePegs, int>;
    std::map<State, int> distance{{{board.start, -1}, 0}};
    std::deque<State> queue{{board.start, -1}};
    std::map<HolePegs, int> fewest;
    while (!queue.empty()) {
        const State state = queue.front();
        queue.pop_front();
        const int moves = distance[state];
        const HolePegs& p = state.first;
        const auto known = fewest.find(p);
        if (known == fewest.end() || moves < known->second)
            fewest[p] = moves;
        for (const HoleLine& line : board.holes.lines) {
            if (!CanJump(p, line))
                continue;
            const bool goesOn = line.from == state.second;
            const State after{Jumped(p, line), line.to};
            const auto seen = distance.find(after);
            if (seen != distance.end() && seen->second <= moves + !goesOn)
                continue;
            distance[after] = moves + !goesOn;
            if (goesOn)
                queue.push_front(after);
            else
                queue.push_back(after);
        }
    }
    return fewest;
}

// A size-5 board with random pegs (some of the second colour) on about holesInEight eighths of its
// cells, and a target reached by random jumps, or none.
inline LevelRecord RandomBoard(std::mt19937& random, Kind kind, int pegs, bool withTarget,
                               unsigned holesInEight = 7) {
    LevelRecord r = EmptySizeFiveBoard(kind);
    std::vector<int> holes;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(r, cell) && random() % 8 >= 8 - holesInEight) {
            r.StartCells[cell] = EmptyHole;
            holes.push_back(cell);
        }
    std::shuffle(holes.begin(), holes.end(), random);
    for (int k = 0; k < pegs && k < static_cast<int>(holes.size()); ++k)
        r.StartCells[holes[k]] = withTarget && random() % 3 == 0 ? SecondColourPeg : FirstColourPeg;
    for (int cell = 0; cell < CellCount; ++cell)
        r.TargetCells[cell] = r.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    if (withTarget)
        r.TargetCells = PlayRandomJumps(r, r.StartCells, 1 + static_cast<int>(random() % 6), random);
    return r;
}

inline std::vector<SmallBoard> RandomBoards(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<SmallBoard> boards;
    for (int k = 0; k < count; ++k) {
        const Kind kind = static_cast<Kind>(k % 3);
        const bool withTarget = k % 2 == 0;
        boards.push_back(Holes(RandomBoard(random, kind, 6 + k % 5, withTarget)));
    }
    return boards;
}

inline bool HasColours(const SmallBoard& b) {
    return !b.goal.empty() && std::count(b.start.begin(), b.start.end(), 2) > 0;
}
