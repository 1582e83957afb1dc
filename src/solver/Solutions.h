// SPDX-License-Identifier: GPL-3.0-or-later
// A solution as the jumps it makes: its moves counted as the game counts them, replayed with the
// game's own rules, read from a record and stored into one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/LevelRecord.h"

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
