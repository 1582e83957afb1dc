#include "game/Solver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <new>

#include "game/BoardSymmetry.h"
#include "game/MinMoves.h"
#include "game/Rules.h"

namespace {

constexpr int NoLanding = 255;

// ---------------------------------------------------------------------------------------------
// Replaying and storing solutions with the game's own rules.

bool IsCellIndex(int cell) {
    return cell >= 0 && cell < CellCount;
}

// One replayed jump; false when it is not a legal jump of an on-board peg.
bool PlayJump(Position& position, const LevelRecord& record, SolverJump jump) {
    if (!IsCellIndex(jump.from) || !IsCellIndex(jump.to) || !IsOnBoard(record, jump.from) ||
        !HoldsPeg(position[jump.from]))
        return false;
    const JumpCheck check = IsLegalJump(position, record, jump.from, jump.to);
    if (!check.legal)
        return false;
    ApplyJump(position, jump.from, check.jumpedOver, jump.to, position[jump.from]);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The search works on 81-bit cell sets: one for all pegs and one for the pegs of the second colour.

struct Bits {
    std::uint64_t lo = 0; // cells 0 to 63
    std::uint64_t hi = 0; // cells 64 to 80

    static Bits cell(int i) {
        Bits b;
        if (i < 64)
            b.lo = std::uint64_t{1} << i;
        else
            b.hi = std::uint64_t{1} << (i - 64);
        return b;
    }
    bool has(int i) const { return i < 64 ? (lo >> i) & 1 : (hi >> (i - 64)) & 1; }
    bool any() const { return (lo | hi) != 0; }
    bool containsAll(Bits b) const { return (lo & b.lo) == b.lo && (hi & b.hi) == b.hi; }
    bool meets(Bits b) const { return ((lo & b.lo) | (hi & b.hi)) != 0; }
    int count() const { return __builtin_popcountll(lo) + __builtin_popcountll(hi); }
    Bits operator|(Bits b) const { return {lo | b.lo, hi | b.hi}; }
    Bits operator&(Bits b) const { return {lo & b.lo, hi & b.hi}; }
    Bits without(Bits b) const { return {lo & ~b.lo, hi & ~b.hi}; }
    friend bool operator==(Bits a, Bits b) { return a.lo == b.lo && a.hi == b.hi; }
};

struct State {
    Bits pegs;
    Bits second; // pegs of the second colour; always empty when colours do not matter
};

// A jump that the board's geometry allows; whether it is possible depends only on the pegs.
struct JumpLine {
    std::uint8_t from;
    std::uint8_t to;
    Bits fromMask;
    Bits toMask;
    Bits fromAndOver;
};

// Remembered positions, exact (no false matches), with one byte of value each. Open addressing;
// once the table holds its maximum it stops taking new entries, which only costs pruning.
class PositionTable {
public:
    explicit PositionTable(std::size_t maxEntries) : m_maxEntries(maxEntries) { resize(1 << 12); }

    // The stored value, or -1 when the key is not in the table.
    int find(const State& s, int tag) const {
        const Key key = makeKey(s, tag);
        for (std::size_t i = hash(key) & m_mask;; i = (i + 1) & m_mask) {
            if (m_keys[i].empty())
                return -1;
            if (m_keys[i] == key)
                return m_values[i];
        }
    }

    void put(const State& s, int tag, std::uint8_t value) {
        const Key key = makeKey(s, tag);
        std::size_t i = hash(key) & m_mask;
        for (; !m_keys[i].empty(); i = (i + 1) & m_mask) {
            if (m_keys[i] == key) {
                m_values[i] = value;
                return;
            }
        }
        if (m_used >= m_maxEntries)
            return;
        m_keys[i] = key;
        m_values[i] = value;
        ++m_used;
        if (m_used * 10 > m_keys.size() * 7)
            resize(m_keys.size() * 2);
    }

private:
    // The pegs always include at least one cell, so an all-zero key marks a free slot.
    struct Key {
        std::uint64_t a = 0, b = 0, c = 0;
        bool empty() const { return (a | c) == 0; }
        friend bool operator==(const Key& x, const Key& y) { return x.a == y.a && x.b == y.b && x.c == y.c; }
    };

    static Key makeKey(const State& s, int tag) {
        return {s.pegs.lo, s.second.lo,
                s.pegs.hi | (s.second.hi << 20) | (static_cast<std::uint64_t>(tag & 0xFF) << 40)};
    }

    static std::size_t hash(const Key& k) {
        std::uint64_t h = k.a * 0x9E3779B97F4A7C15ULL;
        h ^= (k.b + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
        h ^= (k.c + 0x165667B19E3779F9ULL) * 0x94D049BB133111EBULL;
        h ^= h >> 29;
        return static_cast<std::size_t>(h * 0xBF58476D1CE4E5B9ULL >> 17);
    }

    void resize(std::size_t slots) {
        std::vector<Key> oldKeys;
        std::vector<std::uint8_t> oldValues;
        oldKeys.swap(m_keys);
        oldValues.swap(m_values);
        m_keys.assign(slots, Key{});
        m_values.assign(slots, 0);
        m_mask = slots - 1;
        for (std::size_t i = 0; i < oldKeys.size(); ++i) {
            if (oldKeys[i].empty())
                continue;
            std::size_t j = hash(oldKeys[i]) & m_mask;
            while (!m_keys[j].empty())
                j = (j + 1) & m_mask;
            m_keys[j] = oldKeys[i];
            m_values[j] = oldValues[i];
        }
    }

    std::vector<Key> m_keys;
    std::vector<std::uint8_t> m_values;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
    std::size_t m_maxEntries;
};

// The rotations and reflections that map the board, and the goal, onto themselves. A position and
// its images are equally solvable, so the table of dead positions stores one image for all of them.
class Symmetries {
public:
    void build(const LevelRecord& record, bool goalMatters);

    // The smallest image of a position under the board's symmetries (the position itself if none).
    State canonical(const State& s) const {
        State best = s;
        for (const Transform& t : m_transforms) {
            const State image{t.apply(s.pegs), t.apply(s.second)};
            if (less(image, best))
                best = image;
        }
        return best;
    }

private:
    // Cell images looked up a byte of the 81-bit set at a time.
    struct Transform {
        std::array<std::array<Bits, 256>, 11> byByte{};
        Bits apply(Bits b) const {
            Bits out;
            for (int k = 0; k < 11; ++k) {
                const int shift = k * 8;
                const std::uint64_t byte =
                    shift < 64 ? (b.lo >> shift) & 0xFF : (b.hi >> (shift - 64)) & 0xFF;
                if (byte != 0)
                    out = out | byByte[k][byte];
            }
            return out;
        }
    };

    static bool less(const State& a, const State& b) {
        if (a.pegs.hi != b.pegs.hi)
            return a.pegs.hi < b.pegs.hi;
        if (a.pegs.lo != b.pegs.lo)
            return a.pegs.lo < b.pegs.lo;
        if (a.second.hi != b.second.hi)
            return a.second.hi < b.second.hi;
        return a.second.lo < b.second.lo;
    }

    std::vector<Transform> m_transforms; // without the identity
};

void Symmetries::build(const LevelRecord& record, bool goalMatters) {
    for (const CellImage& image : BoardSymmetries(record, goalMatters)) {
        Transform t;
        for (int cell = 0; cell < CellCount; ++cell) {
            if (!IsBoardHole(record, cell))
                continue;
            const Bits target = Bits::cell(image[cell]);
            const int k = cell / 8, bit = cell % 8;
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << bit))
                    t.byByte[k][byte] = t.byByte[k][byte] | target;
        }
        m_transforms.push_back(t);
    }
}

constexpr std::size_t DefaultTableEntries = std::size_t{3} << 20;

class Search {
public:
    Search(const LevelRecord& record, const SolverLimits& limits)
        : m_limits(limits), m_started(std::chrono::steady_clock::now()),
          m_dead(limits.maxTableEntries ? limits.maxTableEntries : DefaultTableEntries),
          m_bestCost(limits.maxTableEntries ? limits.maxTableEntries : DefaultTableEntries) {
        buildLines(record);
    }

