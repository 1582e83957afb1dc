// SPDX-License-Identifier: GPL-3.0-or-later
// The solver on any record with a tiny budget: it returns, and a solution it claims solves the board.
#include <cstring>

#include "FuzzFile.h"
#include "solver/Solver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelRecord::Bytes bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const LevelRecord record = LevelRecord::fromBytes(bytes);
    SolverLimits limits;
    limits.seconds = 0.05;
    limits.maxNodes = 2000;
    limits.maxTableEntries = 4096;
    limits.memoryBytes = 16 << 20;
    limits.preferFewerMoves = size > bytes.size() && (data[bytes.size()] & 1) != 0;
    const SolveResult result = SolveBoard(record, limits);
    // A board solved at its start needs no jumps, and there is nothing to replay.
    if (result.status == SolveStatus::Solved && !result.jumps.empty()) {
        const ReplayResult replay = ReplaySolution(record, result.jumps);
        fuzz::Require(replay.solved, "a claimed solution solves the board");
        fuzz::Require(CountMoves(result.jumps) == result.moves, "the claimed moves are the solution's");
    }
    return 0;
}
