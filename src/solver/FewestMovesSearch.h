// SPDX-License-Identifier: GPL-3.0-or-later
// The fewest-moves search over positions of W 64-bit words (FindFewestMoves picks W from the
// board's holes): the state it shares between its ways of searching, the bounds it prunes with and
// the moves it follows. Its ways of searching each have a file of their own: meeting in the middle
// (MeetInTheMiddle.cpp), by layers (SearchByLayers.cpp) and the beam (BeamSearch.cpp).
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

#include "solver/HoleModel.h"
#include "solver/PatternDatabase.h"
#include "solver/Solver.h"
#include "solver/TranspositionTables.h"

namespace fewest_moves {

using Chain = std::array<std::uint8_t, CellCount + 1>; // the cells one peg visits in a move

// What one thread carries while it follows moves.
template <int W> struct Walk {
    ChainSeen<W> seen;
    std::uint64_t found = 0;                                       // moves found since `cap` was set
    std::uint64_t cap = std::numeric_limits<std::uint64_t>::max(); // stop after this many
    bool timed = true; // stop when the time, the work or the memory runs out
    bool stopped = false;
    // A position whose moves outgrow a round is followed again in the next one, its first `skip`
    // moves passed over: they were gathered already.
    std::uint64_t skip = 0;
    int level = 0; // the level the moves lead to, when only solutions with fewer moves than the
                   // known one are sought and a move may be given up halfway; else 0
    std::vector<std::uint16_t> full; // with a level: the regions full where the moves begin
};

// Forward levels hold the positions first reached from the start with k moves; backward levels the
// positions from which the goal is first reached with k moves. A position on forward level i and
// backward level j gives a solution of at most i + j moves; a solution of m moves passes a position
// on forward level i <= k and backward level j <= m - k for every k, so when levels up to a and b
// hold no common position, every solution has more than a + b moves.
template <int W> class FewestMovesSearch {
public:
    using K = Key<W>;

    FewestMovesSearch(const HoleModel& model, const MinMovesLimits& limits);

    MinMovesResult run();

private:
    struct Side {
        std::array<LevelTable<W>, Shards> tables;
        std::vector<K> frontier;
        double growth = 0; // new positions per frontier position at the last expansion; 0 = none yet
        int depth = 0;
        bool forward = true;
    };

    // Meeting in the middle (MeetInTheMiddle.cpp), whose levels from the goal the beam grows too.
    void meetInTheMiddle(MinMovesResult& result);
    bool insertStart();
    bool expand(Side& side, const Side& other);
    double estimatedCost(const Side& side);
    Side* chooseSide();
    JumpList solutionThrough(const K& meeting) const;
    // By layers (SearchByLayers.cpp).
    void searchByLayers(MinMovesResult& result);
    JumpList solutionFromLayers(const std::vector<CostTable<W>>& layers, K at, int moves) const;
    // The beam (BeamSearch.cpp).
    void searchByBeam(MinMovesResult& result);
    bool expandGoalSideFor(double seconds, std::uint64_t work);
    bool beamFrom(std::size_t width, bool& narrowed);
    std::size_t nextBeamWidth(std::size_t width, std::uint64_t lastCost) const;
    // Moves as the holes their peg visits, from `frameStart`, an image of the start, turned back
    // into jumps between the cells of the real start.
    JumpList inStartFrame(const std::vector<std::vector<std::uint8_t>>& moves, const K& frameStart) const;

    // Each symmetry looked up a byte of the key at a time.
    struct Transform {
        std::vector<std::array<K, 256>> byByte;
        K apply(const K& k) const {
            K out;
            for (std::size_t b = 0; b < byByte.size(); ++b) {
                const unsigned byte = (k.w[b >> 3] >> ((b & 7) * 8)) & 0xFF;
                if (byte != 0)
                    out |= byByte[b][byte];
            }
            return out;
        }
    };

    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }

    void buildMasks();
    void buildTransforms();
    K canonical(const K& k) const {
        int transform = 0;
        return canonical(k, transform);
    }
    bool isGoal(const K& k) const { return m.singlePegGoal ? k.countIn(m_pegMask) == 1 : k == m_goal; }
    int pegs(const K& k) const { return k.countIn(m_pegMask); }
    int secondPegs(const K& k) const { return k.countIn(m_secondMask); }

