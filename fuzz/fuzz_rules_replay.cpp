// SPDX-License-Identifier: GPL-3.0-or-later
// The rules and the stored-solution replay on any record: every jump the rules allow can be played and
// taken back, and the replay stops where the stored solution no longer fits.
#include <cstring>

#include "FuzzFile.h"
#include "rules/PlayState.h"
#include "solver/Solver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelRecord::Bytes bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const LevelRecord record = LevelRecord::fromBytes(bytes);
    fuzz::Require(record.toBytes() == bytes, "a record keeps its bytes");

    PlayState play;
    play.reset(record);
    IsSolved(play.Cells, record);
    IsStuck(play.Cells, record);
    while (play.JumpCount < HistoryJumps && play.nextReplayStepFits(record))
        play.replayStep(record);
    const int replayed = play.JumpCount;
    while (play.undo()) {
    }
    fuzz::Require(play.JumpCount == 0 && play.Cells == record.StartCells, "undo walks back to the start");
    ReplaySolution(record, StoredSolution(record));

    // The remaining bytes choose jumps by hand among those the rules allow.
    for (std::size_t at = bytes.size(); at + 1 < size && play.JumpCount < HistoryJumps; at += 2) {
        const int from = data[at] % CellCount;
        const int to = data[at + 1] % CellCount;
        const CellCode peg = play.Cells[from];
        if (peg < FirstColourPeg)
            continue;
        // The peg is lifted before the rules look at the jump, as a drag does.
        play.Cells[from] = EmptyHole;
        const JumpCheck check = IsLegalJump(play.Cells, record, from, to);
        if (!check.legal) {
            play.Cells[from] = peg;
            continue;
        }
        ApplyJump(play.Cells, from, check.jumpedOver, to, peg);
        fuzz::Require(play.recordJump(from, to), "a legal jump is booked");
    }
    fuzz::Require(replayed <= HistoryJumps, "the replay stays within the history");
    return 0;
}
