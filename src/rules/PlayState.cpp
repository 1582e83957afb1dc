// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/PlayState.h"

#include <algorithm>

namespace {

constexpr int PickBoxSide = 16;
constexpr int DropBoxWidening = 4;

int LastCellHit(const LevelRecord& record, int x, int y, int widening) {
    int hit = NoCell;
    for (int cell = 0; cell < CellCount; ++cell) {
        const Point anchor = CellAnchor(record, cell);
        if (x >= anchor.x - widening && x <= anchor.x + PickBoxSide + widening && y >= anchor.y - widening &&
            y <= anchor.y + PickBoxSide + widening)
            hit = cell;
    }
    return hit;
}

} // namespace

std::uint8_t ParOf(const LevelRecord& record) {
    if (record.hasSolution())
        return record.SolutionMoves;
    const int targetPegs = CountPegs(record.TargetCells, record);
    const int pegsToRemove = CountPegs(record.StartCells, record) - (targetPegs == 0 ? 1 : targetPegs);
    return static_cast<std::uint8_t>(std::max(pegsToRemove, 0));
}

void PlayState::reset(const LevelRecord& record) {
    Cells = record.StartCells;
    JumpCount = 0;
    Snapshots[0] = Cells;
    MoveCount = 0;
    MovesAfter[0] = 0;
    Par = ParOf(record);
    LastLanding = NoLanding;
    LandingAfter[0] = NoLanding;
    RedoCount = 0;
}

bool PlayState::recordJump(int from, int to) {
    if (JumpCount >= HistoryJumps || !IsCellIndex(from) || !IsCellIndex(to))
        return false;
    JumpFrom[JumpCount] = static_cast<std::uint8_t>(from);
    JumpTo[JumpCount] = static_cast<std::uint8_t>(to);
    ++JumpCount;
    // A run of jumps by one peg is one move: a jump from where the last one landed continues it.
    if (LastLanding != from)
        ++MoveCount;
    LastLanding = static_cast<std::uint8_t>(to);
    LandingAfter[JumpCount] = LastLanding;
    Snapshots[JumpCount] = Cells;
    MovesAfter[JumpCount] = MoveCount;
    RedoCount = 0;
    return true;
}

bool PlayState::undo() {
    if (JumpCount == 0)
        return false;
    --JumpCount;
    ++RedoCount;
    MoveCount = static_cast<std::uint8_t>(MovesAfter[JumpCount]);
    LastLanding = static_cast<std::uint8_t>(LandingAfter[JumpCount]);
    Cells = Snapshots[JumpCount];
    return true;
}

bool PlayState::redo(const LevelRecord& record, RedoneJump& jump) {
    if (RedoCount == 0 || JumpCount >= HistoryJumps)
        return false;
    const int from = JumpFrom[JumpCount];
    const int to = JumpTo[JumpCount];
    const int direction = FindDirection(record.Shape, from, to);
    if (direction == NoDirection)
        return false;
    jump = {from, JumpedOverCell(record.Shape, from, direction), to};
    --RedoCount;
    ++JumpCount;
    Cells = Snapshots[JumpCount];
    MoveCount = static_cast<std::uint8_t>(MovesAfter[JumpCount]);
    LastLanding = static_cast<std::uint8_t>(LandingAfter[JumpCount]);
    return true;
}

// A stored solution may not belong to its board (kept through a short settling after cell edits, or
// imported) and its entries may hold any byte. An entry is replayed only when it exists, both of its
// cells are on the board, the peg to move is there and the two cells lie two steps apart in a line;
// anything else ends the replay where it stands.
bool PlayState::nextReplayStepFits(const LevelRecord& record) const {
    if (JumpCount >= HistoryJumps)
        return false;
    const int from = record.SolutionFrom[JumpCount];
    const int to = record.SolutionTo[JumpCount];
    if (!IsOnBoard(record, from) || !IsOnBoard(record, to) || !HoldsPeg(Cells[from]))
        return false;
    return FindDirection(record.Shape, from, to) != NoDirection;
}

PlayState::ReplayedJump PlayState::replayStep(const LevelRecord& record) {
    const int from = record.SolutionFrom[JumpCount];
    const int to = record.SolutionTo[JumpCount];
    // The replay searches every direction of the shape: a stored diagonal jump replays even where the
    // board's diagonal rule has since been switched off.
    const int jumpedOver = JumpedOverCell(record.Shape, from, FindDirection(record.Shape, from, to));
    Cells[to] = Cells[from];
    Cells[from] = EmptyHole;
    Cells[jumpedOver] = EmptyHole;
    // After an undo in the replay, the step brings back the very jump that was taken back.
    if (RedoCount > 0)
        --RedoCount;
    ++JumpCount;
    if (LastLanding != from)
        ++MoveCount;
    LastLanding = static_cast<std::uint8_t>(to);
    Snapshots[JumpCount] = Cells;
    MovesAfter[JumpCount] = MoveCount;
    LandingAfter[JumpCount] = LastLanding;
    return {from, jumpedOver, to};
}

int PlayState::movesLeftShown() const {
    return std::clamp(int{Par} - int{MoveCount}, -ShownMovesLimit, ShownMovesLimit);
}

Point CellAnchor(const LevelRecord& record, int cell) {
    // A damaged size above 9 is laid out as 9, as IsOnBoard and the drawing take it, so every cell
    // shown can be picked.
    const int size = std::min<int>(record.Size, GridWidth);
    const int row = cell / GridWidth;
    const int col = cell % GridWidth;
    if (record.isHexagon())
        return {174 - 16 * size + 32 * col + (row % 2 == 1 ? 16 : 0), 170 - 14 * size + 28 * row};
    return {174 - 16 * size + 32 * col, 174 - 16 * size + 32 * row};
}

int PickBoxCellAt(const LevelRecord& record, int x, int y) {
    return LastCellHit(record, x, y, 0);
}

int DropBoxCellAt(const LevelRecord& record, int x, int y) {
    return LastCellHit(record, x, y, DropBoxWidening);
}