    // Jumps only remove pegs: each colour must keep at least as many pegs as the target holds, and
    // no pagoda function's value may fall below the goal's.
    bool canStillReachGoal(const K& k) const {
        if (!m.singlePegGoal) {
            const int second = secondPegs(k);
            if (second < m.goalSecondCount || pegs(k) - second < m.goalFirstCount)
                return false;
        }
        for (std::size_t c = 0; c < m_forwardPagodas.size(); ++c)
            if (m_forwardPagodas[c].value(k) < m_goalValues[c])
                return false;
        return true;
    }
    // Reversed jumps only add pegs: no colour may have more pegs than at the start, and no pagoda
    // function's value may grow past the start's. The position stands for all its images, and the
    // start need not be symmetric, so it must fit under one image of the start.
    bool canStillComeFromStart(const K& k) const {
        const int second = secondPegs(k);
        if (m.colours ? second > m.startSecondCount || pegs(k) - second > m.startFirstCount
                      : pegs(k) > m_startPegCount)
            return false;
        if (m_backwardPagodas.empty())
            return true;
        // Each pagoda function is looked up once, and only when some image of the start needs it.
        std::array<int, MaxPagodas> values{};
        std::uint32_t computed = 0;
        for (const std::vector<int>& start : m_startValues) {
            bool fits = true;
            for (std::size_t c = 0; c < start.size() && fits; ++c) {
                if (!(computed >> c & 1)) {
                    values[c] = m_backwardPagodas[c].value(k);
                    computed |= 1u << c;
                }
                fits = values[c] <= start[c];
            }
            if (fits)
                return true;
        }
        return false;
    }

    bool full(const K& k, const K& region) const {
        bool all = true;
        for (int w = 0; w < W; ++w)
            all = all && (k.w[w] & region.w[w]) == region.w[w];
        return all;
    }
    static bool disjoint(const K& a, const K& b) {
        std::uint64_t common = 0;
        for (int w = 0; w < W; ++w)
            common |= a.w[w] & b.w[w];
        return common == 0;
    }
    // Moves still needed from a position, when no peg may go on with a move already begun: a full
    // region that the goal does not fill is left only by a jump from inside, which starts a move;
    // regions with no hole in common need a move each.
    int movesStillNeeded(const K& k) const {
        if (isGoal(k))
            return 0;
        int moves = 0;
        bool singleHole = false;
        K taken;
        for (const Region& region : m_leftByGoal) {
            if (!full(k, region.mask) || !disjoint(taken, region.mask))
                continue;
            taken |= region.mask;
            ++moves;
            singleHole = singleHole || region.singleHole;
        }
        // The last peg may stay on a hole of its own.
        if (m.singlePegGoal && singleHole)
            --moves;
        return std::max({1, moves, partsStillNeeded(k)});
    }
    // Moves that must begin after the move under way ends, its peg now on `at`: a full region
    // without that peg stays full until then, since the moving peg can neither land in it nor
    // pass over it. Such a region was full where the move began, so only those are looked at.
    int movesNeededAfterThisOne(const K& k, int at, const Walk<W>& walk, K& taken, bool& singleHole) const {
        int moves = 0;
        taken = K{};
        taken.set(at);
        for (const std::uint16_t r : walk.full) {
            const Region& region = m_leftByGoal[r];
            if (!full(k, region.mask) || !disjoint(taken, region.mask))
                continue;
            taken |= region.mask;
            ++moves;
            singleHole = singleHole || region.singleHole;
        }
        return moves;
    }
    // The same once the move has ended there: every region full now either was full where the move
    // began or holds the moving peg.
    int movesNeededAfterMove(const K& k, int at, const Walk<W>& walk) const {
        if (isGoal(k))
            return 0;
        K taken;
        bool singleHole = false;
        int moves = movesNeededAfterThisOne(k, at, walk, taken, singleHole);
        taken.clear(at);
        for (const std::uint16_t r : m_regionsWith[at]) {
            const Region& region = m_leftByGoal[r];
            if (full(k, region.mask) && disjoint(taken, region.mask)) {
                ++moves;
                singleHole = singleHole || region.singleHole;
                break;
            }
        }
        if (m.singlePegGoal && singleHole)
            --moves;
        return std::max({1, moves, partsStillNeeded(k)});
    }
    // The parts count the moving peg at rest; going on, it may save the move they count for it.
    bool mayStillBeatKnown(const K& k, int at, const Walk<W>& walk) const {
        if (walk.level + partsStillNeeded(k) - 1 >= m_limits.knownMoves)
            return false;
        if (walk.level + static_cast<int>(walk.full.size()) < m_limits.knownMoves)
            return true;
        K taken;
        bool singleHole = false;
        const int moves = movesNeededAfterThisOne(k, at, walk, taken, singleHole);
        return walk.level + (m.singlePegGoal && singleHole ? moves - 1 : moves) < m_limits.knownMoves;
    }

