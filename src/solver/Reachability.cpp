// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Solver.h"

#include <algorithm>
#include <chrono>

#include "rules/Rules.h"
#include "solver/ReachOracle.h"

namespace {

// The table's budget: up to 15 pegs on the English Cross, some 1.4 s of one core and 77 MB, and at
// most 1.8 s on the boards of up to 33 holes. A level costs about as much as all those below it:
// with 16 pegs (40 million jumps taken back) the English Cross took 2.1 s, and the slowest of those
// boards 2.6 s, past the 2 s a board may cost when it is shown.
constexpr std::uint64_t TableWork = 25'000'000;
// On the larger boards a question searches far longer, and the level more pays for itself: on the
// German Board (45 holes) 13 pegs in 2.1 s, where 12 take 0.6 s, bring the hint's 99th percentile
// down from 1.4 s of one core to 0.9 s, and its budget of seconds is a guard of 2 s.
constexpr std::uint64_t LargerBoardTableWork = 40'000'000;
constexpr int MostHolesOfASmallBoard = 33;
constexpr std::size_t TablePositions = 8'000'000;
// A jump the general solver looks at costs about five of the engine's on the largest boards (81
// holes): a question's budget buys it a fifth as many, some second of one core for the watch's.
constexpr std::uint64_t SolverJumpCost = 5;
// Only a last guard where no one waits: the budget ends the search long before it.
constexpr double SolverGuardSeconds = 30.0;

// A position on the way of the board's stored solution has the rest of that way ahead of it: no search.
JumpList RestOfStoredWay(const LevelRecord& record, const Position& cells) {
    const JumpList stored = StoredSolution(record);
    Position position = record.StartCells;
    for (std::size_t k = 0; k < stored.size(); ++k) {
        if (position == cells)
            return JumpList(stored.begin() + static_cast<std::ptrdiff_t>(k), stored.end());
        const JumpCheck check = IsLegalJump(position, record, stored[k].from, stored[k].to);
        ApplyJump(position, stored[k].from, check.jumpedOver, stored[k].to, position[stored[k].from]);
    }
    return {};
}

// The board with the position in play as its start, the target unchanged.
LevelRecord StartingAt(const LevelRecord& record, const Position& cells) {
    LevelRecord fromHere = record;
    fromHere.StartCells = cells;
    return fromHere;
}

ReachAnswer ReachableBy(const JumpList& way) {
    ReachAnswer answer;
    answer.reach = Reach::Reachable;
    answer.hasMove = true;
    answer.move = way.front();
    answer.way = way;
    return answer;
}

// The opening book or the memory of proofs knows the target within reach, and each jump of `start`
// keeps it so; the search below what they knew did not find the rest of the way. The jumps are
// trusted once the rules play them.
ReachAnswer ReachableAlong(const LevelRecord& record, const Position& cells, const JumpList& start) {
    ReachAnswer answer;
    answer.reach = Reach::Reachable;
    if (!start.empty() && ReplaySolution(StartingAt(record, cells), start).failedJump < 0) {
        answer.hasMove = true;
        answer.move = start.front();
        answer.way = start;
    }
    return answer;
}

// A way is only trusted once the game's own rules have replayed it to the target.
bool Replays(const LevelRecord& record, const Position& cells, const JumpList& way) {
    return ReplaySolution(StartingAt(record, cells), way).solved;
}

// Boards beyond the engine (more than 64 holes, or codes above 3 that the target depends on) are
// asked of the general solver: the position in play becomes the start of a board with the same
// target.
ReachAnswer AskTheSolver(const LevelRecord& record, const Position& cells, const ReachLimits& limits) {
    LevelRecord fromHere = StartingAt(record, cells);
    fromHere.SolutionMoves = 0;
    SolverLimits search;
    search.seconds = limits.seconds > 0 ? limits.seconds : SolverGuardSeconds;
    // No node limit would be none at all. With every jump counted the budget is work on any board,
    // so that a position gets the same answer on an idle and on a busy machine.
    search.maxNodes = std::max<std::uint64_t>(limits.positions / SolverJumpCost, 1);
    search.countEveryJump = true;
    search.preferFewerMoves = false;
    search.cancelled = limits.cancelled;
    const SolveResult result = SolveBoard(fromHere, search);
    ReachAnswer answer;
    if (result.status == SolveStatus::Unsolvable)
        answer.reach = Reach::Unreachable;
    else if (result.status == SolveStatus::Solved && !result.jumps.empty() &&
             Replays(record, cells, result.jumps))
        answer = ReachableBy(result.jumps);
    return answer;
}

// The same holes, jump lines and target.
bool SameBoard(const LevelRecord& a, const LevelRecord& b) {
    if (a.isHexagon() != b.isHexagon() || (!a.isHexagon() && a.allowsDiagonal() != b.allowsDiagonal()))
        return false;
    for (int cell = 0; cell < CellCount; ++cell) {
        const bool onA = IsOnBoard(a, cell), onB = IsOnBoard(b, cell);
        if (onA != onB || (onA && ((a.StartCells[cell] == NoHole) != (b.StartCells[cell] == NoHole) ||
                                   a.TargetCells[cell] != b.TargetCells[cell])))
            return false;
    }
    return true;
}

} // namespace

