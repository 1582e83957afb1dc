// SPDX-License-Identifier: GPL-3.0-or-later
// What the rest of the game asks of the solver: solutions replayed and stored, a way found to solve
// a board (any, preferring fewer moves), the fewest moves proved, whether a position in play can
// still reach its target, and the amounts of memory the searches may take. Everything else in this
// folder is the searches' own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rules/LevelRecord.h"
#include "solver/Solutions.h"

// ---------------------------------------------------------------------------------------------
// A way to solve a board with the game's own rules, preferring fewer moves.

// What a running search has got so far, for a caller that shows it while it waits (any thread may
// read it at any time).
struct SearchProgress {
    std::atomic<std::uint64_t> positions{0}; // positions examined so far
    std::atomic<int> bestMoves{0};           // moves of the best solution so far; 0 = none yet
    std::atomic<int> lowerBound{0};          // no solution has fewer moves
};

struct SolverLimits {
    double seconds = 10.0; // wall-clock guard for the whole search
    // The budget of work: positions examined by every method of the search together (0 = none). With
    // it every method gets its share of the positions rather than of the time, and the proof runs on
    // one thread, so the same board and limits give the same result however busy the machine is.
    std::uint64_t maxNodes = 0;
    std::size_t maxTableEntries = 0; // 0 = the solver's default; positions remembered per table
    std::size_t memoryBytes = 0;     // what the proof of the fewest moves may hold; 0 = its default
    // What the whole process may hold resident, checked against what it really holds (0: not
    // checked); the proof then takes no more than is left of it.
    std::size_t processBytes = 0;
    bool preferFewerMoves = true; // false: stop at the first solution found
    // The beam counts every jump it looks at as a position examined, as the depth-first search in
    // effect does, rather than every position whose jumps it looks at: a budget then buys the same
    // work on a full board of 81 holes (a hundred jumps and more from each position) as on a board
    // of 33. Off for the designers' tool, whose stored commands were counted the other way.
    bool countEveryJump = false;
    JumpList knownSolution; // a solution known already (a stored one): only fewer moves are sought
    // Set from another thread to end the search as if its time had run out (nullptr: never).
    const std::atomic<bool>* cancelled = nullptr;
    SearchProgress* progress = nullptr; // kept up to date while the search runs (nullptr: not needed)
};

enum class SolveStatus {
    Solved,     // jumps hold a solution
    Unsolvable, // the whole search space was exhausted without a solution
    GaveUp,     // the limits ran out before any solution was found
    Unsupported // the board holds peg codes other than 2 and 3 and its target depends on them
};

// Why a board cannot be solved, as far as it is cheap to tell.
enum class UnsolvableReason {
    None,
    NoPegs,        // the start holds no peg
    TargetMisfit,  // the target's holes differ from the start's, or it asks for more pegs of a colour
    PositionClass, // the target lies in another position class than the start
    Pagoda,        // the target outweighs the start by a pagoda function, which no jump raises
    Searched       // every sequence of jumps was tried
};

struct SolveResult {
    SolveStatus status = SolveStatus::GaveUp;
    UnsolvableReason reason = UnsolvableReason::None; // with Unsolvable
    JumpList jumps;
    int moves = 0;
    bool fewestMovesProven = false; // no solution has fewer moves than `moves`
    int movesLowerBound = 0;        // no solution has fewer moves than this (= moves when proven)
    std::uint64_t nodes = 0;        // positions examined by every method together
    double seconds = 0.0;
    std::size_t peakBytes = 0; // the most the proof's tables held at once, as the proof counts them
    bool memoryRanOut = false; // the search stopped because the memory would not have lasted
    bool clockStopped = false; // the guard of seconds, not the work budget, ended the search
    bool workRanOut = false;   // the budget of positions ended the search
};

// Searches depth-first for any solution, then spends the rest of the budget on solutions with fewer
// moves: a beam search over whole moves, then the proof of the fewest (FindFewestMoves), and where
// that runs out of memory, a branch-and-bound search.
// A board already solved at its start position gives Solved with no jumps. Running out of memory
// ends the search like running out of time: the best solution found so far is kept.
SolveResult SolveBoard(const LevelRecord& record, const SolverLimits& limits);

// ---------------------------------------------------------------------------------------------
// The fewest moves that solve a board, proved: a breadth-first search over move counts from the
// start and from the goal at once, on compact positions with the board's symmetries folded.

enum class MinMovesMethod {
    Chosen,          // by layers for a while on boards of few pegs, then meeting in the middle
    MeetInTheMiddle, // move by move, from the start and from the goal at once
    ByLayers,        // jump by jump from the start, one peg count at a time
    // Finds short solutions and proves nothing: levels from the goal for a third of the time, then
    // from the start move by move only the positions that look nearest the goal, until one meets
    // those levels; `beamWidth` of them on each level at first, four times as many each time after.
    // Under a budget of work the first beam is narrow, and a wider one is begun only where what is
    // left of its share pays for it, judged by what the last one cost.
    Beam
};

struct MinMovesLimits {
    double seconds = 10.0;
    std::size_t maxPositions = 0; // positions remembered on both sides; 0 = as many as the memory allows
    // Positions examined (0 = no budget): the budget of work. With it the search runs on one thread and
    // splits its methods' shares by work, so its result does not depend on the clock.
    std::uint64_t maxWork = 0;
    // What the search may hold at once; 0 = DefaultMemoryBudget(). With `processBytes` the search also
    // stops before the process's resident memory passes that.
    std::size_t memoryBytes = 0;
    std::size_t processBytes = 0;
    SearchProgress* progress = nullptr; // kept up to date as the search goes (nullptr: not needed)
    int threads = 0;                    // 0 = one per core
    int knownMoves = 0; // a solution with this many moves is known (0 = none): only fewer are sought
    MinMovesMethod method = MinMovesMethod::Chosen;
    std::size_t beamWidth = 50000; // with the beam: the positions kept on each level at first
};