    // Whether reaching a position from the start took at least `need` moves, by the same argument:
    // each region full at the start that the position does not fill saw a move begin in it, and
    // regions with no hole in common saw a move each. Every image of the start must need them.
    // Each image's regions chosen once at the start are counted first; only when they fall short
    // are the open regions picked for the position, which costs more.
    bool movesAlreadyNeeded(const K& k, int need) const {
        // The moves that must have begun on the parts since each image of the start.
        const PartPatterns patterns = partPatterns(k);
        for (std::size_t i = 0; i < m_startImages.size(); ++i) {
            if (SumOver(m.bounds.databasesFromStart[i], patterns) >= need)
                continue;
            int moves = 0;
            for (const Region& region : m_chosenAtStart[i])
                moves += !full(k, region.mask);
            if (moves >= need)
                continue;
            moves = 0;
            K taken;
            for (const Region& region : m_fullAtStart[i]) {
                if (full(k, region.mask) || !disjoint(taken, region.mask))
                    continue;
                taken |= region.mask;
                if (++moves >= need)
                    break;
            }
            if (moves < need)
                return false;
        }
        return true;
    }

    // The position after the jump along the line, the jumping peg keeping its colour.
    K afterJump(const K& k, std::uint16_t index) const {
        const HoleLine& line = m.lines[index];
        K next = k;
        next ^= m_lineFlips[index];
        if (m.colours) {
            const bool second = k.test(m.holes + line.from);
            next.clear(m.holes + line.from);
            next.clear(m.holes + line.over);
            if (second)
                next.set(m.holes + line.to);
        }
        return next;
    }
    // The position before the jump along the line; the jumped peg was of the second colour when
    // `secondOver` says so.
    K beforeJump(const K& k, std::uint16_t index, bool secondOver) const {
        const HoleLine& line = m.lines[index];
        K before = k;
        before ^= m_lineFlips[index];
        if (m.colours && k.test(m.holes + line.to)) {
            before.clear(m.holes + line.to);
            before.set(m.holes + line.from);
        }
        if (secondOver)
            before.set(m.holes + line.over);
        return before;
    }
    // The least image, and which symmetry gives it (-1: the position itself).
    K canonical(const K& k, int& transform) const {
        K best = k;
        transform = -1;
        for (std::size_t t = 0; t < m_transforms.size(); ++t) {
            const K image = m_transforms[t].apply(k);
            if (image < best) {
                best = image;
                transform = static_cast<int>(t);
            }
        }
        return best;
    }
    // Where a hole goes under the symmetry canonical() named.
    int imageOf(int hole, int transform) const {
        return transform < 0 ? hole : m.symmetries[transform][hole];
    }

