// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/BoardSymmetry.h"

#include <algorithm>
#include <cstdlib>

#include "rules/Rules.h"

namespace {

int FromCube(const Cube& c) {
    const int row = c.y;
    const int col = c.x + (row - (row & 1)) / 2;
    if (row < 0 || row >= GridWidth || col < 0 || col >= GridWidth)
        return NoCell;
    return row * GridWidth + col;
}

// Keeps the image when it maps the board (and the goal) onto itself and is not the identity.
void AddIfValid(const CellImage& image, const LevelRecord& record, bool goalMatters,
                std::vector<CellImage>& found) {
    bool identity = true;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsBoardHole(record, cell))
            continue;
        const int to = image[cell];
        if (!IsBoardHole(record, to) || (goalMatters && record.TargetCells[to] != record.TargetCells[cell]))
            return;
        identity = identity && to == cell;
    }
    if (!identity)
        found.push_back(image);
}

// The eight symmetries of the square about the middle of the holes' bounding box, in doubled
// coordinates so that a middle between two cells stays whole.
void SquareSymmetries(const LevelRecord& record, const std::vector<int>& holes, bool goalMatters,
                      std::vector<CellImage>& found) {
    int rowSum = GridWidth, colSum = GridWidth, rowMax = -1, colMax = -1;
    for (const int cell : holes) {
        rowSum = std::min(rowSum, cell / GridWidth);
        colSum = std::min(colSum, cell % GridWidth);
        rowMax = std::max(rowMax, cell / GridWidth);
        colMax = std::max(colMax, cell % GridWidth);
    }
    rowSum += rowMax;
    colSum += colMax;
    CellImage image{};
    for (int kind = 0; kind < 8; ++kind) {
        for (int cell = 0; cell < CellCount; ++cell) {
            const int r = 2 * (cell / GridWidth) - rowSum, c = 2 * (cell % GridWidth) - colSum;
            int nr = (kind & 1) ? -r : r, nc = (kind & 2) ? -c : c;
            if (kind & 4)
                std::swap(nr, nc);
            const int row2 = nr + rowSum, col2 = nc + colSum;
            const bool inside = row2 % 2 == 0 && col2 % 2 == 0 && row2 >= 0 && col2 >= 0 &&
                                row2 / 2 < GridWidth && col2 / 2 < GridWidth;
            image[cell] = inside ? (row2 / 2) * GridWidth + col2 / 2 : NoCell;
        }
        AddIfValid(image, record, goalMatters, found);
    }
}

// The twelve symmetries of the hexagonal lattice about the holes' centroid. Any symmetry of the
// holes keeps their centroid, which may lie on a cell, between two cells or between three; scaling
// the coordinates by the number of holes keeps the arithmetic whole.
void HexagonSymmetries(const LevelRecord& record, const std::vector<int>& holes, bool goalMatters,
                       std::vector<CellImage>& found) {
    const int count = static_cast<int>(holes.size());
    int sx = 0, sy = 0;
    for (const int cell : holes) {
        sx += ToCube(cell).x;
        sy += ToCube(cell).y;
    }
    CellImage image{};
    for (int kind = 0; kind < 12; ++kind) {
        for (int cell = 0; cell < CellCount; ++cell) {
            const Cube c = ToCube(cell);
            int x = count * c.x - sx, y = count * c.y - sy, z = -x - y;
            for (int turn = 0; turn < kind % 6; ++turn) {
                const int ox = x, oy = y, oz = z;
                x = -oz;
                y = -ox;
                z = -oy;
            }
            if (kind >= 6)
                std::swap(y, z);
            const bool whole = (x + sx) % count == 0 && (y + sy) % count == 0;
            image[cell] = whole ? FromCube({(x + sx) / count, (y + sy) / count, 0}) : NoCell;
        }
        AddIfValid(image, record, goalMatters, found);
    }
}

} // namespace

Cube ToCube(int cell) {
    const int row = cell / GridWidth, col = cell % GridWidth;
    const int x = col - (row - (row & 1)) / 2;
    return {x, row, -x - row};
}

int LineDistance(const LevelRecord& record, int a, int b) {
    if (record.isHexagon()) {
        const Cube ca = ToCube(a), cb = ToCube(b);
        return std::max({std::abs(ca.x - cb.x), std::abs(ca.y - cb.y), std::abs(ca.z - cb.z)});
    }
    const int rows = std::abs(a / GridWidth - b / GridWidth), cols = std::abs(a % GridWidth - b % GridWidth);
    return record.allowsDiagonal() ? std::max(rows, cols) : rows + cols;
}

bool IsBoardHole(const LevelRecord& record, int cell) {
    return cell != NoCell && IsOnBoard(record, cell) && record.StartCells[cell] != NoHole;
}

std::vector<CellImage> BoardSymmetries(const LevelRecord& record, bool goalMatters) {
    std::vector<int> holes;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsBoardHole(record, cell))
            holes.push_back(cell);
    std::vector<CellImage> found;
    if (holes.empty())
        return found;
    if (record.isHexagon())
        HexagonSymmetries(record, holes, goalMatters, found);
    else
        SquareSymmetries(record, holes, goalMatters, found);
    return found;
}
