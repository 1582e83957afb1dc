// SPDX-License-Identifier: GPL-3.0-or-later
// What the rest of the game asks of the solver: solutions replayed and stored, a way found to solve
// a board (any, preferring fewer moves), the fewest moves proved, whether a position in play can
// still reach its target, and the amounts of memory the searches may take. Everything else in this
// folder is the searches' own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "rules/LevelRecord.h"
#include "solver/Solutions.h"

// ---------------------------------------------------------------------------------------------
// A way to solve a board with the game's own rules, preferring fewer moves.

struct SolverLimits {
    double seconds = 10.0;           // wall-clock budget for the whole search
    std::uint64_t maxNodes = 0;      // 0 = no node limit; also caps the positions the proof remembers
    std::size_t maxTableEntries = 0; // 0 = the solver's default; positions remembered per table
    std::size_t memoryBytes = 0;     // what the proof of the fewest moves may hold; 0 = its default
    bool preferFewerMoves = true;    // false: stop at the first solution found
    JumpList knownSolution;          // a solution known already (a stored one): only fewer moves are sought
    // Set from another thread to end the search as if its time had run out (nullptr: never).
    const std::atomic<bool>* cancelled = nullptr;
};

enum class SolveStatus {
    Solved,     // jumps hold a solution
    Unsolvable, // the whole search space was exhausted without a solution
    GaveUp,     // the limits ran out before any solution was found
    Unsupported // the board holds peg codes other than 2 and 3 and its target depends on them
};

struct SolveResult {
    SolveStatus status = SolveStatus::GaveUp;
    JumpList jumps;
    int moves = 0;
    bool fewestMovesProven = false; // no solution has fewer moves than `moves`
    int movesLowerBound = 0;        // no solution has fewer moves than this (= moves when proven)
    std::uint64_t nodes = 0;
    double seconds = 0.0;
    std::size_t peakBytes = 0; // the most the proof's tables held at once
    bool memoryRanOut = false; // the proof stopped because its next level would not fit
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
    Beam
};

struct MinMovesLimits {
    double seconds = 10.0;
    std::size_t maxPositions = 0; // positions remembered on both sides; 0 = as many as the memory allows
    std::size_t memoryBytes = 0;  // what the search may hold at once; 0 = DefaultMemoryBudget()
    int threads = 0;              // 0 = one per core
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
    std::uint64_t positions = 0;
    double seconds = 0.0;
    std::size_t peakBytes = 0; // the most the search's tables and levels held at once
    bool memoryRanOut = false; // the search stopped because the next level would not fit
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

// ---------------------------------------------------------------------------------------------
// Whether a position in play can still reach its board's target, as the hint and the dead-end
// warning ask it: the solver searches from the position within a time budget and answers yes (with
// a jump that keeps the target in reach), no, or not known.

enum class Reach {
    Reachable,   // a way to the target exists; `move` starts it unless the position is solved already
    Unreachable, // no sequence of jumps reaches the target
    Unknown      // the budget ran out (or the board holds codes the search does not know)
};

struct ReachAnswer {
    Reach reach = Reach::Unknown;
    bool hasMove = false;
    SolverJump move{}; // a jump after which the target is still reachable
    JumpList way;      // the whole way found, `move` first
};

struct ReachLimits {
    double seconds = 0.3;
    // Set from another thread to give up early; the answer is then Unknown.
    const std::atomic<bool>* cancelled = nullptr;
};

// `cells` is the position on the board of `record` (its holes where the record has them).
ReachAnswer AskReachable(const LevelRecord& record, const Position& cells, const ReachLimits& limits);
