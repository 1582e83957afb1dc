// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard cursor of the big board: which cells it may stand on and where an arrow key takes it,
// on square and hexagonal boards. Playing, it walks the holes; editing, every cell of the board.
#pragma once

#include "rules/LevelRecord.h"
#include "rules/Rules.h"

enum class CursorStep { Left, Right, Up, Down };

// Whether the cursor may stand on `cell`: on the board, and a hole (empty or with a peg) unless the
// board is being edited, where cells without a hole are cycled too.
bool CursorMayStand(const LevelRecord& record, const Position& cells, int cell, bool editing);

// Where the cursor appears: `preferred` when it may stand there, otherwise the cell nearest the
// board's middle. NoCell when the board has no cell to stand on.
int CursorHome(const LevelRecord& record, const Position& cells, int preferred, bool editing);

// The next cell in the direction: along the row for left and right, skipping cells it may not stand
// on; up and down to the nearest row that has a cell straight above or below (on a hexagonal board
// one of the two half a cell aside, the one in the same column when both are there). `from` itself
// when there is none.
int CursorMove(const LevelRecord& record, const Position& cells, int from, CursorStep step, bool editing);
