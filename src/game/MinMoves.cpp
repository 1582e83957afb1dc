#include "game/MinMoves.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <limits>
#include <new>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "game/BoardSymmetry.h"
#include "game/PartBounds.h"
#include "game/Rules.h"
#include "game/SearchBounds.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The board, reduced to its holes: cell sets become bit sets over the holes (compact indices), one
// bit per hole for the pegs and, when colours matter, one more per hole for the second colour.

using Line = HoleLine; // compact indices

struct Model {
    int holes = 0;
    bool colours = false; // the second colour is tracked: bits holes..2*holes-1
    bool singlePegGoal = false;
    std::vector<int> cellOf; // compact index -> cell
    std::vector<Line> lines;
    std::vector<std::vector<std::uint16_t>> linesFrom, linesTo;
    std::vector<int> startPegs, startSecond, goalPegs, goalSecond;
    std::vector<int> lastPegHoles; // with a single peg as the goal: where the last peg can stand
    SearchBounds bounds;
    int startFirstCount = 0, startSecondCount = 0, goalFirstCount = 0, goalSecondCount = 0;
    std::vector<std::vector<int>> symmetries; // compact permutations, without the identity
};

HolePegs PegsOf(const Model& m, const std::vector<int>& pegs, const std::vector<int>& second) {
    HolePegs position(m.holes, 0);
    for (const int i : pegs)
        position[i] = 1;
    for (const int i : second)
        position[i] = 2;
    return position;
}

// The bounds of the board, and what its parity classes say at once: the goal must lie in the
// start's class, and so must the last peg when a single one anywhere is the goal.
MinMovesOutcome AddBounds(Model& m) {
    const HolePegs start = PegsOf(m, m.startPegs, m.startSecond);
    const HolePegs goal = m.singlePegGoal ? HolePegs{} : PegsOf(m, m.goalPegs, m.goalSecond);
    m.bounds = FindSearchBounds({m.holes, m.lines}, m.colours, start, goal);
    const std::vector<std::uint8_t> startClass = ParityClass(m.bounds, start);
    if (!m.singlePegGoal)
        return ParityClass(m.bounds, goal) == startClass ? MinMovesOutcome::Proven
                                                         : MinMovesOutcome::Unsolvable;
    std::vector<bool> possible(m.holes, false);
    for (int i = 0; i < m.holes; ++i) {
        HolePegs single(m.holes, 0);
        single[i] = 1;
        if (ParityClass(m.bounds, single) != startClass)
            continue;
        // The search meets positions in any of their images.
        possible[i] = true;
        for (const std::vector<int>& perm : m.symmetries)
            possible[perm[i]] = true;
    }
    for (int i = 0; i < m.holes; ++i)
        if (possible[i])
            m.lastPegHoles.push_back(i);
    return m.lastPegHoles.empty() ? MinMovesOutcome::Unsolvable : MinMovesOutcome::Proven;
}

// The moves each part of the board must still see begin before the goal, and those it must have
// seen begin since each image of the start (the start, then its images in the order of the
// symmetries). The goal allows a part to keep only its own pegs, or with a single peg anywhere,
// none or one where the last peg can stand.
void AddPartTables(Model& m) {
    const HoleBoard board{m.holes, m.lines};
    SearchBounds& b = m.bounds;
    b.parts = ChooseParts(board);
    std::vector<bool> lastPeg(m.holes, false);
    for (const int i : m.lastPegHoles)
        lastPeg[i] = true;
    const HolePegs goal = PegsOf(m, m.goalPegs, {});
    for (const std::vector<int>& part : b.parts) {
        const std::uint32_t goalPattern = PatternOf(part, goal);
        b.partsToGoal.push_back(MovesToGoal(board, part, [&](std::uint32_t pattern) {
            if (!m.singlePegGoal)
                return pattern == goalPattern;
            return pattern == 0 || ((pattern & (pattern - 1)) == 0 && lastPeg[part[__builtin_ctz(pattern)]]);
        }));
    }
    const HolePegs start = PegsOf(m, m.startPegs, {});
    std::vector<HolePegs> images{start};
    for (const std::vector<int>& perm : m.symmetries) {
        HolePegs image(m.holes, 0);
        for (int i = 0; i < m.holes; ++i)
            image[perm[i]] = start[i];
        images.push_back(image);
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto same =
            std::find(images.begin(), images.begin() + static_cast<std::ptrdiff_t>(i), images[i]);
        if (same != images.begin() + static_cast<std::ptrdiff_t>(i)) {
            b.partsFromStart.push_back(b.partsFromStart[static_cast<std::size_t>(same - images.begin())]);
            continue;
        }
        std::vector<std::vector<std::uint8_t>> tables;
        for (const std::vector<int>& part : b.parts)
            tables.push_back(MovesFromStart(board, part, PatternOf(part, images[i])));
        b.partsFromStart.push_back(std::move(tables));
    }
}

// Fills the model; the outcome is Proven when the search may begin.
MinMovesOutcome BuildModel(const LevelRecord& record, Model& m, const BoundsAdjustment& adjust) {
    std::array<int, CellCount> indexOf{};
    indexOf.fill(-1);
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsBoardHole(record, cell))
            continue;
        indexOf[cell] = m.holes++;
        m.cellOf.push_back(cell);
    }
    m.singlePegGoal = CountPegs(record.TargetCells, record) == 0;
    bool oddCodes = false;
    for (int i = 0; i < m.holes; ++i) {
        const CellCode code = record.StartCells[m.cellOf[i]];
        if (!HoldsPeg(code))
            continue;
        m.startPegs.push_back(i);
        oddCodes = oddCodes || code > SecondColourPeg;
        if (code != FirstColourPeg && !m.singlePegGoal)
            m.startSecond.push_back(i);
    }
    if (m.startPegs.empty())
        return MinMovesOutcome::Unsolvable;
    if (!m.singlePegGoal) {
        if (oddCodes)
            return MinMovesOutcome::Unsupported;
        for (int cell = 0; cell < CellCount; ++cell) {
            if (!IsOnBoard(record, cell))
                continue;
            const CellCode want = record.TargetCells[cell];
            // Play never makes or removes a hole, and pegs keep the codes they start with.
            if ((want == NoHole) != (record.StartCells[cell] == NoHole) || want > SecondColourPeg)
                return MinMovesOutcome::Unsolvable;
            if (HoldsPeg(want))
                m.goalPegs.push_back(indexOf[cell]);
            if (want == SecondColourPeg)
                m.goalSecond.push_back(indexOf[cell]);
        }
        m.colours = !m.startSecond.empty();
        m.startSecondCount = static_cast<int>(m.startSecond.size());
        m.startFirstCount = static_cast<int>(m.startPegs.size()) - m.startSecondCount;
        m.goalSecondCount = static_cast<int>(m.goalSecond.size());
        m.goalFirstCount = static_cast<int>(m.goalPegs.size()) - m.goalSecondCount;
        if (m.goalSecondCount > m.startSecondCount || m.goalFirstCount > m.startFirstCount)
            return MinMovesOutcome::Unsolvable;
    }

    const bool hexagon = record.isHexagon();
    const int directions = hexagon ? static_cast<int>(HexDirections) : static_cast<int>(SquareDirections);
    m.linesFrom.resize(m.holes);
    m.linesTo.resize(m.holes);
    for (int i = 0; i < m.holes; ++i) {
        const int from = m.cellOf[i];
        for (int d = 0; d < directions; ++d) {
            if (!hexagon && d % 2 == 1 && !record.allowsDiagonal())
                continue;
            const int to = hexagon ? HexLanding[from][d] : SquareLanding[from][d];
            if (to == NoCell || !IsBoardHole(record, to))
                continue;
            // The jumped-over cell is on the board whenever both ends are; it may still have no hole.
            const int over = JumpedOverCell(record.Shape, from, d);
            if (!IsBoardHole(record, over))
                continue;
            const auto index = static_cast<std::uint16_t>(m.lines.size());
            m.lines.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(indexOf[over]),
                               static_cast<std::uint8_t>(indexOf[to])});
            m.linesFrom[i].push_back(index);
            m.linesTo[indexOf[to]].push_back(index);
        }
    }
    for (const CellImage& image : BoardSymmetries(record, !m.singlePegGoal)) {
        std::vector<int> perm(m.holes);
        for (int i = 0; i < m.holes; ++i)
            perm[i] = indexOf[image[m.cellOf[i]]];
        m.symmetries.push_back(perm);
    }
    const MinMovesOutcome outcome = AddBounds(m);
    if (outcome == MinMovesOutcome::Proven) {
        AddPartTables(m);
        if (adjust)
            adjust(m.bounds);
    }
    return outcome;
}