    // Sets up the start and the goal: Solved when the search may begin, Unsolvable when the goal
    // can never be reached (fixed cells disagree, too few pegs of a colour), Unsupported for odd codes.
    SolveStatus prepare(const LevelRecord& record);

    // Finds a first solution; false when there is none or the limits ran out.
    bool findAny();
    // Takes a solution found elsewhere as the best so far.
    void startFrom(const JumpList& jumps) {
        m_bestJumps = jumps;
        m_bestMoves = CountMoves(jumps);
    }
    // Spends the rest of the budget looking for fewer moves and tries to prove the fewest; the record gives
    // the proof its board.
    void improveMoves(const LevelRecord& record);

    const JumpList& best() const { return m_bestJumps; }
    int bestMoves() const { return m_bestMoves; }
    bool moveSearchFinished() const { return m_moveSearchFinished; }
    int lowerBound() const { return m_lowerBound; }
    bool exhausted() const { return m_exhausted; }
    std::size_t peakBytes() const { return m_peakBytes; }
    bool memoryRanOut() const { return m_memoryRanOut; }
    // Gives up the rest of the budget, as when an allocation fails.
    void stopForWantOfMemory() { m_memoryRanOut = m_outOfBudget = m_stop = true; }
    std::uint64_t nodes() const { return m_nodes; }
    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }

private:
    // The current phase ends at this many seconds from the start (or at the overall limit).
    void setPhaseEnd(double seconds) {
        m_phaseEnd = std::min(seconds, m_limits.seconds);
        m_stop = m_outOfBudget;
    }
    bool depthFirstUntil(double phaseEnd);
    bool beamSearch(std::size_t width);
    void moveBeamSearch(std::size_t width);
    void buildLines(const LevelRecord& record);
    bool tick();
    bool isGoal(const State& s) const;
    bool hopeless(const State& s) const;
    bool isDead(const State& s) const { return m_dead.find(m_symmetries.canonical(s), 0) >= 0; }
    void buildPagodas(const LevelRecord& record);
    double beamScore(const State& s) const;
    State apply(const State& s, const JumpLine& line) const;
    bool canJumpFrom(const State& s, int cell) const;
    int normalisedLanding(const State& s, int landing) const;
    int lowerBound(const State& s, int landing) const;
    bool depthFirst(const State& s, int landing);
    void branchAndBound(const State& s, int landing, int cost);