BoardReach::BoardReach(const LevelRecord& record) : m_record(record), m_oracle(reach::Oracle::For(record)) {}

BoardReach::~BoardReach() = default;

bool BoardReach::serves(const LevelRecord& record) const {
    return m_oracle ? m_oracle->serves(record) : SameBoard(m_record, record) && !reach::Oracle::Takes(record);
}

void BoardReach::prepare(const std::atomic<bool>* cancelled) {
    if (!m_oracle)
        return;
    reach::TableBudget budget;
    budget.work = m_oracle->holes() > MostHolesOfASmallBoard ? LargerBoardTableWork : TableWork;
    budget.positions = TablePositions;
    budget.cancelled = cancelled;
    m_oracle->openBuiltInPages(cancelled);
    m_oracle->buildTable(budget);
}

ReachTableFacts BoardReach::tableFacts() const {
    ReachTableFacts facts;
    const std::shared_ptr<const reach::Table> table = m_oracle ? m_oracle->table() : nullptr;
    if (!table)
        return facts;
    facts.built = true;
    facts.topPegs = table->top();
    facts.positions = table->positions();
    facts.bytes = table->bytes();
    facts.peakBytes = table->peakBytes();
    facts.work = table->work();
    return facts;
}

ReachAnswer BoardReach::ask(const Position& cells, const ReachLimits& limits) {
    ReachAnswer answer;
    if (IsSolved(cells, m_record)) {
        answer.reach = Reach::Reachable;
        return answer;
    }
    const JumpList stored = RestOfStoredWay(m_record, cells);
    if (!stored.empty())
        return ReachableBy(stored);
    if (!m_oracle)
        return AskTheSolver(m_record, cells, limits);
    reach::SearchLimits search;
    search.positions = limits.positions;
    search.cancelled = limits.cancelled;
    if (limits.seconds > 0)
        search.deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(limits.seconds));
    search.wantWay = limits.wantWay;
    const reach::OracleAnswer found = m_oracle->ask(cells, search);
    if (found.verdict == reach::Verdict::Dead)
        answer.reach = Reach::Unreachable;
    else if (found.verdict == reach::Verdict::Reaches && !limits.wantWay)
        answer.reach = Reach::Reachable;
    else if (found.verdict == reach::Verdict::Reaches && !found.wayToTarget)
        answer = ReachableAlong(m_record, cells, found.way);
    else if (found.verdict == reach::Verdict::Reaches && !found.way.empty() &&
             Replays(m_record, cells, found.way))
        answer = ReachableBy(found.way);
    return answer;
}

ReachAnswer AskReachable(const LevelRecord& record, const Position& cells, const ReachLimits& limits) {
    return BoardReach(record).ask(cells, limits);
}