// ---------------------------------------------------------------------------------------------
// Positions as W 64-bit words.

template <int W> struct Key {
    std::array<std::uint64_t, W> w{};

    bool test(int i) const { return (w[i >> 6] >> (i & 63)) & 1; }
    void set(int i) { w[i >> 6] |= std::uint64_t{1} << (i & 63); }
    void clear(int i) { w[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }
    bool empty() const {
        std::uint64_t any = 0;
        for (const std::uint64_t x : w)
            any |= x;
        return any == 0;
    }
    int countIn(const Key& mask) const {
        int n = 0;
        for (int k = 0; k < W; ++k)
            n += __builtin_popcountll(w[k] & mask.w[k]);
        return n;
    }
    Key& operator^=(const Key& o) {
        for (int k = 0; k < W; ++k)
            w[k] ^= o.w[k];
        return *this;
    }
    Key& operator|=(const Key& o) {
        for (int k = 0; k < W; ++k)
            w[k] |= o.w[k];
        return *this;
    }
    // Word by word: comparing the arrays whole would call memcmp.
    friend bool operator==(const Key& a, const Key& b) {
        bool same = true;
        for (int k = 0; k < W; ++k)
            same = same && a.w[k] == b.w[k];
        return same;
    }
    friend bool operator<(const Key& a, const Key& b) {
        for (int k = W - 1; k >= 0; --k)
            if (a.w[k] != b.w[k])
                return a.w[k] < b.w[k];
        return false;
    }
};

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBULL;
    h ^= h >> 31;
    return h;
}

template <int W> std::uint64_t Hash(const Key<W>& k) {
    std::uint64_t h = k.w[0];
    for (int i = 1; i < W; ++i)
        h = Mix(h) ^ k.w[i];
    return Mix(h);
}

constexpr int ShardBits = 6;
constexpr int Shards = 1 << ShardBits;

inline int ShardOf(std::uint64_t hash) {
    return static_cast<int>(hash >> (64 - ShardBits));
}

// Positions with the move level at which they were first reached. Open addressing with linear
// probing; an all-zero key marks a free slot, since every position of the search holds a peg.
template <int W> class LevelTable {
public:
    LevelTable() { allocate(1 << 4); }

    int find(const Key<W>& key, std::uint64_t hash) const {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            if (m_keys[i] == key)
                return m_levels[i];
            if (m_keys[i].empty())
                return -1;
        }
    }

    // False when the key was there already (its level stays).
    bool insert(const Key<W>& key, std::uint64_t hash, std::uint8_t level) {
        std::size_t i = hash & m_mask;
        for (; !m_keys[i].empty(); i = (i + 1) & m_mask)
            if (m_keys[i] == key)
                return false;
        m_keys[i] = key;
        m_levels[i] = level;
        if (++m_used * 100 > m_keys.size() * MaxLoadPercent)
            grow();
        return true;
    }

    std::size_t size() const { return m_used; }
    std::size_t slots() const { return m_keys.size(); }
    static constexpr std::size_t SlotBytes = sizeof(Key<W>) + 1;
    static constexpr std::size_t MaxLoadPercent = 70;

private:
    void allocate(std::size_t slots) {
        m_keys.assign(slots, Key<W>{});
        m_levels.assign(slots, 0);
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Key<W>> keys;
        std::vector<std::uint8_t> levels;
        keys.swap(m_keys);
        levels.swap(m_levels);
        allocate(keys.size() * 2);
        for (std::size_t j = 0; j < keys.size(); ++j) {
            if (keys[j].empty())
                continue;
            std::size_t i = Hash(keys[j]) & m_mask;
            while (!m_keys[i].empty())
                i = (i + 1) & m_mask;
            m_keys[i] = keys[j];
            m_levels[i] = levels[j];
        }
    }

    std::vector<Key<W>> m_keys;
    std::vector<std::uint8_t> m_levels;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

// The positions of one peg count, each with the fewest moves found to reach it and the holes where
// the last jump of such a way landed: a peg there may go on without beginning a move. A way with
// more moves is never worth keeping, since beginning a new move costs no more than it.
template <int W> class CostTable {
public:
    struct Entry {
        Key<W> key;
        Key<W> landings;
        std::uint8_t moves = 0;
    };

    CostTable() { allocate(1 << 4); }

    void offer(const Key<W>& key, std::uint64_t hash, std::uint8_t moves, int landing) {
        std::size_t i = hash & m_mask;
        for (; !m_entries[i].key.empty(); i = (i + 1) & m_mask) {
            Entry& entry = m_entries[i];
            if (!(entry.key == key))
                continue;
            if (moves < entry.moves) {
                entry.moves = moves;
                entry.landings = Key<W>{};
            }
            if (moves == entry.moves && landing >= 0)
                entry.landings.set(landing);
            return;
        }
        m_entries[i].key = key;
        m_entries[i].moves = moves;
        if (landing >= 0)
            m_entries[i].landings.set(landing);
        if (++m_used * 100 > m_entries.size() * MaxLoadPercent)
            grow();
    }

    const Entry* find(const Key<W>& key, std::uint64_t hash) const {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            if (m_entries[i].key == key)
                return &m_entries[i];
            if (m_entries[i].key.empty())
                return nullptr;
        }
    }

    // Every filled slot, in no particular order.
    template <class Visit> void forEach(const Visit& visit) const {
        for (const Entry& entry : m_entries)
            if (!entry.key.empty() && !visit(entry))
                return;
    }

    std::size_t size() const { return m_used; }
    std::size_t bytes() const { return m_entries.capacity() * sizeof(Entry); }
    // What the table will hold once it has grown to take `more` positions besides its own.
    std::size_t bytesWith(std::size_t more) const {
        std::size_t slots = m_entries.size();
        while ((m_used + more) * 100 > slots * MaxLoadPercent)
            slots *= 2;
        // Growing holds the old slots and the new ones at once.
        return (slots + (slots > m_entries.size() ? m_entries.size() : 0)) * sizeof(Entry);
    }