    template <class Emit> void forwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const;
    template <class Emit>
    void forwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk, const Emit& emit) const;
    template <class Emit> void backwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const;
    template <class Emit>
    void backwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk, const Emit& emit) const;
    template <class Emit> void movesOf(bool forward, const K& k, Walk<W>& walk, const Emit& emit) const {
        if (forward)
            forwardMoves(k, walk, emit);
        else
            backwardMoves(k, walk, emit);
    }
    // Counts a move found on a walk; false when the walk must stop.
    bool countMove(Walk<W>& walk) const {
        ++walk.found;
        if (walk.seen.full())
            m_seenFull.store(true, std::memory_order_relaxed);
        if (walk.found > walk.cap || walk.seen.full())
            walk.stopped = true;
        else if (walk.timed && (workIsUp(walk.found) || ((walk.found & 4095) == 0 && outOfLimits())))
            walk.stopped = true;
        return !walk.stopped;
    }
    // With a budget of work the search runs on one thread, so `pending`, the moves its walk found
    // since they were last added to the work, make the count exact.
    bool workIsUp(std::uint64_t pending) const {
        if (m_maxWork == 0 || m_work + pending <= m_maxWork)
            return false;
        m_workUp.store(true, std::memory_order_relaxed);
        return true;
    }
    // Whether the time ran out or the process holds what it may; the budget of work is counted
    // move by move instead.
    bool outOfLimits() const {
        if (!m_timeUp.load(std::memory_order_relaxed) && elapsed() > m_limits.seconds)
            m_timeUp.store(true, std::memory_order_relaxed);
        if (m_processStop > 0 && !m_processFull.load(std::memory_order_relaxed) &&
            ResidentBytes() > m_processStop)
            m_processFull.store(true, std::memory_order_relaxed);
        return stopped();
    }
    bool stopped() const {
        return m_timeUp.load(std::memory_order_relaxed) || m_workUp.load(std::memory_order_relaxed) ||
               m_processFull.load(std::memory_order_relaxed) || m_seenFull.load(std::memory_order_relaxed);
    }
    // Tells a caller who shows the search while it runs what it has done.
    void reportProgress(int lowerBound) const {
        if (!m_limits.progress)
            return;
        m_limits.progress->positions.store(m_progressBase + m_work, std::memory_order_relaxed);
        if (lowerBound > 0)
            m_limits.progress->lowerBound.store(lowerBound, std::memory_order_relaxed);
    }
    // Moves a thread follows in one round of an expansion; less on a small budget, since what it
    // finds is held until the round ends.
    static constexpr std::uint64_t RoundMoves = 1 << 20;
    std::uint64_t m_roundMoves = RoundMoves;

    // Enters the start into the forward side's transposition table at level 0; returns it as
    // entered, its least image.
    K storeStart() {
        const K start = canonical(m_start);
        const std::uint64_t h = Hash(start);
        m_forwardSide.tables[ShardOf(h)].insert(start, h, 0);
        return start;
    }
    std::size_t positions() const { return m_forwardSize + m_backwardSize; }

    // Memory: the tables of both sides, the frontiers and what the threads gather in a round.
    static std::size_t tableBytes(const Side& side) {
        std::size_t slots = 0;
        for (const auto& table : side.tables)
            slots += table.slots();
        return slots * LevelTable<W>::SlotBytes;
    }
    std::size_t roundBytes() const { return static_cast<std::size_t>(m_threads) * m_roundMoves * sizeof(K); }
    std::size_t heldBytes() const {
        std::size_t seen = 0;
        for (const Walk<W>& walk : m_walks)
            seen += walk.seen.bytes();
        return tableBytes(m_forwardSide) + tableBytes(m_backwardSide) +
               (m_forwardSide.frontier.capacity() + m_backwardSide.frontier.capacity()) * sizeof(K) + seen;
    }
    void noteBytes(std::size_t bytes) { m_peakBytes = std::max(m_peakBytes, bytes); }
    // What the search would hold at its peak while it adds a level of `added` positions to the side:
    // tables doubled wherever they pass their load, the new level gathered and then joined.
    std::size_t bytesToExpand(const Side& side, double added) const {
        const double perShard =
            (static_cast<double>(side.forward ? m_forwardSize : m_backwardSize) + added) / Shards;
        double slots = static_cast<double>(side.tables[0].slots());
        while (slots * LevelTable<W>::MaxLoadPercent / 100 < perShard)
            slots *= 2;
        // A shard that grows holds its old slots and the new ones at once.
        const double grownTables = slots * (Shards + 1.5) * LevelTable<W>::SlotBytes;
        const double now = static_cast<double>(heldBytes() - tableBytes(side));
        return static_cast<std::size_t>(
            std::min(now + grownTables + 2 * added * sizeof(K) + static_cast<double>(roundBytes()),
                     static_cast<double>(std::numeric_limits<std::size_t>::max())));
    }
    // New positions the next expansion of the side is expected to bring: the growth of its last
    // expansion, or at first every move the sampled positions have.
    double expectedLevel(const Side& side, double cost) const {
        if (side.growth > 0)
            return side.growth * static_cast<double>(side.frontier.size());
        return cost;
    }
    int levelOf(const Side& side, const K& k) const {
        const K c = canonical(k);
        const std::uint64_t h = Hash(c);
        return side.tables[ShardOf(h)].find(c, h);
    }

    const HoleModel& m;
    MinMovesLimits m_limits;
    std::chrono::steady_clock::time_point m_started;
    int m_threads = 1;
    std::size_t m_maxPositions = 0;
    std::size_t m_budget = 0;
    std::size_t m_peakBytes = 0;
    bool m_memoryRanOut = false;
    std::uint64_t m_maxWork = 0;      // positions the search may examine; 0 = no budget
    std::uint64_t m_work = 0;         // positions examined so far
    std::uint64_t m_progressBase = 0; // positions the caller's progress counted before this search
    std::size_t m_processStop = 0;    // stop once the process holds more than this; 0 = never
    K m_pegMask, m_secondMask, m_start, m_goal;
    std::vector<K> m_startImages; // the start and its images under the symmetries

    // A pagoda function looked up a byte of the key at a time.
    struct CompiledPagoda {
        std::vector<std::array<int, 256>> byByte;
        int value(const K& k) const {
            int total = 0;
            for (std::size_t b = 0; b < byByte.size(); ++b)
                total += byByte[b][(k.w[b >> 3] >> ((b & 7) * 8)) & 0xFF];
            return total;
        }
    };
    static constexpr std::size_t MaxPagodas = 3;
    // Only the pagoda functions that can cut anything on each side: forwards those whose value at
    // the goal is above the least any position has, backwards those whose value at some image of the
    // start is below the greatest.
    std::vector<CompiledPagoda> m_forwardPagodas, m_backwardPagodas;
    std::vector<int> m_goalValues;               // per forward function: the least value the goal can have
    std::vector<std::vector<int>> m_startValues; // per image of the start, per backward function
    void buildPagodas();

    // A part's pattern gathered a byte of the key at a time, over the bytes that hold its holes.
    struct CompiledPart {
        std::vector<std::pair<int, std::array<std::uint32_t, 256>>> byByte;
        std::uint32_t pattern(const K& k) const {
            std::uint32_t p = 0;
            for (const auto& [b, table] : byByte)
                p |= table[(k.w[b >> 3] >> ((b & 7) * 8)) & 0xFF];
            return p;
        }
    };
    std::vector<CompiledPart> m_parts;
    void buildParts();
    static constexpr std::size_t MaxParts = (3 * 64 + MaxPartHoles - 1) / MaxPartHoles;
    using PartPatterns = std::array<std::uint32_t, MaxParts>;
    PartPatterns partPatterns(const K& k) const {
        PartPatterns patterns{};
        for (std::size_t p = 0; p < m_parts.size(); ++p)
            patterns[p] = m_parts[p].pattern(k);
        return patterns;
    }
    // The sum of one table per part over the position's patterns; Never when a part's pattern
    // never gets there.
    static constexpr int Never = std::numeric_limits<int>::max() / 2;
    static int SumOver(const std::vector<std::vector<std::uint8_t>>& tables, const PartPatterns& patterns) {
        int moves = 0;
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const std::uint8_t v = tables[i][patterns[i]];
            if (v == NeverInMoves)
                return Never;
            moves += v;
        }
        return moves;
    }
    // The moves that must still begin on the parts before the goal.
    int partsStillNeeded(const K& k) const { return SumOver(m.bounds.databasesToGoal, partPatterns(k)); }

    struct Region {
        K mask;
        bool singleHole = false;
    };
    std::vector<Region> m_leftByGoal;                      // the regions the goal does not fill
    std::vector<std::vector<std::uint16_t>> m_regionsWith; // per hole, those of them holding it
    std::vector<std::vector<Region>> m_fullAtStart;        // per image of the start, the regions it fills
    std::vector<std::vector<Region>> m_chosenAtStart;      // and of them some with no hole in common
    void buildRegions();
    int m_startPegCount = 0;
    std::vector<K> m_lineFlips; // per line: the from, over and to bits of the pegs
    std::vector<Transform> m_transforms;
    std::vector<std::vector<int>> m_inverse; // inverse permutations of the symmetries
    Side m_forwardSide, m_backwardSide;
    std::size_t m_forwardSize = 0, m_backwardSize = 0;
    bool m_met = false;
    bool m_lastLevel = false; // the level being added is the last one the known solution leaves
    K m_meeting;
    mutable std::atomic<bool> m_timeUp{false};
    mutable std::atomic<bool> m_workUp{false};
    mutable std::atomic<bool> m_processFull{false};
    mutable std::atomic<bool> m_seenFull{false}; // a walk met more runs of one position than it had room for
    std::vector<Walk<W>> m_walks;                // one per thread
};