    SolverLimits m_limits;
    std::chrono::steady_clock::time_point m_started;
    std::vector<JumpLine> m_lines;
    std::array<std::vector<std::uint16_t>, CellCount> m_linesFrom{};
    Bits m_mustLeave; // cells no jump can pass over: a peg there leaves only by jumping itself
    std::array<Bits, CellCount> m_neighbours{}; // cells one step away along a jump line
    std::array<double, CellCount> m_centreDistance{};
    Symmetries m_symmetries;

    // Pagoda functions, one per target peg (a few at most): their sum over the pegs never grows by
    // a jump, so a position whose sum is below the target's can never reach it.
    struct Pagoda {
        std::array<double, CellCount> weight{};
        double goal = 0;
    };
    std::vector<Pagoda> m_pagodas;

    State m_start;
    State m_goal;
    bool m_singlePegGoal = true;
    int m_goalFirst = 0;
    int m_goalSecond = 0;

    PositionTable m_dead;     // positions from which the goal cannot be reached
    PositionTable m_bestCost; // lowest move count with which a position was searched for fewer moves
    JumpList m_path;
    JumpList m_bestJumps;
    int m_bestMoves = std::numeric_limits<int>::max();
    std::uint64_t m_nodes = 0;
    bool m_outOfBudget = false;
    bool m_stop = false; // the current phase is over
    double m_phaseEnd = 0;
    bool m_moveSearchFinished = false;
    int m_lowerBound = 1;     // a board not solved at its start needs a move
    bool m_exhausted = false; // depth-first search visited everything without a solution
    std::size_t m_peakBytes = 0;
    bool m_memoryRanOut = false;
};

void Search::buildLines(const LevelRecord& record) {
    const bool hexagon = record.isHexagon();
    const int directions = hexagon ? static_cast<int>(HexDirections) : static_cast<int>(SquareDirections);
    std::array<bool, CellCount> jumpable{};
    for (int from = 0; from < CellCount; ++from) {
        if (!IsOnBoard(record, from) || record.StartCells[from] == NoHole)
            continue;
        for (int d = 0; d < directions; ++d) {
            if (!hexagon && d % 2 == 1 && !record.allowsDiagonal())
                continue;
            const int to = hexagon ? HexLanding[from][d] : SquareLanding[from][d];
            if (to == NoCell || !IsOnBoard(record, to) || record.StartCells[to] == NoHole)
                continue;
            const int over = JumpedOverCell(record.Shape, from, d);
            // Cells with no hole never change, so a jump over one is never possible.
            if (record.StartCells[over] == NoHole)
                continue;
            jumpable[over] = true;
            m_neighbours[from] = m_neighbours[from] | Bits::cell(over);
            const Bits f = Bits::cell(from), o = Bits::cell(over), t = Bits::cell(to);
            m_linesFrom[from].push_back(static_cast<std::uint16_t>(m_lines.size()));
            m_lines.push_back({static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), f, t, f | o});
        }
    }
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(record, cell) && record.StartCells[cell] != NoHole && !jumpable[cell])
            m_mustLeave = m_mustLeave | Bits::cell(cell);
}

