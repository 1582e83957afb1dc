// Proves the fewest moves that solve a board: a breadth-first search over move counts from the
// start and from the goal at once, on compact positions with the board's symmetries folded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "game/LevelRecord.h"
#include "game/SearchBounds.h"
#include "game/Solver.h"

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

// Half of the machine's physical memory, less when the process may not map that much.
std::size_t DefaultMemoryBudget();

// An amount of memory as the tools take it: a whole number of bytes, or of KiB, MiB or GiB with the
// suffix K, M or G ("512M", "6G"). False for anything else, for zero and for amounts past the
// address space.
bool ParseMemoryAmount(const std::string& text, std::size_t& bytes);

// The amount in MiB or GiB with one decimal, as the tools print it ("1.5 GiB").
std::string MemoryText(std::size_t bytes);

// The board must not be solved at its start (then no move is needed and there is nothing to search).
// Never throws for want of memory: a search that cannot get it stops as when its time runs out.
MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits);

// The same with the bounds of the board changed before the search begins: a seam through which
// the tests show that a bound that does not hold is caught.
using BoundsAdjustment = std::function<void(SearchBounds&)>;
MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits,
                               const BoundsAdjustment& adjust);