// The move generators take their callback as a template parameter, so that each way of searching
// gets them compiled with its own callback inlined; they are defined here, where each sees them.

// Every move from the position: each peg's runs of jumps, stopping after any of them.
template <int W>
template <class Emit>
void FewestMovesSearch<W>::forwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const {
    Chain chain{};
    walk.seen.reset();
    if (walk.level > 0) {
        walk.full.clear();
        for (std::size_t r = 0; r < m_leftByGoal.size(); ++r)
            if (full(k, m_leftByGoal[r].mask))
                walk.full.push_back(static_cast<std::uint16_t>(r));
    }
    for (int i = 0; i < m.holes && !walk.stopped; ++i) {
        if (!k.test(i))
            continue;
        chain[0] = static_cast<std::uint8_t>(i);
        forwardFrom(k, i, chain, 1, walk, emit);
    }
}

template <int W>
template <class Emit>
void FewestMovesSearch<W>::forwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk,
                                       const Emit& emit) const {
    for (const std::uint16_t index : m.linesFrom[at]) {
        const HoleLine& line = m.lines[index];
        if (!k.test(line.over) || k.test(line.to))
            continue;
        const K next = afterJump(k, index);
        if (!canStillReachGoal(next) || (walk.level > 0 && !mayStillBeatKnown(next, line.to, walk)) ||
            !walk.seen.insert(next, line.to))
            continue;
        if (!countMove(walk))
            return;
        chain[length] = line.to;
        emit(next, chain, length + 1);
        forwardFrom(next, line.to, chain, length + 1, walk, emit);
        if (walk.stopped)
            return;
    }
}