private:
    static constexpr std::size_t MaxLoadPercent = 70;

    void allocate(std::size_t slots) {
        m_entries.assign(slots, Entry{});
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Entry> entries;
        entries.swap(m_entries);
        allocate(entries.size() * 2);
        for (const Entry& entry : entries) {
            if (entry.key.empty())
                continue;
            std::size_t i = Hash(entry.key) & m_mask;
            while (!m_entries[i].key.empty())
                i = (i + 1) & m_mask;
            m_entries[i] = entry;
        }
    }

    std::vector<Entry> m_entries;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

template <class Work> void RunOnThreads(int threads, const Work& work) {
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back([&work, t] { work(t); });
    work(0);
    for (std::thread& helper : helpers)
        helper.join();
}

using Chain = std::array<std::uint8_t, CellCount + 1>; // the cells one peg visits in a move

// The (position, moving peg) pairs met while the moves of one position are followed: runs of jumps
// that reach the same position with the peg on the same cell go on alike, so one is followed.
// Emptied in constant time by moving on to a new stamp.
template <int W> class ChainSeen {
public:
    ChainSeen() { allocate(1 << 8); }

    void reset() {
        m_used = 0;
        if (++m_now == 0) {
            std::fill(m_stamps.begin(), m_stamps.end(), 0);
            m_now = 1;
        }
    }

    // False when the pair was met already since the last reset.
    bool insert(const Key<W>& key, std::uint8_t at) {
        const std::uint64_t hash = Hash(key) ^ (std::uint64_t{at} * 0x9E3779B97F4A7C15ULL);
        std::size_t i = Mix(hash) & m_mask;
        for (; m_stamps[i] == m_now; i = (i + 1) & m_mask)
            if (m_at[i] == at && m_keys[i] == key)
                return false;
        m_stamps[i] = m_now;
        m_keys[i] = key;
        m_at[i] = at;
        if (++m_used * 2 > m_keys.size())
            grow();
        return true;
    }

private:
    void allocate(std::size_t slots) {
        m_keys.assign(slots, Key<W>{});
        m_at.assign(slots, 0);
        m_stamps.assign(slots, 0);
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Key<W>> keys;
        std::vector<std::uint8_t> at;
        std::vector<std::uint32_t> stamps;
        keys.swap(m_keys);
        at.swap(m_at);
        stamps.swap(m_stamps);
        const std::uint32_t live = m_now;
        allocate(keys.size() * 2);
        m_now = 1;
        m_used = 0;
        for (std::size_t j = 0; j < keys.size(); ++j)
            if (stamps[j] == live)
                insert(keys[j], at[j]);
    }

    std::vector<Key<W>> m_keys;
    std::vector<std::uint8_t> m_at;
    std::vector<std::uint32_t> m_stamps;
    std::uint32_t m_now = 1;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

// What one thread carries while it follows moves.
template <int W> struct Walk {
    ChainSeen<W> seen;
    std::uint64_t found = 0;                                       // moves found since `cap` was set
    std::uint64_t cap = std::numeric_limits<std::uint64_t>::max(); // stop after this many
    bool timed = true;                                             // stop when the time is up
    bool stopped = false;
    int level = 0; // the level the moves lead to, when only solutions with fewer moves than the
                   // known one are sought and a move may be given up halfway; else 0
    std::vector<std::uint16_t> full; // with a level: the regions full where the moves begin
};

// ---------------------------------------------------------------------------------------------
// The search itself. Forward levels hold the positions first reached from the start with k moves;
// backward levels the positions from which the goal is first reached with k moves. A position on
// forward level i and backward level j gives a solution of at most i + j moves; a solution of m
// moves passes a position on forward level i <= k and backward level j <= m - k for every k, so
// when levels up to a and b hold no common position, every solution has more than a + b moves.

template <int W> class Search {
public:
    using K = Key<W>;

    Search(const Model& model, const MinMovesLimits& limits)
        : m(model), m_limits(limits), m_started(std::chrono::steady_clock::now()) {
        const unsigned cores = std::thread::hardware_concurrency();
        m_threads = limits.threads > 0 ? limits.threads : static_cast<int>(cores == 0 ? 1 : cores);
        m_threads = std::min(m_threads, 8);
        m_maxPositions = limits.maxPositions ? limits.maxPositions : std::numeric_limits<std::size_t>::max();
        m_budget = limits.memoryBytes ? limits.memoryBytes : DefaultMemoryBudget();
        m_roundMoves = std::clamp<std::uint64_t>(
            m_budget / 16 / sizeof(K) / static_cast<std::size_t>(m_threads), 1024, RoundMoves);
        m_walks.resize(m_threads);
        buildMasks();
        buildTransforms();
        m_startImages.push_back(m_start);
        for (const Transform& t : m_transforms)
            m_startImages.push_back(t.apply(m_start));
        buildWeighings();
        buildRegions();
        buildParts();
    }

    MinMovesResult run();

private:
    struct Side {
        std::array<LevelTable<W>, Shards> tables;
        std::vector<K> frontier;
        double growth = 0; // new positions per frontier position at the last expansion; 0 = none yet
        int depth = 0;
        bool forward = true;
    };

    void search(MinMovesResult& result);
    void searchByLayers(MinMovesResult& result);
    void searchByBeam(MinMovesResult& result);
    bool beamFrom(std::size_t width, bool& narrowed);
    bool expandGoalSideFor(double seconds);
    JumpList solutionFromLayers(const std::vector<CostTable<W>>& layers, K at, int moves) const;
    // Moves as the holes their peg visits, from `frameStart`, an image of the start, turned back
    // into jumps between the cells of the real start.
    JumpList inStartFrame(const std::vector<std::vector<std::uint8_t>>& moves, const K& frameStart) const;
    Side* chooseSide();

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
    // no weighing may fall below the goal's.
    bool canStillReachGoal(const K& k) const {
        if (!m.singlePegGoal) {
            const int second = secondPegs(k);
            if (second < m.goalSecondCount || pegs(k) - second < m.goalFirstCount)
                return false;
        }
        for (std::size_t c = 0; c < m_forwardWeighings.size(); ++c)
            if (m_forwardWeighings[c].value(k) < m_goalWeights[c])
                return false;
        return true;
    }
    // Reversed jumps only add pegs: no colour may have more pegs than at the start, and no weighing
    // may grow past the start's. The position stands for all its images, and the start need not be
    // symmetric, so it must fit under one image of the start.
    bool canStillComeFromStart(const K& k) const {
        const int second = secondPegs(k);
        if (m.colours ? second > m.startSecondCount || pegs(k) - second > m.startFirstCount
                      : pegs(k) > m_startPegCount)
            return false;
        if (m_backwardWeighings.empty())
            return true;
        // Each weighing is looked up once, and only when some image of the start needs it.
        std::array<int, MaxWeighings> values{};
        std::uint32_t weighed = 0;
        for (const std::vector<int>& start : m_startWeights) {
            bool fits = true;
            for (std::size_t c = 0; c < start.size() && fits; ++c) {
                if (!(weighed >> c & 1)) {
                    values[c] = m_backwardWeighings[c].value(k);
                    weighed |= 1u << c;
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
            if (SumOver(m.bounds.partsFromStart[i], patterns) >= need)
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
        const Line& line = m.lines[index];
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
        const Line& line = m.lines[index];
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
        if (walk.found > walk.cap || (walk.timed && (walk.found & 4095) == 0 && timeIsUp()))
            walk.stopped = true;
        return !walk.stopped;
    }
    bool timeIsUp() const {
        if (!m_timeUp.load(std::memory_order_relaxed) && elapsed() > m_limits.seconds)
            m_timeUp.store(true, std::memory_order_relaxed);
        return m_timeUp.load(std::memory_order_relaxed);
    }
    double estimatedCost(const Side& side);
    // Moves a thread follows in one round of an expansion; less on a small budget, since what it
    // finds is held until the round ends.
    static constexpr std::uint64_t RoundMoves = 1 << 20;
    std::uint64_t m_roundMoves = RoundMoves;

    bool insertStart();
    // Files the start on the forward side's level 0; returns it as filed.
    K fileStart() {
        const K start = canonical(m_start);
        const std::uint64_t h = Hash(start);
        m_forwardSide.tables[ShardOf(h)].insert(start, h, 0);
        return start;
    }
    bool expand(Side& side, const Side& other);
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
        return tableBytes(m_forwardSide) + tableBytes(m_backwardSide) +
               (m_forwardSide.frontier.capacity() + m_backwardSide.frontier.capacity()) * sizeof(K);
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
    JumpList solutionThrough(const K& meeting) const;

    const Model& m;
    MinMovesLimits m_limits;
    std::chrono::steady_clock::time_point m_started;
    int m_threads = 1;
    std::size_t m_maxPositions = 0;
    std::size_t m_budget = 0;
    std::size_t m_peakBytes = 0;
    bool m_memoryRanOut = false;
    K m_pegMask, m_secondMask, m_start, m_goal;
    std::vector<K> m_startImages; // the start and its images under the symmetries

    // A weighing looked up a byte of the key at a time.
    struct CompiledWeighing {
        std::vector<std::array<int, 256>> byByte;
        int value(const K& k) const {
            int total = 0;
            for (std::size_t b = 0; b < byByte.size(); ++b)
                total += byByte[b][(k.w[b >> 3] >> ((b & 7) * 8)) & 0xFF];
            return total;
        }
    };
    static constexpr std::size_t MaxWeighings = 3;
    // Only the weighings that can cut anything on each side: forwards those the goal weighs more
    // than the lightest position, backwards those some image of the start weighs less than the
    // heaviest.
    std::vector<CompiledWeighing> m_forwardWeighings, m_backwardWeighings;
    std::vector<int> m_goalWeights;               // per forward weighing: the least the goal can weigh
    std::vector<std::vector<int>> m_startWeights; // per image of the start, per backward weighing
    void buildWeighings();

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
    int partsStillNeeded(const K& k) const { return SumOver(m.bounds.partsToGoal, partPatterns(k)); }

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
    std::vector<Walk<W>> m_walks; // one per thread
};

template <int W> void Search<W>::buildMasks() {
    for (int i = 0; i < m.holes; ++i) {
        m_pegMask.set(i);
        if (m.colours)
            m_secondMask.set(m.holes + i);
    }

    for (const int i : m.startPegs)
        m_start.set(i);
    for (const int i : m.startSecond)
        if (m.colours)
            m_start.set(m.holes + i);
    for (const int i : m.goalPegs)
        m_goal.set(i);
    for (const int i : m.goalSecond)
        m_goal.set(m.holes + i);
    m_startPegCount = static_cast<int>(m.startPegs.size());
    for (const Line& line : m.lines) {
        K flip;
        flip.set(line.from);
        flip.set(line.over);
        flip.set(line.to);
        m_lineFlips.push_back(flip);
    }
}

template <int W> void Search<W>::buildWeighings() {
    const int bits = m.colours ? 2 * m.holes : m.holes;
    const int bytes = (bits + 7) / 8;
    std::vector<std::vector<int>> startWeights(m_startImages.size());
    for (const Weighing& weighing : m.bounds.weighings) {
        CompiledWeighing c;
        c.byByte.assign(bytes, {});
        for (int bit = 0; bit < bits; ++bit) {
            const int weight = bit < m.holes ? weighing.peg[bit] : weighing.second[bit - m.holes];
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << (bit % 8)))
                    c.byByte[bit / 8][byte] += weight;
        }
        int goal = c.value(m_goal);
        if (m.singlePegGoal) {
            goal = std::numeric_limits<int>::max();
            for (const int i : m.lastPegHoles)
                goal = std::min(goal, weighing.peg[i]);
        }
        int lightest = 0, heaviest = 0;
        for (const auto& table : c.byByte) {
            lightest += *std::min_element(table.begin(), table.end());
            heaviest += *std::max_element(table.begin(), table.end());
        }
        bool backward = false;
        for (const K& start : m_startImages)
            backward = backward || c.value(start) < heaviest;
        if (backward && m_backwardWeighings.size() < MaxWeighings) {
            for (std::size_t i = 0; i < m_startImages.size(); ++i)
                startWeights[i].push_back(c.value(m_startImages[i]));
            m_backwardWeighings.push_back(c);
        }
        if (goal > lightest && m_forwardWeighings.size() < MaxWeighings) {
            m_goalWeights.push_back(goal);
            m_forwardWeighings.push_back(std::move(c));
        }
    }
    m_startWeights = std::move(startWeights);
}

template <int W> void Search<W>::buildRegions() {
    m_fullAtStart.resize(m_startImages.size());
    m_chosenAtStart.resize(m_startImages.size());
    m_regionsWith.resize(m.holes);
    for (const std::vector<int>& holes : m.bounds.regions) {
        Region region;
        for (const int i : holes)
            region.mask.set(i);
        region.singleHole = holes.size() == 1;
        if (m.singlePegGoal || !full(m_goal, region.mask)) {
            for (const int i : holes)
                m_regionsWith[i].push_back(static_cast<std::uint16_t>(m_leftByGoal.size()));
            m_leftByGoal.push_back(region);
        }
        for (std::size_t i = 0; i < m_startImages.size(); ++i) {
            if (!full(m_startImages[i], region.mask))
                continue;
            m_fullAtStart[i].push_back(region);
            auto& chosen = m_chosenAtStart[i];
            if (std::all_of(chosen.begin(), chosen.end(),
                            [&](const Region& other) { return disjoint(other.mask, region.mask); }))
                chosen.push_back(region);
        }
    }
}

template <int W> void Search<W>::buildParts() {
    for (const std::vector<int>& part : m.bounds.parts) {
        CompiledPart c;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const int b = part[i] / 8;
            auto at =
                std::find_if(c.byByte.begin(), c.byByte.end(), [&](const auto& e) { return e.first == b; });
            if (at == c.byByte.end()) {
                c.byByte.push_back({b, {}});
                at = c.byByte.end() - 1;
            }
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << (part[i] % 8)))
                    at->second[byte] |= 1u << i;
        }
        m_parts.push_back(std::move(c));
    }
}