enum class MinMovesOutcome {
    Proven,      // `moves` is the fewest
    Unsolvable,  // no sequence of jumps reaches the goal
    OutOfLimits, // time, memory or positions ran out; `lowerBound` holds what was proved
    Unsupported  // the target depends on cell codes other than 0 to 3
};

struct MinMovesResult {
    MinMovesOutcome outcome = MinMovesOutcome::OutOfLimits;
    int moves = 0;
    JumpList jumps;     // a solution with `moves` moves; empty when the known solution is already the fewest
    int lowerBound = 0; // no solution has fewer moves
    std::uint64_t positions = 0; // positions remembered
    std::uint64_t work = 0;      // positions examined
    double seconds = 0.0;
    std::size_t peakBytes = 0; // the most the search's tables and levels held at once
    bool memoryRanOut = false; // the search stopped because the next level would not fit
    bool clockStopped = false; // the time ran out
    bool workRanOut = false;   // the budget of positions ran out
};

// The board must not be solved at its start (then no move is needed and there is nothing to search).
// Never throws for want of memory: a search that cannot get it stops as when its time runs out.
MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits);

// ---------------------------------------------------------------------------------------------
// The memory the searches may take.

// Half of the machine's physical memory, less when the process may not map that much.
std::size_t DefaultMemoryBudget();

// An amount of memory as the tools take it: a whole number of bytes, or of KiB, MiB or GiB with the
// suffix K, M or G ("512M", "6G"). False for anything else, for zero and for amounts past the
// address space.
bool ParseMemoryAmount(const std::string& text, std::size_t& bytes);

// The amount in MiB or GiB with one decimal, as the tools print it ("1.5 GiB").
std::string MemoryText(std::size_t bytes);

// What the process holds in memory now (its resident set), and the most it has held since it began
// or since ResetPeakResident (where the system allows that); 0 where the system does not tell.
std::size_t ResidentBytes();
std::size_t PeakResidentBytes();
void ResetPeakResident();

// ---------------------------------------------------------------------------------------------
// Whether a position in play can still reach its board's target, as the hint and the dead-end
// warning ask it: yes (with a way to it, whose first jump the hint shows), no, or not known when the
// budget of positions ran out first. The answers of one board come from its engine, which keeps what
// earlier questions proved for later ones and once made, holds a table of the positions of up to some
// number of pegs that reach the target.

enum class Reach {
    Reachable,   // a way to the target exists; `move` starts it unless the position is solved already
    Unreachable, // no sequence of jumps reaches the target
    Unknown      // the budget ran out (or the board holds codes the search does not know)
};

struct ReachAnswer {
    Reach reach = Reach::Unknown;
    bool hasMove = false;
    SolverJump move{}; // a jump after which the target is still reachable
    // The whole way found, `move` first; only its start, where the way is known to exist but the
    // budget ran out before the search below the built-in opening book found the rest of it.
    JumpList way;
};

struct ReachLimits {
    // Positions examined before the answer is "not known": the budget is work, so that a position
    // gets the same answer on an idle and on a busy machine.
    std::uint64_t positions = 3'000'000;
    // A last guard where a person waits, in seconds of the clock (0: none).
    double seconds = 0;
    // Set from another thread to give up early; the answer is then Unknown.
    const std::atomic<bool>* cancelled = nullptr;
    // False where only the answer counts: a position known to reach the target needs no way found.
    bool wantWay = true;
};

// What a board's table took, for the benchmarks.
struct ReachTableFacts {
    bool built = false;
    int topPegs = 0; // positions of up to this many pegs are answered by a look-up
    std::size_t positions = 0;
    std::size_t bytes = 0;     // what the table holds
    std::size_t peakBytes = 0; // the most its making held at once
    std::uint64_t work = 0;    // jumps taken back while it was made
};

namespace reach {
class Oracle;
}

// One board's answers, asked from any thread (questions take turns). Its pages of the opening book
// built into the game (the answers for the positions of the first jumps) are opened and its table made
// once by `prepare`, on a thread of the caller's; until they are ready the questions are answered by
// the search alone. Boards of more than 64 holes, and targets that depend on codes above 3, go to SolveBoard.
class BoardReach {
public:
    explicit BoardReach(const LevelRecord& record);
    ~BoardReach();
    BoardReach(const BoardReach&) = delete;
    BoardReach& operator=(const BoardReach&) = delete;

    // Whether this engine answers for `record` too: the same holes, jump lines and target, and a start
    // of the same position class, whatever its names or stored solution.
    bool serves(const LevelRecord& record) const;
    // Opens the board's pages of the opening book, where the book has them (up to a tenth of a second
    // of one core), and makes the table, within a budget of work of some 1.4 s of one core on the
    // 33-hole boards; returns early, without them, once `cancelled` is set.
    void prepare(const std::atomic<bool>* cancelled = nullptr);
    ReachTableFacts tableFacts() const;

    // `cells` is a position on the board (its holes where the record has them).
    ReachAnswer ask(const Position& cells, const ReachLimits& limits);

private:
    LevelRecord m_record;
    std::unique_ptr<reach::Oracle> m_oracle; // none for the boards that go to SolveBoard
};

// One question on its own: an engine made for it, without a table.
ReachAnswer AskReachable(const LevelRecord& record, const Position& cells, const ReachLimits& limits);