SolveStatus Search::prepare(const LevelRecord& record) {
    bool oddCodes = false;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(record, cell) || !HoldsPeg(record.StartCells[cell]))
            continue;
        m_start.pegs = m_start.pegs | Bits::cell(cell);
        if (record.StartCells[cell] != FirstColourPeg)
            m_start.second = m_start.second | Bits::cell(cell);
        oddCodes = oddCodes || record.StartCells[cell] > SecondColourPeg;
    }
    m_singlePegGoal = CountPegs(record.TargetCells, record) == 0;
    if (m_singlePegGoal) {
        m_start.second = Bits{};
        m_symmetries.build(record, false);
        buildPagodas(record);
        return m_start.pegs.any() ? SolveStatus::Solved : SolveStatus::Unsolvable;
    }
    if (oddCodes)
        return SolveStatus::Unsupported;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(record, cell))
            continue;
        const CellCode want = record.TargetCells[cell];
        // Play never makes or removes a hole, and pegs keep the codes they start with.
        if ((want == NoHole) != (record.StartCells[cell] == NoHole) || want > SecondColourPeg)
            return SolveStatus::Unsolvable;
        if (HoldsPeg(want))
            m_goal.pegs = m_goal.pegs | Bits::cell(cell);
        if (want == SecondColourPeg)
            m_goal.second = m_goal.second | Bits::cell(cell);
    }
    m_goalSecond = m_goal.second.count();
    m_goalFirst = m_goal.pegs.count() - m_goalSecond;
    m_symmetries.build(record, true);
    buildPagodas(record);
    if (hopeless(m_start))
        return SolveStatus::Unsolvable;
    return SolveStatus::Solved;
}

bool Search::tick() {
    ++m_nodes;
    if (m_stop)
        return false;
    if (m_limits.maxNodes != 0 && m_nodes > m_limits.maxNodes) {
        m_outOfBudget = m_stop = true;
    } else if ((m_nodes & 1023) == 0) {
        const double now = elapsed();
        m_outOfBudget = now > m_limits.seconds || (m_limits.cancelled != nullptr &&
                                                   m_limits.cancelled->load(std::memory_order_relaxed));
        m_stop = m_outOfBudget || now > m_phaseEnd;
    }
    return !m_stop;
}

bool Search::isGoal(const State& s) const {
    if (m_singlePegGoal)
        return s.pegs.count() == 1;
    return s.pegs == m_goal.pegs && s.second == m_goal.second;
}

// Jumps only ever remove pegs, so each colour needs at least as many pegs as the target has.
bool Search::hopeless(const State& s) const {
    if (m_singlePegGoal)
        return false;
    const int second = s.second.count();
    if (second < m_goalSecond || s.pegs.count() - second < m_goalFirst)
        return true;
    for (const Pagoda& pagoda : m_pagodas) {
        double sum = 0;
        for (int cell = 0; cell < CellCount; ++cell)
            if (s.pegs.has(cell))
                sum += pagoda.weight[cell];
        if (sum < pagoda.goal - 1e-9)
            return true;
    }
    return false;
}

State Search::apply(const State& s, const JumpLine& line) const {
    State next;
    next.pegs = s.pegs.without(line.fromAndOver) | line.toMask;
    next.second = s.second.without(line.fromAndOver | line.toMask);
    if (s.second.meets(line.fromMask))
        next.second = next.second | line.toMask;
    return next;
}

bool Search::canJumpFrom(const State& s, int cell) const {
    for (const std::uint16_t index : m_linesFrom[cell]) {
        const JumpLine& line = m_lines[index];
        if (s.pegs.containsAll(line.fromAndOver) && !s.pegs.meets(line.toMask))
            return true;
    }
    return false;
}

// The last landing cell only matters while its peg can go on jumping for free.
int Search::normalisedLanding(const State& s, int landing) const {
    return landing != NoLanding && canJumpFrom(s, landing) ? landing : NoLanding;
}

// Each peg on a cell that nothing can jump over, and that must not stay there, needs a move of its
// own; the peg that just landed may continue its move without cost.
int Search::lowerBound(const State& s, int landing) const {
    Bits stuck = s.pegs & m_mustLeave;
    if (!m_singlePegGoal)
        stuck = stuck.without(m_goal.pegs);
    int bound = stuck.count();
    if (m_singlePegGoal && bound > 0)
        --bound;
    if (landing != NoLanding && stuck.has(landing) && bound > 0)
        --bound;
    if (bound == 0 && !isGoal(s) && landing == NoLanding)
        bound = 1;
    return bound;
}

bool Search::depthFirst(const State& s, int landing) {
    if (isGoal(s))
        return true;
    if (!tick())
        return false;
    if (isDead(s))
        return false;
    // The peg that has just landed is tried first: going on with it costs no move.
    auto tryLine = [&](const JumpLine& line) {
        if (!s.pegs.containsAll(line.fromAndOver) || s.pegs.meets(line.toMask))
            return false;
        const State next = apply(s, line);
        if (hopeless(next))
            return false;
        m_path.push_back({line.from, line.to});
        if (depthFirst(next, line.to))
            return true;
        m_path.pop_back();
        return false;
    };
    if (landing != NoLanding)
        for (const std::uint16_t index : m_linesFrom[landing])
            if (tryLine(m_lines[index]))
                return true;
    for (const JumpLine& line : m_lines)
        if (line.from != landing && tryLine(line))
            return true;
    if (!m_stop)
        m_dead.put(m_symmetries.canonical(s), 0, 1);
    return false;
}

