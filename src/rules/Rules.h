// SPDX-License-Identifier: GPL-3.0-or-later
// The jump rules: the neighbour tables of both grids, the legal-jump test, applying a jump, and the
// stuck and solved tests of a position.
#pragma once

#include <array>
#include <cstdint>

#include "rules/LevelRecord.h"

constexpr std::size_t SquareDirections = 8;
constexpr std::size_t HexDirections = 6;
constexpr int NoCell = -1;

struct DirectionStep {
    int row;
    int colFromEvenRow;
    int colFromOddRow;
};

// Counter-clockwise from east; the odd square directions are the diagonals.
constexpr std::array<DirectionStep, SquareDirections> SquareSteps{{
    {0, +1, +1},
    {-1, +1, +1},
    {-1, 0, 0},
    {-1, -1, -1},
    {0, -1, -1},
    {+1, -1, -1},
    {+1, 0, 0},
    {+1, +1, +1},
}};

// Odd rows lie half a cell to the right, so the slanted steps depend on the parity of the row.
constexpr std::array<DirectionStep, HexDirections> HexSteps{{
    {0, +1, +1},
    {-1, 0, +1},
    {-1, -1, 0},
    {0, -1, -1},
    {+1, -1, 0},
    {+1, 0, +1},
}};

template <std::size_t Directions> using NeighbourTable = std::array<std::array<int, Directions>, CellCount>;

namespace detail {

// Column 8 of an odd row is outside the hexagonal grid.
constexpr bool InGrid(bool hexagon, int row, int col) {
    if (row < 0 || row >= GridWidth || col < 0 || col >= GridWidth)
        return false;
    return !(hexagon && row % 2 == 1 && col == GridWidth - 1);
}

constexpr int StepFrom(bool hexagon, int cell, const DirectionStep& step) {
    if (cell == NoCell)
        return NoCell;
    const int row = cell / GridWidth;
    const int col = cell % GridWidth;
    const int newRow = row + step.row;
    const int newCol = col + (row % 2 == 0 ? step.colFromEvenRow : step.colFromOddRow);
    return InGrid(hexagon, newRow, newCol) ? newRow * GridWidth + newCol : NoCell;
}

template <std::size_t Directions>
constexpr NeighbourTable<Directions>
MakeTable(bool hexagon, const std::array<DirectionStep, Directions>& steps, int stepCount) {
    NeighbourTable<Directions> table{};
    for (int cell = 0; cell < CellCount; ++cell) {
        const bool cellInGrid = InGrid(hexagon, cell / GridWidth, cell % GridWidth);
        for (std::size_t d = 0; d < Directions; ++d) {
            int reached = cellInGrid ? cell : NoCell;
            for (int n = 0; n < stepCount; ++n)
                reached = StepFrom(hexagon, reached, steps[d]);
            table[cell][d] = reached;
        }
    }
    return table;
}

} // namespace detail

// The tables describe the whole 9 x 9 grid; board size is applied separately by IsOnBoard.
constexpr NeighbourTable<SquareDirections> SquareJumpedOver = detail::MakeTable(false, SquareSteps, 1);
constexpr NeighbourTable<SquareDirections> SquareLanding = detail::MakeTable(false, SquareSteps, 2);
constexpr NeighbourTable<HexDirections> HexJumpedOver = detail::MakeTable(true, HexSteps, 1);
constexpr NeighbourTable<HexDirections> HexLanding = detail::MakeTable(true, HexSteps, 2);

constexpr int NoDirection = -1;

// The direction whose landing entry for `from` is `to`, or NoDirection. A shape other than 1 is square.
int FindDirection(std::uint8_t shape, int from, int to);

// The cell jumped over by a jump in `direction` from `from`, for the given shape.
int JumpedOverCell(std::uint8_t shape, int from, int direction);

struct JumpCheck {
    bool legal = false;
    int jumpedOver = NoCell;
};

// The peg has already been lifted from `from`, so its code is not looked at.
JumpCheck IsLegalJump(const Position& position, const LevelRecord& record, int from, int to);

// The landing cell takes the jumping peg's colour; the starting and the jumped-over cells become holes.
void ApplyJump(Position& position, int from, int jumpedOver, int to, CellCode jumpingPeg);

// One legal jump, in the jumping peg's colour, turns `before` into `after`.
bool FollowsByOneJump(const Position& before, const Position& after, const LevelRecord& record);

bool IsStuck(const Position& position, const LevelRecord& record);
bool IsSolved(const Position& position, const LevelRecord& record);
