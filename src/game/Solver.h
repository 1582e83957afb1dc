// Finds a way to solve a board with the game's own rules, preferring fewer moves, and checks a stored
// solution by replaying it. Used by the board tools and the collection's tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "game/LevelRecord.h"

struct SolverJump {
    std::uint8_t from = 0;
    std::uint8_t to = 0;

    friend bool operator==(SolverJump a, SolverJump b) { return a.from == b.from && a.to == b.to; }
};

using JumpList = std::vector<SolverJump>;

// Moves as the game counts them: a jump starts a new move unless it starts from the cell on which
// the previous jump landed.
int CountMoves(const JumpList& jumps);

struct ReplayResult {
    bool solved = false; // every jump was legal and the last one reached the solved position
    int failedJump = -1; // index of the first illegal jump, -1 when all were legal
    int moves = 0;
    std::string problem; // why the replay failed, empty when solved
};

// Plays the jumps from the start position with the game's rules: every jump must start from an
// on-board peg and be legal; the position must count as solved after the last jump and not before.
ReplayResult ReplaySolution(const LevelRecord& record, const JumpList& jumps);

// The jumps stored in a record (read until the replay reaches the solved position, at most 80).
// Empty when the record has no solution or the stored jumps do not solve the board.
JumpList StoredSolution(const LevelRecord& record);

// Puts a solution into a record: the jumps, zero entries after them, and its move count.
void StoreSolutionInRecord(LevelRecord& record, const JumpList& jumps);

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
// moves: a beam search over whole moves, then a search over move counts from both ends that proves
// the fewest (game/MinMoves.h), and where that runs out of memory, a branch-and-bound search.
// A board already solved at its start position gives Solved with no jumps. Running out of memory
// ends the search like running out of time: the best solution found so far is kept.
SolveResult SolveBoard(const LevelRecord& record, const SolverLimits& limits);