namespace {

// Steps between two cells along the board's lines: each step of a jump changes it by at most one.
int LineDistance(const LevelRecord& record, int a, int b) {
    if (record.isHexagon()) {
        const Cube ca = ToCube(a), cb = ToCube(b);
        return std::max({std::abs(ca.x - cb.x), std::abs(ca.y - cb.y), std::abs(ca.z - cb.z)});
    }
    const int dr = std::abs(a / GridWidth - b / GridWidth), dc = std::abs(a % GridWidth - b % GridWidth);
    return record.allowsDiagonal() ? std::max(dr, dc) : dr + dc;
}

// Where a cell is drawn, in cell pitches (odd hexagonal rows half a cell to the right).
std::pair<double, double> DrawnPlace(const LevelRecord& record, int cell) {
    const int row = cell / GridWidth, col = cell % GridWidth;
    return {row, col + (record.isHexagon() && row % 2 == 1 ? 0.5 : 0.0)};
}

// Keeps the `width` children with the lowest scores (in no particular order): a beam's next level.
template <class Child> void KeepBestScored(std::vector<Child>& children, std::size_t width) {
    if (children.size() <= width)
        return;
    std::nth_element(children.begin(), children.begin() + static_cast<std::ptrdiff_t>(width), children.end(),
                     [](const Child& a, const Child& b) { return a.score < b.score; });
    children.resize(width);
}

} // namespace

// Weights x^distance from a target peg with x + x^2 = 1: a jump towards the target keeps the sum,
// any other jump lowers it (the same holds along diagonals and hexagonal lines, since a jump's
// distances change by at most one per step).
void Search::buildPagodas(const LevelRecord& record) {
    const double x = (std::sqrt(5.0) - 1.0) / 2.0;
    std::vector<int> targets;
    for (int cell = 0; cell < CellCount; ++cell)
        if (m_goal.pegs.has(cell))
            targets.push_back(cell);
    constexpr std::size_t MaxPagodas = 4;
    for (std::size_t k = 0; k < targets.size() && k < MaxPagodas; ++k) {
        Pagoda pagoda;
        for (int cell = 0; cell < CellCount; ++cell)
            if (IsBoardHole(record, cell))
                pagoda.weight[cell] = std::pow(x, LineDistance(record, cell, targets[k]));
        for (const int t : targets)
            pagoda.goal += pagoda.weight[t];
        m_pagodas.push_back(pagoda);
    }
    // The beam search draws pegs towards the target pegs, or towards the middle of the board.
    double rows = 0, cols = 0;
    int holes = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsBoardHole(record, cell))
            continue;
        const auto [r, c] = DrawnPlace(record, cell);
        rows += r;
        cols += c;
        ++holes;
    }
    for (int cell = 0; cell < CellCount && holes > 0; ++cell) {
        if (!IsBoardHole(record, cell))
            continue;
        const auto [r, c] = DrawnPlace(record, cell);
        double nearest = (r - rows / holes) * (r - rows / holes) + (c - cols / holes) * (c - cols / holes);
        if (!targets.empty()) {
            nearest = std::numeric_limits<double>::max();
            for (const int t : targets) {
                const auto [tr, tc] = DrawnPlace(record, t);
                nearest = std::min(nearest, (r - tr) * (r - tr) + (c - tc) * (c - tc));
            }
        }
        m_centreDistance[cell] = nearest;
    }
}

// Lower is more promising: pegs near the middle (or the target) that still have company.
double Search::beamScore(const State& s) const {
    constexpr double IsolatedPeg = 8.0;
    double score = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!s.pegs.has(cell))
            continue;
        score += m_centreDistance[cell];
        if (!s.pegs.meets(m_neighbours[cell]))
            score += IsolatedPeg;
    }
    return score;
}

