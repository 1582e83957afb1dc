// SPDX-License-Identifier: GPL-3.0-or-later
// The game being played on the current board: working cells, jump and move counters, par, the
// per-jump history that undo walks back through, and the hit boxes of the big board's cells.
#pragma once

#include <array>
#include <cstdint>

#include "rules/LevelRecord.h"
#include "rules/Rules.h"

// A game has at most 79 jumps (every jump removes one of at most 81 pegs and needs two of them); the
// history has room for 80 jumps and the 81 positions before and after them.
constexpr int HistoryJumps = SolutionCapacity;
constexpr int HistoryPositions = HistoryJumps + 1;

// `LastLanding` before the first jump: no cell, so the first jump always starts a move.
constexpr std::uint8_t NoLanding = 255;

// The counter shows two digit places and a sign.
constexpr int ShownMovesLimit = 99;

struct PlayState {
    Position Cells{};
    std::uint8_t JumpCount = 0;
    std::uint8_t MoveCount = 0;
    std::uint8_t Par = 0;
    std::uint8_t LastLanding = NoLanding;
    std::array<std::uint8_t, HistoryJumps> JumpFrom{};
    std::array<std::uint8_t, HistoryJumps> JumpTo{};
    std::array<Position, HistoryPositions> Snapshots{};
    std::array<std::int32_t, HistoryPositions> MovesAfter{};
    std::array<std::int32_t, HistoryPositions> LandingAfter{};
    // Jumps taken back by undo that redo can bring back: the history entries after `JumpCount` still
    // hold them. A new jump by hand forgets them, and so does every reset.
    std::uint8_t RedoCount = 0;
    bool Dragging = false;
    std::int32_t PickedCell = 0;
    std::int32_t PickedCode = 0;

    // The data part of ResetPlay: the record's start position with empty history and its par.
    // Dragging is left alone; the session ends a drag before it resets.
    void reset(const LevelRecord& record);

    // Books a jump by hand that has already been applied to `Cells`: history, jump and move counts.
    // False, with nothing booked, once the history is full (legal play never gets there).
    bool recordJump(int from, int to);

    // Takes back the last jump: counters and cells as they were after the remaining jumps; the jump
    // stays in the history for redo. False when there is nothing to take back.
    bool undo();

    // Brings back the jump by hand that the last undo took back, with the cells and counters it left.
    // Only for jumps by hand: JumpFrom/JumpTo name them. False when nothing can be redone.
    struct RedoneJump {
        int from;
        int jumpedOver;
        int to;
    };
    bool redo(const LevelRecord& record, RedoneJump& jump);

    // Whether the stored solution's entry at `JumpCount` can be replayed on the current cells.
    bool nextReplayStepFits(const LevelRecord& record) const;

    // Replays the stored solution's entry at `JumpCount` and books it (history, counters, but not
    // JumpFrom/JumpTo). Only call when nextReplayStepFits.
    struct ReplayedJump {
        int from;
        int jumpedOver;
        int to;
    };
    ReplayedJump replayStep(const LevelRecord& record);

    // Par - MoveCount, limited to what the counter can show.
    int movesLeftShown() const;
};

// The par of a board: its stored solution's moves, otherwise the pegs that must go. A start with fewer
// pegs than the target needs (a board still being edited) has par 0 rather than a wrapped byte.
std::uint8_t ParOf(const LevelRecord& record);

// Top-left corner of a cell's hit box on the big board, in board-area pixels. It does not depend on
// whether the cell is on the board.
struct Point {
    int x;
    int y;
};
Point CellAnchor(const LevelRecord& record, int cell);

// The cell whose pick box (the hole, 17 x 17 from the anchor) or drop box (the hole widened by 4 pixels
// on every side) contains the point, or NoCell. Cells are tried in index order and the last hit wins.
int PickBoxCellAt(const LevelRecord& record, int x, int y);
int DropBoxCellAt(const LevelRecord& record, int x, int y);
