// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/BoardCursor.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Horizontal place of a cell in half cells: odd rows of a hexagon lie half a cell to the right.
int HalfCellsAcross(const LevelRecord& record, int cell) {
    const int row = cell / GridWidth;
    return 2 * (cell % GridWidth) + (record.isHexagon() && row % 2 == 1 ? 1 : 0);
}

int AlongRow(const LevelRecord& record, const Position& cells, int from, int step, bool editing) {
    const int row = from / GridWidth;
    for (int col = from % GridWidth + step; col >= 0 && col < GridWidth; col += step) {
        const int cell = row * GridWidth + col;
        if (CursorMayStand(record, cells, cell, editing))
            return cell;
    }
    return from;
}

int AcrossRows(const LevelRecord& record, const Position& cells, int from, int step, bool editing) {
    const int across = HalfCellsAcross(record, from);
    for (int row = from / GridWidth + step; row >= 0 && row < GridWidth; row += step) {
        int best = NoCell;
        for (int col = 0; col < GridWidth; ++col) {
            const int cell = row * GridWidth + col;
            if (!CursorMayStand(record, cells, cell, editing) ||
                std::abs(HalfCellsAcross(record, cell) - across) > 1)
                continue;
            // Of two cells half a cell aside, the one in the same column, so up and down go back and forth.
            if (best == NoCell || col == from % GridWidth)
                best = cell;
        }
        if (best != NoCell)
            return best;
    }
    return from;
}

} // namespace

bool CursorMayStand(const LevelRecord& record, const Position& cells, int cell, bool editing) {
    return IsOnBoard(record, cell) && (editing || cells[cell] != NoHole);
}

int CursorHome(const LevelRecord& record, const Position& cells, int preferred, bool editing) {
    if (CursorMayStand(record, cells, preferred, editing))
        return preferred;
    // Boards lie in the top-left corner of the grid: the middle of a board of size s is at (s-1)/2.
    const double middle = (std::min<int>(record.Size, GridWidth) - 1) / 2.0;
    int best = NoCell;
    double bestDistance = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!CursorMayStand(record, cells, cell, editing))
            continue;
        const double rows = cell / GridWidth - middle;
        const double across = HalfCellsAcross(record, cell) / 2.0 - middle;
        const double distance = rows * rows + across * across;
        if (best == NoCell || distance < bestDistance) {
            best = cell;
            bestDistance = distance;
        }
    }
    return best;
}

int CursorMove(const LevelRecord& record, const Position& cells, int from, CursorStep step, bool editing) {
    switch (step) {
    case CursorStep::Left:
        return AlongRow(record, cells, from, -1, editing);
    case CursorStep::Right:
        return AlongRow(record, cells, from, 1, editing);
    case CursorStep::Up:
        return AcrossRows(record, cells, from, -1, editing);
    case CursorStep::Down:
        return AcrossRows(record, cells, from, 1, editing);
    }
    return from;
}