bool Search::beamSearch(std::size_t width) {
    struct Step {
        std::int32_t parent;
        SolverJump jump;
    };
    struct Child {
        double score;
        State state;
        std::int32_t parent;
        SolverJump jump;
    };
    std::vector<Step> steps{{-1, {}}};
    std::vector<State> level{m_start};
    std::vector<std::int32_t> levelSteps{0};
    while (!level.empty()) {
        std::vector<Child> children;
        PositionTable seen(width * 16 + 1024);
        for (std::size_t i = 0; i < level.size(); ++i) {
            if (!tick())
                return false;
            const State& s = level[i];
            for (const JumpLine& line : m_lines) {
                if (!s.pegs.containsAll(line.fromAndOver) || s.pegs.meets(line.toMask))
                    continue;
                const State next = apply(s, line);
                if (hopeless(next) || isDead(next))
                    continue;
                const State image = m_symmetries.canonical(next);
                if (seen.find(image, 0) >= 0)
                    continue;
                seen.put(image, 0, 1);
                const SolverJump jump{line.from, line.to};
                if (isGoal(next)) {
                    JumpList path{jump};
                    for (std::int32_t at = levelSteps[i]; steps[at].parent >= 0; at = steps[at].parent)
                        path.push_back(steps[at].jump);
                    std::reverse(path.begin(), path.end());
                    m_bestJumps = path;
                    return true;
                }
                children.push_back({beamScore(next), next, levelSteps[i], jump});
            }
        }
        KeepBestScored(children, width);
        level.clear();
        levelSteps.clear();
        for (const Child& child : children) {
            levelSteps.push_back(static_cast<std::int32_t>(steps.size()));
            steps.push_back({child.parent, child.jump});
            level.push_back(child.state);
        }
    }
    return false;
}

// Depth-first until the phase ends; true when it found a solution. Its table of dead positions
// is kept, so a later call goes on where this one stopped.
bool Search::depthFirstUntil(double phaseEnd) {
    setPhaseEnd(phaseEnd);
    m_path.clear();
    if (depthFirst(m_start, NoLanding)) {
        m_bestJumps = m_path;
        return true;
    }
    m_exhausted = !m_stop;
    return false;
}

bool Search::findAny() {
    if (isGoal(m_start)) {
        m_bestMoves = 0;
        return true;
    }
    // Depth-first comes first: it is quick on most boards and alone can prove a board unsolvable.
    // Where it takes long, beam searches of growing width get most of the time, and whatever is
    // left goes back to depth-first.
    constexpr double FirstDepthFirst = 0.5;
    constexpr std::array<std::size_t, 4> BeamWidths{2000, 10000, 40000, 100000};
    bool found = depthFirstUntil(std::min(FirstDepthFirst, m_limits.seconds / 5.0));
    for (std::size_t k = 0; k < BeamWidths.size() && !found && !m_exhausted && !m_outOfBudget; ++k) {
        setPhaseEnd(elapsed() + (m_limits.seconds - elapsed()) / 3.0);
        found = beamSearch(BeamWidths[k]);
    }
    if (!found && !m_exhausted && !m_outOfBudget)
        found = depthFirstUntil(m_limits.seconds);
    if (!found)
        return false;
    m_bestMoves = CountMoves(m_bestJumps);
    return true;
}

void Search::branchAndBound(const State& s, int landing, int cost) {
    if (isGoal(s)) {
        if (cost < m_bestMoves) {
            m_bestMoves = cost;
            m_bestJumps = m_path;
        }
        return;
    }
    if (!tick())
        return;
    auto tryLine = [&](const JumpLine& line) {
        if (!s.pegs.containsAll(line.fromAndOver) || s.pegs.meets(line.toMask))
            return;
        const State next = apply(s, line);
        if (hopeless(next) || isDead(next))
            return;
        const int nextCost = cost + (line.from == landing ? 0 : 1);
        const int nextLanding = normalisedLanding(next, line.to);
        if (nextCost + lowerBound(next, nextLanding) >= m_bestMoves)
            return;
        const int seen = m_bestCost.find(next, nextLanding);
        if (seen >= 0 && seen <= nextCost)
            return;
        m_bestCost.put(next, nextLanding, static_cast<std::uint8_t>(nextCost));
        m_path.push_back({line.from, line.to});
        branchAndBound(next, nextLanding, nextCost);
        m_path.pop_back();
    };
    if (landing != NoLanding)
        for (const std::uint16_t index : m_linesFrom[landing])
            tryLine(m_lines[index]);
    for (const JumpLine& line : m_lines)
        if (line.from != landing)
            tryLine(line);
}

