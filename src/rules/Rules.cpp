// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/Rules.h"

#include <array>

namespace {

template <std::size_t Directions>
int FindInTable(const NeighbourTable<Directions>& landing, int from, int to) {
    for (std::size_t d = 0; d < Directions; ++d)
        if (landing[from][d] == to)
            return static_cast<int>(d);
    return NoDirection;
}

template <std::size_t Directions>
bool HasJumpFrom(const Position& position, const LevelRecord& record, int cell,
                 const NeighbourTable<Directions>& jumped, const NeighbourTable<Directions>& landing,
                 std::size_t directionStride) {
    for (std::size_t d = 0; d < Directions; d += directionStride) {
        const int to = landing[cell][d];
        // The cheap look at the landing cell's code goes first; the on-board test only for holes.
        if (to == NoCell || position[to] != EmptyHole || !IsOnBoard(record, to))
            continue;
        if (HoldsPeg(position[jumped[cell][d]]))
            return true;
    }
    return false;
}

} // namespace

int FindDirection(std::uint8_t shape, int from, int to) {
    if (!IsCellIndex(from) || !IsCellIndex(to))
        return NoDirection;
    return shape == ShapeHexagon ? FindInTable(HexLanding, from, to) : FindInTable(SquareLanding, from, to);
}

int JumpedOverCell(std::uint8_t shape, int from, int direction) {
    if (!IsCellIndex(from) || direction < 0)
        return NoCell;
    if (shape == ShapeHexagon)
        return direction < static_cast<int>(HexDirections) ? HexJumpedOver[from][direction] : NoCell;
    return direction < static_cast<int>(SquareDirections) ? SquareJumpedOver[from][direction] : NoCell;
}

JumpCheck IsLegalJump(const Position& position, const LevelRecord& record, int from, int to) {
    if (!IsOnBoard(record, to) || !IsCellIndex(from))
        return {};
    if (position[to] != EmptyHole)
        return {};
    const int direction = FindDirection(record.Shape, from, to);
    if (direction == NoDirection)
        return {};
    if (!record.isHexagon() && direction % 2 == 1 && !record.allowsDiagonal())
        return {};
    const int jumped = JumpedOverCell(record.Shape, from, direction);
    if (!HoldsPeg(position[jumped]))
        return {};
    return {true, jumped};
}

void ApplyJump(Position& position, int from, int jumpedOver, int to, CellCode jumpingPeg) {
    position[to] = jumpingPeg;
    position[jumpedOver] = EmptyHole;
    position[from] = EmptyHole;
}

bool FollowsByOneJump(const Position& before, const Position& after, const LevelRecord& record) {
    // A jump empties two cells that held pegs and fills one hole; of the two emptied cells either may
    // be where the jump began.
    std::array<int, 2> emptied{NoCell, NoCell};
    int filled = NoCell, changed = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (before[cell] == after[cell])
            continue;
        if (++changed > 3)
            return false;
        if (HoldsPeg(before[cell]) && after[cell] == EmptyHole && emptied[1] == NoCell)
            emptied[emptied[0] == NoCell ? 0 : 1] = cell;
        else if (before[cell] == EmptyHole && HoldsPeg(after[cell]))
            filled = cell;
        else
            return false;
    }
    if (changed != 3 || filled == NoCell)
        return false;
    for (const int from : emptied) {
        const JumpCheck check = IsLegalJump(before, record, from, filled);
        if (!check.legal)
            continue;
        Position played = before;
        ApplyJump(played, from, check.jumpedOver, filled, before[from]);
        if (played == after)
            return true;
    }
    return false;
}

bool IsStuck(const Position& position, const LevelRecord& record) {
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!HoldsPeg(position[cell]) || !IsOnBoard(record, cell))
            continue;
        const bool found = record.isHexagon()
                               ? HasJumpFrom(position, record, cell, HexJumpedOver, HexLanding, 1)
                               : HasJumpFrom(position, record, cell, SquareJumpedOver, SquareLanding,
                                             record.allowsDiagonal() ? 1 : 2);
        if (found)
            return false;
    }
    return true;
}

bool IsSolved(const Position& position, const LevelRecord& record) {
    const int pegs = CountPegs(position, record);
    const int targetPegs = CountPegs(record.TargetCells, record);
    if (pegs == 1 && targetPegs == 0)
        return true;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(record, cell) && position[cell] != record.TargetCells[cell])
            return false;
    return true;
}
