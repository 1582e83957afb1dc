// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Solver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <new>

#include "rules/Rules.h"
#include "solver/BoardGoal.h"
#include "solver/BoardSymmetry.h"
#include "solver/CellSets.h"
#include "solver/HoleModel.h"
#include "solver/SearchBounds.h"

namespace solve_board {

namespace {

// The landing of no jump: the peg that moves next begins a move of its own.
constexpr int NoLanding = 255;

constexpr std::size_t DefaultTableEntries = std::size_t{3} << 20;
// A table entry costs some 25 bytes, at most 70 % of the slots are used and a table that grows holds
// its old slots beside the new ones: each of the two tables gets a sixteenth of the memory.
constexpr std::size_t MemoryPerTableEntry = 16 * 72;
// With a budget of work, the first depth-first try gets this many positions at most (about what half
// a second of it examines), or a fifth of the budget.
constexpr std::uint64_t FirstDepthFirstNodes = 1'000'000;

std::size_t TableEntries(const SolverLimits& limits) {
    if (limits.maxTableEntries)
        return limits.maxTableEntries;
    const std::size_t memory = limits.processBytes ? limits.processBytes : limits.memoryBytes;
    if (memory)
        return std::clamp<std::size_t>(memory / MemoryPerTableEntry, 1024, DefaultTableEntries);
    return DefaultTableEntries;
}

class Search {
public:
    Search(const LevelRecord& record, const SolverLimits& limits)
        : m_limits(limits), m_started(std::chrono::steady_clock::now()), m_dead(TableEntries(limits)),
          m_bestCost(TableEntries(limits)) {
        if (limits.processBytes) {
            const std::size_t headroom =
                std::max<std::size_t>(limits.processBytes / 16, std::size_t{1} << 20);
            m_processStop = limits.processBytes > headroom ? limits.processBytes - headroom : 1;
        }
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
    bool pagodaRulesOut() const { return m_pagodaRulesOut; }
    std::size_t peakBytes() const { return m_peakBytes; }
    bool memoryRanOut() const { return m_memoryRanOut; }
    bool clockStopped() const { return m_clockStopped; }
    bool workRanOut() const { return m_workRanOut; }
    // Gives up the rest of the budget, as when an allocation fails.
    void stopForWantOfMemory() { m_memoryRanOut = m_outOfBudget = m_stop = true; }
    std::uint64_t nodes() const { return m_nodes; }
    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }

private:
    bool budgeted() const { return m_limits.maxNodes != 0; }
    std::uint64_t nodesLeft() const { return m_limits.maxNodes > m_nodes ? m_limits.maxNodes - m_nodes : 0; }
    // The current phase ends after `share` of what is left: of the positions with a budget of work,
    // else of the time (and at the overall limits in any case).
    void setPhaseShare(double share) {
        m_phaseEnd = budgeted() ? m_limits.seconds : elapsed() + (m_limits.seconds - elapsed()) * share;
        m_phaseEndNodes = budgeted()
                              ? m_nodes + static_cast<std::uint64_t>(static_cast<double>(nodesLeft()) * share)
                              : std::numeric_limits<std::uint64_t>::max();
        m_stop = m_outOfBudget;
    }
    // The same with the phase's end given outright.
    void setPhaseEnd(double seconds, std::uint64_t nodes) {
        m_phaseEnd = budgeted() ? m_limits.seconds : std::min(seconds, m_limits.seconds);
        m_phaseEndNodes =
            budgeted() ? m_nodes + std::min(nodes, nodesLeft()) : std::numeric_limits<std::uint64_t>::max();
        m_stop = m_outOfBudget;
    }
    // What a fewest-moves search is given of the limits: its share of the time or work left, the
    // memory, and the caller's progress.
    MinMovesLimits shareOfLimits(double share) const {
        MinMovesLimits limits;
        limits.seconds = std::max(0.0, m_limits.seconds - elapsed()) * (budgeted() ? 1.0 : share);
        if (budgeted())
            limits.maxWork = std::max<std::uint64_t>(
                static_cast<std::uint64_t>(static_cast<double>(nodesLeft()) * share), 1);
        limits.memoryBytes = m_limits.memoryBytes;
        limits.processBytes = m_limits.processBytes;
        limits.progress = m_limits.progress;
        return limits;
    }
    // Takes what a fewest-moves search did into the search's own counts.
    void countIn(const MinMovesResult& result) {
        m_nodes += result.work;
        m_clockStopped = m_clockStopped || result.clockStopped;
        m_workRanOut = m_workRanOut || result.workRanOut;
        m_lowerBound = std::max(m_lowerBound, result.lowerBound);
        publish();
    }
    void publish() const {
        if (!m_limits.progress)
            return;
        m_limits.progress->positions.store(m_nodes, std::memory_order_relaxed);
        m_limits.progress->lowerBound.store(m_lowerBound, std::memory_order_relaxed);
        if (m_bestMoves != std::numeric_limits<int>::max())
            m_limits.progress->bestMoves.store(m_bestMoves, std::memory_order_relaxed);
    }
    bool depthFirstUntil();
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
    std::uint64_t m_phaseEndNodes = std::numeric_limits<std::uint64_t>::max();
    std::size_t m_processStop = 0; // stop once the process holds more than this; 0 = never
    bool m_clockStopped = false;
    bool m_workRanOut = false;
    bool m_pagodaRulesOut = false;
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
    const BoardGoal goal = ReadGoal(record);
    if (goal.reading == GoalReading::Unsolvable)
        return SolveStatus::Unsolvable;
    if (goal.reading == GoalReading::Unsupported)
        return SolveStatus::Unsupported;
    const auto cellsOf = [](const std::vector<int>& cells) {
        Bits bits;
        for (const int cell : cells)
            bits = bits | Bits::cell(cell);
        return bits;
    };
    m_start = {cellsOf(goal.startPegs), cellsOf(goal.startSecond)};
    m_goal = {cellsOf(goal.goalPegs), cellsOf(goal.goalSecond)};
    m_singlePegGoal = goal.singlePeg;
    m_goalSecond = m_goal.second.count();
    m_goalFirst = m_goal.pegs.count() - m_goalSecond;
    m_symmetries.build(record, !m_singlePegGoal);
    buildPagodas(record);
    if (hopeless(m_start)) {
        m_pagodaRulesOut = true;
        return SolveStatus::Unsolvable;
    }
    return SolveStatus::Solved;
}

bool Search::tick() {
    ++m_nodes;
    if (m_stop)
        return false;
    if (m_limits.maxNodes != 0 && m_nodes > m_limits.maxNodes) {
        m_outOfBudget = m_stop = m_workRanOut = true;
    } else if (m_nodes > m_phaseEndNodes) {
        m_stop = true;
    } else if ((m_nodes & 1023) == 0) {
        const double now = elapsed();
        m_clockStopped = m_clockStopped || now > m_limits.seconds;
        m_outOfBudget = m_clockStopped || (m_limits.cancelled != nullptr &&
                                           m_limits.cancelled->load(std::memory_order_relaxed));
        m_stop = m_outOfBudget || now > m_phaseEnd;
        // The tables and beams grow as they go: what the process holds is looked at now and then.
        if ((m_nodes & 4095) == 0 && m_processStop > 0 && ResidentBytes() > m_processStop)
            stopForWantOfMemory();
        if ((m_nodes & 65535) == 0)
            publish();
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
            if (!m_limits.countEveryJump && !tick())
                return false;
            const State& s = level[i];
            for (const JumpLine& line : m_lines) {
                if (!s.pegs.containsAll(line.fromAndOver) || s.pegs.meets(line.toMask))
                    continue;
                if (m_limits.countEveryJump && !tick())
                    return false;
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
bool Search::depthFirstUntil() {
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
    setPhaseEnd(std::min(FirstDepthFirst, m_limits.seconds / 5.0),
                std::min(FirstDepthFirstNodes, m_limits.maxNodes / 5));
    bool found = depthFirstUntil();
    for (std::size_t k = 0; k < BeamWidths.size() && !found && !m_exhausted && !m_outOfBudget; ++k) {
        setPhaseShare(1.0 / 3.0);
        found = beamSearch(BeamWidths[k]);
    }
    if (!found && !m_exhausted && !m_outOfBudget) {
        setPhaseShare(1.0);
        found = depthFirstUntil();
    }
    if (!found)
        return false;
    m_bestMoves = CountMoves(m_bestJumps);
    publish();
    return true;
}

void Search::branchAndBound(const State& s, int landing, int cost) {
    if (isGoal(s)) {
        if (cost < m_bestMoves) {
            m_bestMoves = cost;
            m_bestJumps = m_path;
            publish();
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
    publish();
    MinMovesLimits beam = shareOfLimits(1.0 / 3.0);
    beam.method = MinMovesMethod::Beam;
    beam.knownMoves = m_bestMoves;
    const MinMovesResult shorter = FindFewestMoves(record, beam);
    countIn(shorter);
    m_peakBytes = shorter.peakBytes; // a beam the memory narrowed still leaves the proof its budget
    if (!shorter.jumps.empty() && shorter.moves < m_bestMoves &&
        ReplaySolution(record, shorter.jumps).solved) {
        m_bestJumps = shorter.jumps;
        m_bestMoves = shorter.moves;
        publish();
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
        setPhaseShare(1.0 / 8.0);
        moveBeamSearch(width);
    }
    // The proof gets the rest but for a little, so that the search below has a share of its own.
    MinMovesLimits proof = shareOfLimits(budgeted() ? 0.9 : 1.0);
    proof.knownMoves = m_bestMoves;
    const MinMovesResult fewest = FindFewestMoves(record, proof);
    countIn(fewest);
    m_memoryRanOut = m_memoryRanOut || fewest.memoryRanOut;
    m_peakBytes = std::max(m_peakBytes, fewest.peakBytes);
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
    setPhaseShare(1.0);
    branchAndBound(m_start, NoLanding, 0);
    m_moveSearchFinished = !m_stop;
}

} // namespace

} // namespace solve_board

namespace {

// What the position classes and the fewest-moves search's pagoda functions tell of the board at
// once, without a search; None when they allow a solution.
UnsolvableReason ReasonBeforeSearch(const LevelRecord& record) {
    fewest_moves::HoleModel model;
    const MinMovesOutcome outcome = fewest_moves::BuildModel(record, model, false);
    if (outcome == MinMovesOutcome::Unsolvable)
        return UnsolvableReason::PositionClass;
    if (outcome != MinMovesOutcome::Proven)
        return UnsolvableReason::None;
    HolePegs start(model.holes, 0), goal(model.holes, 0);
    for (const int i : model.startPegs)
        start[i] = 1;
    for (const int i : model.startSecond)
        start[i] = 2;
    for (const int i : model.goalPegs)
        goal[i] = 1;
    for (const int i : model.goalSecond)
        goal[i] = 2;
    for (const PagodaFunction& pagoda : model.bounds.pagodas) {
        int least = std::numeric_limits<int>::max();
        if (model.singlePegGoal) {
            for (const int i : model.lastPegHoles)
                least = std::min(least, pagoda.peg[i]);
        } else {
            least = PagodaValue(pagoda, goal);
        }
        if (PagodaValue(pagoda, start) < least)
            return UnsolvableReason::Pagoda;
    }
    return UnsolvableReason::None;
}

SolveResult Unsolvable(UnsolvableReason reason, double seconds) {
    SolveResult result;
    result.status = SolveStatus::Unsolvable;
    result.reason = reason;
    result.fewestMovesProven = true;
    result.seconds = seconds;
    return result;
}

} // namespace

SolveResult SolveBoard(const LevelRecord& record, const SolverLimits& limits) {
    SolveResult result;
    if (IsSolved(record.StartCells, record)) {
        result.status = SolveStatus::Solved;
        result.fewestMovesProven = true;
        return result;
    }
    if (CountPegs(record.StartCells, record) == 0)
        return Unsolvable(UnsolvableReason::NoPegs, 0);
    solve_board::Search search(record, limits);
    const SolveStatus possible = search.prepare(record);
    if (possible == SolveStatus::Unsolvable)
        return Unsolvable(search.pagodaRulesOut() ? UnsolvableReason::Pagoda : UnsolvableReason::TargetMisfit,
                          search.elapsed());
    if (possible != SolveStatus::Solved) {
        result.status = possible;
        result.seconds = search.elapsed();
        return result;
    }
    // A designer waits for the whole budget: a board that cannot be solved is told at once where
    // that is cheap. Where only a way is asked for, the check waits until the search found none.
    if (limits.preferFewerMoves) {
        const UnsolvableReason reason = ReasonBeforeSearch(record);
        if (reason != UnsolvableReason::None)
            return Unsolvable(reason, search.elapsed());
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
    } else if (search.exhausted() && !search.memoryRanOut()) {
        result.status = SolveStatus::Unsolvable;
        result.reason = UnsolvableReason::Searched;
    } else {
        result.status = SolveStatus::GaveUp;
        if (!limits.preferFewerMoves) {
            const UnsolvableReason reason = ReasonBeforeSearch(record);
            if (reason != UnsolvableReason::None) {
                result.status = SolveStatus::Unsolvable;
                result.reason = reason;
            }
        }
    }
    result.nodes = search.nodes();
    result.seconds = search.elapsed();
    result.peakBytes = search.peakBytes();
    result.memoryRanOut = search.memoryRanOut();
    const bool proven = result.status != SolveStatus::Solved || result.fewestMovesProven;
    result.clockStopped = !proven && search.clockStopped();
    result.workRanOut = !proven && search.workRanOut();
    return result;
}