// A beam search whose levels are whole moves: every run of jumps by one peg (stopping after any
// of its jumps) is one step, so the first solution found has few moves.
void Search::moveBeamSearch(std::size_t width) {
    struct Step {
        std::int32_t parent;
        std::uint32_t firstJump; // into `jumps`
        std::uint8_t jumpCount;
    };
    struct Child {
        double score;
        State state;
        std::int32_t parent;
        std::uint32_t firstJump;
        std::uint8_t jumpCount;
    };
    std::vector<SolverJump> jumps;
    std::vector<Step> steps{{-1, 0, 0}};
    std::vector<State> level{m_start};
    std::vector<std::int32_t> levelSteps{0};
    for (int moves = 1; moves < m_bestMoves && !level.empty(); ++moves) {
        std::vector<Child> children;
        PositionTable seen(width * 16 + 1024);
        JumpList chain;
        bool solved = false;
        // Follows every run of jumps of the peg now on `cell`, offering each stop as a child.
        std::function<void(const State&, int, std::int32_t)> follow = [&](const State& s, int cell,
                                                                          std::int32_t parent) {
            for (const std::uint16_t index : m_linesFrom[cell]) {
                const JumpLine& line = m_lines[index];
                if (solved || !tick())
                    return;
                if (!s.pegs.containsAll(line.fromAndOver) || s.pegs.meets(line.toMask))
                    continue;
                const State next = apply(s, line);
                if (hopeless(next) || isDead(next))
                    continue;
                chain.push_back({line.from, line.to});
                const State image = m_symmetries.canonical(next);
                if (seen.find(image, 0) < 0) {
                    seen.put(image, 0, 1);
                    const auto first = static_cast<std::uint32_t>(jumps.size());
                    jumps.insert(jumps.end(), chain.begin(), chain.end());
                    children.push_back(
                        {beamScore(next), next, parent, first, static_cast<std::uint8_t>(chain.size())});
                    if (isGoal(next)) {
                        solved = true;
                        return;
                    }
                }
                follow(next, line.to, parent);
                chain.pop_back();
                if (solved)
                    return;
            }
        };
        for (std::size_t i = 0; i < level.size() && !solved && !m_stop; ++i)
            for (int cell = 0; cell < CellCount && !solved && !m_stop; ++cell)
                if (level[i].pegs.has(cell))
                    follow(level[i], cell, levelSteps[i]);
        if (m_stop)
            return;
        if (solved) {
            const Child& goal = children.back();
            JumpList path(jumps.begin() + goal.firstJump, jumps.begin() + goal.firstJump + goal.jumpCount);
            for (std::int32_t at = goal.parent; steps[at].parent >= 0; at = steps[at].parent)
                path.insert(path.begin(), jumps.begin() + steps[at].firstJump,
                            jumps.begin() + steps[at].firstJump + steps[at].jumpCount);
            if (CountMoves(path) < m_bestMoves) {
                m_bestJumps = path;
                m_bestMoves = CountMoves(path);
            }
            return;
        }
        KeepBestScored(children, width);
        level.clear();
        levelSteps.clear();
        for (const Child& child : children) {
            levelSteps.push_back(static_cast<std::int32_t>(steps.size()));
            steps.push_back({child.parent, child.firstJump, child.jumpCount});
            level.push_back(child.state);
        }
    }
}

void Search::improveMoves(const LevelRecord& record) {
    if (m_bestMoves == 0 || m_outOfBudget)
        return;
    // A beam first: it finds short solutions quickly, and the shorter the known solution, the less
    // the proof has to search. Targets the fewest-moves search does not take get move-level beams
    // of growing width instead.
    MinMovesLimits beam;
    beam.method = MinMovesMethod::Beam;
    beam.seconds = std::max(0.0, m_limits.seconds - elapsed()) / 3;
    beam.knownMoves = m_bestMoves;
    beam.memoryBytes = m_limits.memoryBytes;
    const MinMovesResult shorter = FindFewestMoves(record, beam);
    m_lowerBound = std::max(m_lowerBound, shorter.lowerBound);
    m_peakBytes = shorter.peakBytes; // a beam the memory narrowed still leaves the proof its budget
    if (!shorter.jumps.empty() && shorter.moves < m_bestMoves &&
        ReplaySolution(record, shorter.jumps).solved) {
        m_bestJumps = shorter.jumps;
        m_bestMoves = shorter.moves;
    }
    // The levels from the goal alone may show that nothing beats the best.
    if (shorter.outcome == MinMovesOutcome::Proven && shorter.moves == m_bestMoves) {
        m_moveSearchFinished = true;
        return;
    }
    constexpr std::array<std::size_t, 3> Widths{500, 3000, 15000};
    for (const std::size_t width : Widths) {
        if (m_outOfBudget || shorter.outcome != MinMovesOutcome::Unsupported)
            break;
        setPhaseEnd(elapsed() + (m_limits.seconds - elapsed()) / 8.0);
        moveBeamSearch(width);
    }
    MinMovesLimits proof;
    proof.seconds = std::max(0.0, m_limits.seconds - elapsed());
    proof.maxPositions = static_cast<std::size_t>(m_limits.maxNodes);
    proof.knownMoves = m_bestMoves;
    proof.memoryBytes = m_limits.memoryBytes;
    const MinMovesResult fewest = FindFewestMoves(record, proof);
    m_lowerBound = std::max(m_lowerBound, fewest.lowerBound);
    m_peakBytes = std::max(m_peakBytes, fewest.peakBytes);
    m_memoryRanOut = m_memoryRanOut || fewest.memoryRanOut;
    if (fewest.outcome == MinMovesOutcome::Proven) {
        if (!fewest.jumps.empty() && fewest.moves < m_bestMoves) {
            m_bestJumps = fewest.jumps;
            m_bestMoves = fewest.moves;
        }
        m_moveSearchFinished = true;
        return;
    }
    // The proof ran out of memory or time; a branch-and-bound search needs little memory and can
    // only do better than the best found so far.
    m_path.clear();
    setPhaseEnd(m_limits.seconds);
    branchAndBound(m_start, NoLanding, 0);
    m_moveSearchFinished = !m_stop;
}

} // namespace