template <int W> void Search<W>::buildTransforms() {
    const int bits = m.colours ? 2 * m.holes : m.holes;
    const int bytes = (bits + 7) / 8;
    for (const std::vector<int>& perm : m.symmetries) {
        Transform t;
        t.byByte.resize(bytes);
        for (int bit = 0; bit < bits; ++bit) {
            const int image = bit < m.holes ? perm[bit] : m.holes + perm[bit - m.holes];
            K target;
            target.set(image);
            const int b = bit / 8, shift = bit % 8;
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << shift))
                    t.byByte[b][byte] |= target;
        }
        m_transforms.push_back(std::move(t));
        std::vector<int> inverse(m.holes);
        for (int i = 0; i < m.holes; ++i)
            inverse[perm[i]] = i;
        m_inverse.push_back(inverse);
    }
}

// Every move from the position: each peg's runs of jumps, stopping after any of them.
template <int W>
template <class Emit>
void Search<W>::forwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const {
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
void Search<W>::forwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk,
                            const Emit& emit) const {
    for (const std::uint16_t index : m.linesFrom[at]) {
        const Line& line = m.lines[index];
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
void Search<W>::backwardMoves(const K& k, Walk<W>& walk, const Emit& emit) const {
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
void Search<W>::backwardFrom(const K& k, int at, Chain& chain, int length, Walk<W>& walk,
                             const Emit& emit) const {
    for (const std::uint16_t index : m.linesTo[at]) {
        const Line& line = m.lines[index];
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

// The moves an expansion of the side would follow, judged from a few of its positions: on open
// boards one side can have vastly more moves per position than the other.
template <int W> double Search<W>::estimatedCost(const Side& side) {
    constexpr std::size_t Samples = 32;
    constexpr std::uint64_t SampleCap = 20000;
    const std::size_t count = std::min(Samples, side.frontier.size());
    Walk<W>& walk = m_walks[0];
    walk.level = m_limits.knownMoves > 0 ? side.depth + 1 : 0;
    std::uint64_t moves = 0;
    for (std::size_t k = 0; k < count; ++k) {
        walk.found = 0;
        walk.cap = SampleCap;
        walk.stopped = false;
        movesOf(side.forward, side.frontier[k * side.frontier.size() / count], walk,
                [](const K&, const Chain&, int) {});
        moves += walk.found;
    }
    walk.cap = std::numeric_limits<std::uint64_t>::max();
    walk.stopped = false;
    return count == 0 ? 0.0
                      : static_cast<double>(moves) / static_cast<double>(count) *
                            static_cast<double>(side.frontier.size());
}

// One more level on one side, in rounds: in each, every thread follows the moves of its next
// positions and sorts the positions they reach by the shard their hash falls into, until it has
// gathered its share; then each thread files the new positions of its own shards, so no table is
// ever touched by two threads at once. False when the limits ran out before the level was complete.
template <int W> bool Search<W>::expand(Side& side, const Side& other) {
    const int level = side.depth + 1;
    const int bound = m_limits.knownMoves;
    std::array<std::vector<K>, Shards> next;
    std::vector<std::array<std::vector<K>, Shards>> buckets(m_threads);
    std::vector<std::vector<K>> meetings(m_threads);
    std::vector<std::size_t> cursor(m_threads);
    for (int t = 0; t < m_threads; ++t)
        cursor[t] = static_cast<std::size_t>(t);
    const std::vector<K>& frontier = side.frontier;
    const auto unfinished = [&] {
        for (const std::size_t c : cursor)
            if (c < frontier.size())
                return true;
        return false;
    };
    while (unfinished()) {
        RunOnThreads(m_threads, [&](int t) {
            auto& mine = buckets[t];
            Walk<W>& walk = m_walks[t];
            walk.found = 0;
            walk.level = bound > 0 ? level : 0;
            const auto file = [&](const K& child, const Chain& chain, int length) {
                // Only solutions with fewer moves than the known one are sought.
                if (bound > 0 &&
                    (side.forward ? level + movesNeededAfterMove(child, chain[length - 1], walk) >= bound
                                  : movesAlreadyNeeded(child, bound - level)))
                    return;
                const K c = canonical(child);
                mine[ShardOf(Hash(c))].push_back(c);
            };
            for (; cursor[t] < frontier.size() && walk.found < m_roundMoves && !walk.stopped;
                 cursor[t] += static_cast<std::size_t>(m_threads))
                movesOf(side.forward, frontier[cursor[t]], walk, file);
        });
        if (m_timeUp.load())
            return false;
        RunOnThreads(m_threads, [&](int t) {
            for (int s = t; s < Shards; s += m_threads) {
                for (auto& bucket : buckets) {
                    for (const K& c : bucket[s]) {
                        const std::uint64_t h = Hash(c);
                        if (m_lastLevel) {
                            // Only a meeting is kept, for the way back.
                            if (meetings[t].empty() && other.tables[s].find(c, h) >= 0) {
                                side.tables[s].insert(c, h, static_cast<std::uint8_t>(level));
                                meetings[t].push_back(c);
                            }
                            continue;
                        }
                        if (!side.tables[s].insert(c, h, static_cast<std::uint8_t>(level)))
                            continue;
                        next[s].push_back(c);
                        if (meetings[t].empty() && other.tables[s].find(c, h) >= 0)
                            meetings[t].push_back(c);
                    }
                    bucket[s].clear();
                }
            }
        });
        std::size_t filed = 0, gathered = 0;
        for (const auto& table : side.tables)
            filed += table.size();
        for (const auto& part : next)
            gathered += part.capacity();
        (side.forward ? m_forwardSize : m_backwardSize) = filed;
        noteBytes(heldBytes() + gathered * sizeof(K) + roundBytes());
        for (const auto& found : meetings) {
            if (!found.empty()) {
                m_met = true;
                m_meeting = found.front();
                side.depth = level;
                return true;
            }
        }
        // The next round must fit, and the level must still be joined into one frontier, as big
        // again as what was gathered.
        const double nextRound = static_cast<double>(m_threads) * static_cast<double>(m_roundMoves);
        const std::size_t needed = m_lastLevel ? heldBytes() + roundBytes()
                                               : bytesToExpand(side, nextRound) + 2 * gathered * sizeof(K);
        if (needed > m_budget) {
            m_memoryRanOut = true;
            return false;
        }
        if (timeIsUp() || positions() > m_maxPositions)
            return false;
    }
    const std::size_t before = frontier.size();
    std::vector<K> joined;
    std::size_t total = 0;
    for (const auto& part : next)
        total += part.size();
    joined.reserve(total);
    for (auto& part : next) {
        joined.insert(joined.end(), part.begin(), part.end());
        std::vector<K>().swap(part);
    }
    side.frontier.swap(joined);
    side.growth =
        static_cast<double>(side.frontier.size()) / static_cast<double>(std::max<std::size_t>(before, 1));
    side.depth = level;
    return true;
}

// Files the start and the goal positions; true when they already meet.
template <int W> bool Search<W>::insertStart() {
    m_forwardSide.forward = true;
    m_backwardSide.forward = false;
    const K start = fileStart();
    m_forwardSide.frontier.push_back(start);
    m_forwardSize = 1;
    noteBytes(heldBytes());
    std::vector<K> goals;
    if (m.singlePegGoal) {
        for (const int i : m.lastPegHoles) {
            K single;
            single.set(i);
            goals.push_back(single);
        }
    } else {
        goals.push_back(m_goal);
    }
    for (const K& goal : goals) {
        const K c = canonical(goal);
        const std::uint64_t h = Hash(c);
        if (!m_backwardSide.tables[ShardOf(h)].insert(c, h, 0))
            continue;
        m_backwardSide.frontier.push_back(c);
        ++m_backwardSize;
        if (c == start) {
            m_met = true;
            m_meeting = c;
        }
    }
    return m_met;
}

// The moves from the start to the meeting position (found backwards, level by level), then from
// there to the goal, all in the frame of the meeting position; at the end the frame is turned
// back so that the moves begin at the real start.
template <int W> JumpList Search<W>::solutionThrough(const K& meeting) const {
    std::vector<std::vector<std::uint8_t>> moves;
    Walk<W> walk;
    walk.timed = false;
    K at = meeting;
    for (int level = levelOf(m_forwardSide, at); level > 0; --level) {
        bool found = false;
        K previous;
        std::vector<std::uint8_t> cells;
        walk.stopped = false;
        backwardMoves(at, walk, [&](const K& child, const Chain& chain, int length) {
            if (levelOf(m_forwardSide, child) != level - 1)
                return;
            found = walk.stopped = true;
            previous = child;
            cells.assign(chain.rbegin() + (CellCount + 1 - length), chain.rend());
        });
        if (!found)
            return {};
        moves.insert(moves.begin(), cells);
        at = previous;
    }
    const K frameStart = at;
    at = meeting;
    for (int level = levelOf(m_backwardSide, at); level > 0; --level) {
        bool found = false;
        K following;
        std::vector<std::uint8_t> cells;
        walk.stopped = false;
        forwardMoves(at, walk, [&](const K& child, const Chain& chain, int length) {
            if (levelOf(m_backwardSide, child) != level - 1)
                return;
            found = walk.stopped = true;
            following = child;
            cells.assign(chain.begin(), chain.begin() + length);
        });
        if (!found)
            return {};
        moves.push_back(cells);
        at = following;
    }
    return inStartFrame(moves, frameStart);
}

template <int W>
JumpList Search<W>::inStartFrame(const std::vector<std::vector<std::uint8_t>>& moves,
                                 const K& frameStart) const {
    // The frame is the symmetry that carries the real start onto the start of these moves.
    std::vector<int> back(m.holes);
    for (int i = 0; i < m.holes; ++i)
        back[i] = i;
    if (!(frameStart == m_start)) {
        for (std::size_t t = 0; t < m_transforms.size(); ++t)
            if (m_transforms[t].apply(m_start) == frameStart)
                back = m_inverse[t];
    }
    JumpList jumps;
    for (const auto& cells : moves)
        for (std::size_t j = 1; j < cells.size(); ++j)
            jumps.push_back({static_cast<std::uint8_t>(m.cellOf[back[cells[j - 1]]]),
                             static_cast<std::uint8_t>(m.cellOf[back[cells[j]]])});
    return jumps;
}

// Jump by jump instead of move by move: each jump takes one peg, so the positions fall into layers
// by their peg count, and each position is filed once however many runs of jumps lead to it. On
// open boards, where one peg has runs of jumps beyond number, this files far fewer positions than
// following whole moves does; it cannot meet in the middle, though, so on boards of many pegs the
// move by move search goes further.
template <int W> void Search<W>::searchByLayers(MinMovesResult& result) {
    using Entry = typename CostTable<W>::Entry;
    const int known = m_limits.knownMoves;
    const int goalPegs = m.singlePegGoal ? 1 : static_cast<int>(m.goalPegs.size());
    int best = known > 0 ? known : std::numeric_limits<int>::max(); // only fewer moves are sought
    K goalReached;
    bool found = false;
    result.lowerBound = movesStillNeeded(m_start);
    std::vector<CostTable<W>> layers(1);
    const K start = canonical(m_start);
    layers[0].offer(start, Hash(start), 0, -1);
    std::size_t held = layers[0].bytes();
    std::uint64_t filed = 1;
    Walk<W> walk;
    int fewest = 1; // the fewest moves of the positions of the layer: the start needs one more
    for (int pegs = m_startPegCount; pegs > goalPegs && layers.back().size() > 0; --pegs) {
        const bool lastLayer = pegs - 1 == goalPegs;
        CostTable<W> next;
        int nextFewest = std::numeric_limits<int>::max();
        bool stopped = false;
        std::uint64_t visited = 0;
        layers.back().forEach([&](const Entry& entry) {
            // Each jump of the position may file one more, and the table doubles as it fills.
            noteBytes(held + next.bytes());
            m_memoryRanOut = held + next.bytesWith(m.lines.size()) > m_budget;
            stopped = m_memoryRanOut || ((++visited & 1023) == 0 && timeIsUp());
            if (stopped)
                return false;
            walk.full.clear();
            for (std::size_t r = 0; r < m_leftByGoal.size(); ++r)
                if (full(entry.key, m_leftByGoal[r].mask))
                    walk.full.push_back(static_cast<std::uint16_t>(r));
            for (int from = 0; from < m.holes; ++from) {
                if (!entry.key.test(from))
                    continue;
                const int moves = entry.moves + (entry.landings.test(from) ? 0 : 1);
                if (moves >= best)
                    continue;
                for (const std::uint16_t index : m.linesFrom[from]) {
                    const Line& line = m.lines[index];
                    if (!entry.key.test(line.over) || entry.key.test(line.to))
                        continue;
                    const K after = afterJump(entry.key, index);
                    if (lastLayer) {
                        if (isGoal(after) && moves < best) {
                            best = moves;
                            goalReached = after;
                            found = true;
                        }
                        continue;
                    }
                    if (!canStillReachGoal(after))
                        continue;
                    K taken;
                    bool singleHole = false;
                    const int needed =
                        std::max(movesNeededAfterThisOne(after, line.to, walk, taken, singleHole) -
                                     (m.singlePegGoal && singleHole ? 1 : 0),
                                 partsStillNeeded(after) - 1);
                    if (moves + needed >= best)
                        continue;
                    int transform = 0;
                    const K image = canonical(after, transform);
                    next.offer(image, Hash(image), static_cast<std::uint8_t>(moves),
                               imageOf(line.to, transform));
                    nextFewest = std::min(nextFewest, moves);
                }
            }
            return true;
        });
        if (stopped) {
            // Every way to the goal passes this layer, and none had fewer moves than its positions.
            result.lowerBound = std::max(result.lowerBound, std::min(fewest, best));
            m_forwardSize = filed;
            result.outcome = MinMovesOutcome::OutOfLimits;
            return;
        }
        if (lastLayer)
            break;
        fewest = nextFewest;
        filed += next.size();
        held += next.bytes();
        noteBytes(held);
        layers.push_back(std::move(next));
    }
    m_forwardSize = filed;
    if (found) {
        result.jumps = solutionFromLayers(layers, goalReached, best);
        result.moves = CountMoves(result.jumps);
        result.lowerBound = result.moves;
        result.outcome = result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven;
    } else if (known > 0) {
        result.moves = result.lowerBound = known;
        result.outcome = MinMovesOutcome::Proven;
    } else {
        result.outcome = MinMovesOutcome::Unsolvable;
    }
}

// Back from the goal one jump at a time, each time to a position of the layer above whose fewest
// moves fit: the same number when its peg goes on from where the last jump landed, one fewer when
// the jump begins a move.
template <int W>
JumpList Search<W>::solutionFromLayers(const std::vector<CostTable<W>>& layers, K at, int moves) const {
    std::vector<std::vector<std::uint8_t>> jumps;
    int landing = -1; // where the jump before must have landed; -1: anywhere
    for (std::size_t i = layers.size(); i-- > 0;) {
        bool found = false;
        for (int to = 0; to < m.holes && !found; ++to) {
            if (!at.test(to) || (landing >= 0 && to != landing))
                continue;
            for (const std::uint16_t index : m.linesTo[to]) {
                const Line& line = m.lines[index];
                if (found || at.test(line.from) || at.test(line.over))
                    continue;
                for (int colour = 0; colour < (m.colours ? 2 : 1) && !found; ++colour) {
                    const K before = beforeJump(at, index, colour == 1);
                    int transform = 0;
                    const K image = canonical(before, transform);
                    const auto* entry = layers[i].find(image, Hash(image));
                    if (!entry)
                        continue;
                    const bool goesOn =
                        entry->moves == moves && entry->landings.test(imageOf(line.from, transform));
                    if (!goesOn && entry->moves + 1 != moves)
                        continue;
                    jumps.insert(jumps.begin(), {line.from, line.to});
                    at = before;
                    landing = goesOn ? line.from : -1;
                    moves = goesOn ? moves : moves - 1;
                    found = true;
                }
            }
        }
        if (!found)
            return {};
    }
    return inStartFrame(jumps, at);
}

// Runs out of memory like out of time: the levels completed so far still prove the lower bound.
template <int W> MinMovesResult Search<W>::run() {
    MinMovesResult result;
    const auto finish = [&](MinMovesOutcome outcome) {
        result.outcome = outcome;
        result.positions = positions();
        result.seconds = elapsed();
        result.peakBytes = m_peakBytes;
        result.memoryRanOut = m_memoryRanOut;
        return result;
    };
    try {
        if (m_limits.method == MinMovesMethod::ByLayers)
            searchByLayers(result);
        else if (m_limits.method == MinMovesMethod::Beam)
            searchByBeam(result);
        else
            search(result);
    } catch (const std::bad_alloc&) {
        m_memoryRanOut = true;
        result.jumps.clear();
        result.moves = 0;
        return finish(MinMovesOutcome::OutOfLimits);
    }
    return finish(result.outcome);
}

template <int W> void Search<W>::search(MinMovesResult& result) {
    const auto finish = [&](MinMovesOutcome outcome) {
        result.outcome = outcome;
    };
    bool met = insertStart();
    while (!met) {
        // The levels searched, or the moves the regions full at the start ask for, if more.
        const int proved =
            std::max(m_forwardSide.depth + m_backwardSide.depth + 1, movesStillNeeded(m_start));
        result.lowerBound = proved;
        // With a known solution both sides keep only positions that could lie on a solution with fewer
        // moves, so running out of positions proves that no solution has fewer.
        const bool exhausted = m_forwardSide.frontier.empty() || m_backwardSide.frontier.empty();
        if (exhausted && m_limits.knownMoves == 0) {
            finish(MinMovesOutcome::Unsolvable);
            return;
        }
        if (m_limits.knownMoves > 0 && (exhausted || proved >= m_limits.knownMoves)) {
            result.moves = m_limits.knownMoves;
            result.lowerBound = m_limits.knownMoves;
            finish(MinMovesOutcome::Proven);
            return;
        }
        if (timeIsUp() || positions() > m_maxPositions) {
            finish(MinMovesOutcome::OutOfLimits);
            return;
        }
        // A level that proves the known solution the fewest unless it meets the other side need
        // not be kept: only a meeting matters, so it costs no memory beyond a round's gathering.
        m_lastLevel =
            m_limits.knownMoves > 0 && m_forwardSide.depth + m_backwardSide.depth + 2 >= m_limits.knownMoves;
        Side* side = chooseSide();
        if (!side || !expand(*side, side == &m_forwardSide ? m_backwardSide : m_forwardSide)) {
            finish(MinMovesOutcome::OutOfLimits);
            return;
        }
        met = m_met;
    }
    result.jumps = solutionThrough(m_meeting);
    result.moves = CountMoves(result.jumps);
    result.lowerBound = result.moves;
    finish(result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven);
}

// Whole levels from the goal while the time lasts and the next one fits into half the memory;
// true when they reach the start.
template <int W> bool Search<W>::expandGoalSideFor(double seconds) {
    // The levels run on the search's clock: for now it ends with this phase.
    const double overall = m_limits.seconds;
    m_limits.seconds = std::min(overall, seconds);
    while (!m_met && !m_backwardSide.frontier.empty() && !timeIsUp()) {
        const double cost = estimatedCost(m_backwardSide);
        if (bytesToExpand(m_backwardSide, expectedLevel(m_backwardSide, cost)) > m_budget / 2 ||
            !expand(m_backwardSide, m_forwardSide))
            break;
    }
    m_limits.seconds = overall;
    m_timeUp.store(false);
    return m_met;
}

// In the beam's choice, one move still needed weighs as much as this many pegs.
constexpr int PegsPerMove = 2;

// Levels from the goal for a third of the time, then beams from the start towards them.
template <int W> void Search<W>::searchByBeam(MinMovesResult& result) {
    result.outcome = MinMovesOutcome::OutOfLimits;
    result.lowerBound = movesStillNeeded(m_start);
    if (insertStart() || expandGoalSideFor(m_limits.seconds / 3)) {
        result.jumps = solutionThrough(m_meeting);
        result.moves = CountMoves(result.jumps);
        result.lowerBound = result.moves;
        result.outcome = result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven;
        return;
    }
    // The goal side's complete levels never met the start (but kept only what could beat the
    // known solution): when they ran out, or reached as far as it, nothing beats it.
    const int known = m_limits.knownMoves > 0 ? m_limits.knownMoves : std::numeric_limits<int>::max();
    result.lowerBound = std::max(result.lowerBound, std::min(known, m_backwardSide.depth + 1));
    if (m_limits.knownMoves > 0 && (m_backwardSide.frontier.empty() || result.lowerBound >= known)) {
        result.moves = result.lowerBound = known;
        result.outcome = MinMovesOutcome::Proven;
        return;
    }
    // Ever wider beams while the time and the memory last, until one had room for every position
    // it met.
    for (std::size_t width = std::max<std::size_t>(m_limits.beamWidth, 1); !timeIsUp(); width *= 4) {
        bool narrowed = false;
        if (beamFrom(width, narrowed)) {
            JumpList jumps = solutionThrough(m_meeting);
            if (!jumps.empty()) {
                result.jumps = std::move(jumps);
                result.moves = CountMoves(result.jumps);
            }
        }
        if (!narrowed || m_memoryRanOut)
            return;
        for (auto& table : m_forwardSide.tables)
            table = LevelTable<W>();
        fileStart();
    }
}

// One beam from the start: each level keeps the `width` positions whose bounds ask for the fewest
// moves still, then those with the fewest pegs, and files them for the way back. A position met on
// the levels from the goal completes a solution, which becomes the known one; the beam goes on for
// shorter ones while a level can still beat it. True when it found one; `narrowed` tells whether
// some level had more positions than room.
template <int W> bool Search<W>::beamFrom(std::size_t width, bool& narrowed) {
    struct Candidate {
        int score;
        K key;
    };
    struct Meeting {
        int moves = std::numeric_limits<int>::max();
        K key;
    };
    int best = m_limits.knownMoves > 0 ? m_limits.knownMoves : std::numeric_limits<int>::max();
    bool found = false;
    std::vector<K> frontier{canonical(m_start)};
    for (int level = 1; level < best && !frontier.empty() && !timeIsUp(); ++level) {
        // What the level gathers, its choice and what it files share the memory left.
        const std::size_t held = heldBytes() + frontier.capacity() * sizeof(K);
        const std::size_t room = m_budget > held ? (m_budget - held) / 5 : 0;
        const std::size_t kept =
            std::min(width, room / (sizeof(K) + 2 * static_cast<std::size_t>(LevelTable<W>::SlotBytes)));
        // A beam the memory narrows would be no wider the next time.
        if (kept < width)
            m_memoryRanOut = narrowed = true;
        if (kept == 0)
            break;
        std::vector<std::vector<Candidate>> candidates(m_threads);
        std::vector<Meeting> meetings(m_threads);
        RunOnThreads(m_threads, [&](int t) {
            Walk<W>& walk = m_walks[t];
            walk.found = 0;
            walk.cap = std::numeric_limits<std::uint64_t>::max();
            walk.stopped = false;
            walk.level = m_limits.knownMoves > 0 ? level : 0;
            for (std::size_t i = static_cast<std::size_t>(t); i < frontier.size() && !walk.stopped;
                 i += static_cast<std::size_t>(m_threads))
                forwardMoves(frontier[i], walk, [&](const K& child, const Chain&, int) {
                    const int ahead = movesStillNeeded(child);
                    if (level + ahead >= best)
                        return;
                    const K c = canonical(child);
                    const std::uint64_t h = Hash(c);
                    const int shard = ShardOf(h);
                    if (m_forwardSide.tables[shard].find(c, h) >= 0)
                        return;
                    const int back = m_backwardSide.tables[shard].find(c, h);
                    if (back >= 0 && level + back < meetings[t].moves)
                        meetings[t] = {level + back, c};
                    candidates[t].push_back({ahead * PegsPerMove + pegs(c), c});
                    // A level that outgrows its share of the memory is chosen from what it has.
                    if (candidates[t].size() * sizeof(Candidate) * static_cast<std::size_t>(m_threads) > room)
                        walk.stopped = true;
                });
        });
        // A walk stops early only for the memory or the time: then the level was cut short.
        for (int t = 0; t < m_threads; ++t) {
            narrowed = narrowed || m_walks[t].stopped;
            m_memoryRanOut = m_memoryRanOut || (m_walks[t].stopped && !timeIsUp());
        }
        for (const Meeting& meeting : meetings) {
            if (meeting.moves >= best)
                continue;
            best = m_limits.knownMoves = meeting.moves;
            m_meeting = meeting.key;
            found = true;
            // Filed on its level for the way back.
            const std::uint64_t h = Hash(m_meeting);
            m_forwardSide.tables[ShardOf(h)].insert(m_meeting, h, static_cast<std::uint8_t>(level));
        }
        std::vector<Candidate> all;
        for (auto& part : candidates) {
            all.insert(all.end(), part.begin(), part.end());
            std::vector<Candidate>().swap(part);
        }
        std::sort(all.begin(), all.end(),
                  [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
        all.erase(std::unique(all.begin(), all.end(),
                              [](const Candidate& a, const Candidate& b) { return a.key == b.key; }),
                  all.end());
        noteBytes(held + all.capacity() * sizeof(Candidate));
        if (all.size() > kept) {
            narrowed = true;
            std::nth_element(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                             [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
            all.resize(kept);
        }
        frontier.clear();
        for (const Candidate& c : all) {
            const std::uint64_t h = Hash(c.key);
            m_forwardSide.tables[ShardOf(h)].insert(c.key, h, static_cast<std::uint8_t>(level));
            frontier.push_back(c.key);
        }
        m_forwardSize += frontier.size();
        noteBytes(heldBytes() + (frontier.capacity() * sizeof(K) + all.capacity() * sizeof(Candidate)));
    }
    return found;
}

// The side whose next level costs fewer moves, if it fits into the memory; otherwise the other one;
// none when neither would fit.
template <int W> typename Search<W>::Side* Search<W>::chooseSide() {
    const double forwardCost = estimatedCost(m_forwardSide), backwardCost = estimatedCost(m_backwardSide);
    const bool forwardFirst = forwardCost <= backwardCost;
    for (const bool forward : {forwardFirst, !forwardFirst}) {
        Side& side = forward ? m_forwardSide : m_backwardSide;
        const std::size_t bytes =
            m_lastLevel ? heldBytes() + roundBytes()
                        : bytesToExpand(side, expectedLevel(side, forward ? forwardCost : backwardCost));
        if (bytes <= m_budget)
            return &side;
    }
    m_memoryRanOut = true;
    return nullptr;
}

// On boards of few pegs the layers are small, and on open ones, where a peg has countless runs of
// jumps, they win by far; elsewhere meeting in the middle does. So the layers get a quarter of
// the time first, and meeting in the middle the rest, starting from what the layers proved.
constexpr int LayersPegLimit = 30;

template <class Run> MinMovesResult ByLayersThenMeeting(const MinMovesLimits& limits, const Run& run) {
    MinMovesLimits layers = limits;
    layers.method = MinMovesMethod::ByLayers;
    layers.seconds = limits.seconds / 4;
    const MinMovesResult first = run(layers);
    if (first.outcome != MinMovesOutcome::OutOfLimits)
        return first;
    MinMovesLimits meeting = limits;
    meeting.method = MinMovesMethod::MeetInTheMiddle;
    meeting.seconds = std::max(0.0, limits.seconds - first.seconds);
    MinMovesResult second = run(meeting);
    second.lowerBound = std::max(second.lowerBound, first.lowerBound);
    second.seconds += first.seconds;
    second.positions += first.positions;
    second.peakBytes = std::max(second.peakBytes, first.peakBytes);
    second.memoryRanOut = second.memoryRanOut || first.memoryRanOut;
    return second;
}

} // namespace

std::size_t DefaultMemoryBudget() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    std::size_t budget = pages > 0 && pageSize > 0
                             ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 2
                             : std::size_t{1} << 30;
    // An address-space limit counts the program's code and libraries as well: keep a quarter free.
    rlimit space{};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        budget = std::min(budget, static_cast<std::size_t>(space.rlim_cur / 4 * 3));
    return budget;
}

bool ParseMemoryAmount(const std::string& text, std::size_t& bytes) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    const std::string suffix = text.substr(digits);
    int shift = 0;
    if (suffix == "K")
        shift = 10;
    else if (suffix == "M")
        shift = 20;
    else if (suffix == "G")
        shift = 30;
    else if (!suffix.empty())
        return false;
    if (digits == 0 || digits > 18)
        return false;
    const unsigned long long amount = std::stoull(text.substr(0, digits));
    if (amount == 0 || amount > (std::numeric_limits<std::size_t>::max() >> shift))
        return false;
    bytes = static_cast<std::size_t>(amount) << shift;
    return true;
}

std::string MemoryText(std::size_t bytes) {
    const double mib = static_cast<double>(bytes) / (1 << 20);
    char text[32];
    if (mib >= 1024)
        std::snprintf(text, sizeof text, "%.1f GiB", mib / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", mib);
    return text;
}

MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits) {
    return FindFewestMoves(record, limits, {});
}

MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits,
                               const BoundsAdjustment& adjust) {
    Model model;
    const MinMovesOutcome possible = BuildModel(record, model, adjust);
    if (possible != MinMovesOutcome::Proven) {
        MinMovesResult result;
        result.outcome = possible;
        return result;
    }
    const int bits = model.colours ? 2 * model.holes : model.holes;
    const auto run = [&](const MinMovesLimits& chosen) {
        if (bits <= 64)
            return Search<1>(model, chosen).run();
        if (bits <= 128)
            return Search<2>(model, chosen).run();
        return Search<3>(model, chosen).run();
    };
    try {
        if (limits.method != MinMovesMethod::Chosen)
            return run(limits);
        if (static_cast<int>(model.startPegs.size()) > LayersPegLimit) {
            MinMovesLimits meeting = limits;
            meeting.method = MinMovesMethod::MeetInTheMiddle;
            return run(meeting);
        }
        return ByLayersThenMeeting(limits, run);
    } catch (const std::bad_alloc&) {
        // Not even the search's first tables could be had.
        MinMovesResult result;
        result.memoryRanOut = true;
        return result;
    }
}
