// Proves the fewest moves that solve a board: a breadth-first search over move counts from the
// start and from the goal at once, on compact positions with the board's symmetries folded.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/LevelRecord.h"
#include "game/Solver.h"

struct MinMovesLimits {
    double seconds = 10.0;
    std::size_t maxPositions = 0; // positions remembered on both sides; 0 = a default that fits in memory
    int threads = 0;              // 0 = one per core
    int knownMoves = 0; // a solution with this many moves is known (0 = none): only fewer are sought
};

enum class MinMovesOutcome {
    Proven,      // `moves` is the fewest
    Unsolvable,  // no sequence of jumps reaches the goal
    OutOfLimits, // time or memory ran out; `lowerBound` holds what was proved
    Unsupported  // the target depends on cell codes other than 0 to 3
};

struct MinMovesResult {
    MinMovesOutcome outcome = MinMovesOutcome::OutOfLimits;
    int moves = 0;
    JumpList jumps;     // a solution with `moves` moves; empty when the known solution is already the fewest
    int lowerBound = 0; // no solution has fewer moves
    std::uint64_t positions = 0;
    double seconds = 0.0;
};

// The board must not be solved at its start (then no move is needed and there is nothing to search).
MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits);