int CountMoves(const JumpList& jumps) {
    int moves = 0;
    int landing = NoLanding;
    for (const SolverJump jump : jumps) {
        if (landing != jump.from)
            ++moves;
        landing = jump.to;
    }
    return moves;
}

ReplayResult ReplaySolution(const LevelRecord& record, const JumpList& jumps) {
    ReplayResult result;
    if (jumps.empty()) {
        result.problem = "the solution holds no jump";
        return result;
    }
    if (jumps.size() > static_cast<std::size_t>(SolutionCapacity)) {
        result.problem = "the solution has more than 80 jumps";
        return result;
    }
    Position position = record.StartCells;
    for (std::size_t k = 0; k < jumps.size(); ++k) {
        if (IsSolved(position, record)) {
            result.failedJump = static_cast<int>(k);
            result.problem = "the board is already solved before jump " + std::to_string(k + 1);
            return result;
        }
        if (!PlayJump(position, record, jumps[k])) {
            result.failedJump = static_cast<int>(k);
            result.problem = "jump " + std::to_string(k + 1) + " (" + std::to_string(jumps[k].from) + "-" +
                             std::to_string(jumps[k].to) + ") is not a legal jump";
            return result;
        }
    }
    result.moves = CountMoves(jumps);
    result.solved = IsSolved(position, record);
    if (!result.solved)
        result.problem = "the last jump does not reach the target";
    return result;
}

JumpList StoredSolution(const LevelRecord& record) {
    JumpList jumps;
    if (!record.hasSolution())
        return jumps;
    Position position = record.StartCells;
    for (int k = 0; k < SolutionCapacity; ++k) {
        const SolverJump jump{record.SolutionFrom[k], record.SolutionTo[k]};
        if (!PlayJump(position, record, jump))
            return {};
        jumps.push_back(jump);
        if (IsSolved(position, record))
            return jumps;
    }
    return {};
}

void StoreSolutionInRecord(LevelRecord& record, const JumpList& jumps) {
    record.SolutionFrom.fill(0);
    record.SolutionTo.fill(0);
    const std::size_t count = std::min<std::size_t>(jumps.size(), SolutionCapacity);
    for (std::size_t k = 0; k < count; ++k) {
        record.SolutionFrom[k] = jumps[k].from;
        record.SolutionTo[k] = jumps[k].to;
    }
    record.SolutionMoves =
        static_cast<std::uint8_t>(CountMoves(JumpList(jumps.begin(), jumps.begin() + count)));
}

SolveResult SolveBoard(const LevelRecord& record, const SolverLimits& limits) {
    SolveResult result;
    if (IsSolved(record.StartCells, record)) {
        result.status = SolveStatus::Solved;
        result.fewestMovesProven = true;
        return result;
    }
    Search search(record, limits);
    const SolveStatus possible = search.prepare(record);
    if (possible != SolveStatus::Solved) {
        result.status = possible;
        result.fewestMovesProven = possible == SolveStatus::Unsolvable;
        result.seconds = search.elapsed();
        return result;
    }
    const bool knownSolves = ReplaySolution(record, limits.knownSolution).solved;
    if (knownSolves)
        search.startFrom(limits.knownSolution);
    bool found = knownSolves;
    try {
        found = found || search.findAny();
        if (found && limits.preferFewerMoves)
            search.improveMoves(record);
    } catch (const std::bad_alloc&) {
        search.stopForWantOfMemory();
    }
    // A best solution cut short by the failed allocation is no solution: the known one stands.
    const bool bestSolves = found && ReplaySolution(record, search.best()).solved;
    if (bestSolves || knownSolves) {
        result.status = SolveStatus::Solved;
        result.jumps = bestSolves ? search.best() : limits.knownSolution;
        result.moves = CountMoves(result.jumps);
        result.fewestMovesProven = bestSolves && (search.bestMoves() == 0 || search.moveSearchFinished());
        result.movesLowerBound =
            result.fewestMovesProven ? result.moves : std::min(result.moves, search.lowerBound());
    } else {
        result.status =
            search.exhausted() && !search.memoryRanOut() ? SolveStatus::Unsolvable : SolveStatus::GaveUp;
    }
    result.nodes = search.nodes();
    result.seconds = search.elapsed();
    result.peakBytes = search.peakBytes();
    result.memoryRanOut = search.memoryRanOut();
    return result;
}
