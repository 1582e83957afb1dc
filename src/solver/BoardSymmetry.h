// SPDX-License-Identifier: GPL-3.0-or-later
// The rotations and reflections of the grid that map a board onto itself, so that searches can
// treat a position and its mirror images as one.
#pragma once

#include <array>
#include <vector>

#include "rules/LevelRecord.h"

// Entry c is the cell that cell c is carried to; only the board's holes are meaningful.
using CellImage = std::array<int, CellCount>;

// Cube coordinates of a cell of the hexagonal grid, whose odd rows lie half a cell to the right:
// x + y + z = 0, and each of the six directions changes two of them by one.
struct Cube {
    int x, y, z;
};
Cube ToCube(int cell);

// Steps between two cells along the board's lines (rows and columns, the diagonals where the board
// allows them, the hexagon's three axes): a step of a jump changes it by at most one.
int LineDistance(const LevelRecord& record, int a, int b);

// Whether the cell is an on-board hole (any code but 0 in the start position).
bool IsBoardHole(const LevelRecord& record, int cell);

// Every symmetry other than the identity that maps the holes onto holes and, when the goal matters,
// each target cell onto a cell with the same code. Square boards have up to 8, hexagonal up to 12.
std::vector<CellImage> BoardSymmetries(const LevelRecord& record, bool goalMatters);