// Every move that leads to the position: a peg's run of jumps played backwards, each reversed jump
// putting a peg (of either colour, when colours matter) back on the cell it passed over.
template <int W>
template <class Emit>
void FewestMovesSearch<W>::backwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const {
    Chain chain{};
    walk.seen.reset();
    for (int i = 0; i < m.holes && !walk.stopped; ++i) {
        if (!k.test(i))
            continue;
        chain[0] = static_cast<std::uint8_t>(i);
        backwardFrom(k, i, chain, 1, walk, emit);
    }
}

template <int W>
template <class Emit>
void FewestMovesSearch<W>::backwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk,
                                        const Emit& emit) const {
    for (const std::uint16_t index : m.linesTo[at]) {
        const HoleLine& line = m.lines[index];
        if (k.test(line.over) || k.test(line.from))
            continue;
        chain[length] = line.from;
        for (int colour = 0; colour < (m.colours ? 2 : 1); ++colour) {
            const K placed = beforeJump(k, index, colour == 1);
            if (!canStillComeFromStart(placed) || !walk.seen.insert(placed, line.from))
                continue;
            if (!countMove(walk))
                return;
            emit(placed, chain, length + 1);
            backwardFrom(placed, line.from, chain, length + 1, walk, emit);
            if (walk.stopped)
                return;
        }
    }
}

} // namespace fewest_moves
