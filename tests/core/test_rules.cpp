// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour tables and the three tests on a position: legal jump, stuck and solved.
#include <gtest/gtest.h>

#include <array>

#include "rules/Rules.h"

namespace {

// An independent description of both grids for checking the tables: hexagon cells in "doubled"
// columns (odd rows sit half a cell right, so a cell's x is 2 * column + row parity).
struct Offset {
    int dRow;
    int dX;
};
constexpr std::array<Offset, 8> SquareOffsets{
    {{0, 2}, {-1, 2}, {-1, 0}, {-1, -2}, {0, -2}, {1, -2}, {1, 0}, {1, 2}}};
constexpr std::array<Offset, 6> HexOffsets{{{0, 2}, {-1, 1}, {-1, -1}, {0, -2}, {1, -1}, {1, 1}}};

int walk(bool hexagon, int cell, Offset o, int steps) {
    int row = cell / 9;
    int x = 2 * (cell % 9) + (hexagon ? row % 2 : 0);
    const auto inGrid = [&](int r, int xx) {
        const int col = (xx - (hexagon ? r % 2 : 0)) / 2;
        return r >= 0 && r < 9 && col >= 0 && col < (hexagon && r % 2 ? 8 : 9);
    };
    if (!inGrid(row, x))
        return NoCell;
    for (int n = 0; n < steps; ++n) {
        row += o.dRow;
        x += o.dX;
        if (!inGrid(row, x))
            return NoCell;
    }
    return row * 9 + (x - (hexagon ? row % 2 : 0)) / 2;
}

template <std::size_t D>
void expectRow(const NeighbourTable<D>& table, int cell, const std::array<int, D>& expected) {
    for (std::size_t d = 0; d < D; ++d)
        EXPECT_EQ(table[cell][d], expected[d]) << "cell " << cell << " direction " << d;
}

LevelRecord fullBoard(std::uint8_t size, std::uint8_t shape, bool diagonal = false) {
    LevelRecord r;
    r.Size = size;
    r.Shape = shape;
    r.Diagonal = diagonal ? 1 : 0;
    for (int i = 0; i < CellCount; ++i)
        r.StartCells[i] = IsOnBoard(r, i) ? EmptyHole : NoHole;
    return r;
}

} // namespace

TEST(NeighbourTables, ExampleRows) {
    expectRow<8>(SquareJumpedOver, 0, {1, -1, -1, -1, -1, -1, 9, 10});
    expectRow<8>(SquareLanding, 0, {2, -1, -1, -1, -1, -1, 18, 20});
    expectRow<8>(SquareJumpedOver, 40, {41, 32, 31, 30, 39, 48, 49, 50});
    expectRow<8>(SquareLanding, 40, {42, 24, 22, 20, 38, 56, 58, 60});
    expectRow<8>(SquareJumpedOver, 80, {-1, -1, 71, 70, 79, -1, -1, -1});
    expectRow<8>(SquareLanding, 80, {-1, -1, 62, 60, 78, -1, -1, -1});
    expectRow<6>(HexJumpedOver, 9, {10, 1, 0, -1, 18, 19});
    expectRow<6>(HexLanding, 9, {11, -1, -1, -1, -1, 28});
    expectRow<6>(HexJumpedOver, 19, {20, 10, 9, 18, 27, 28});
    expectRow<6>(HexLanding, 19, {21, 2, 0, -1, 36, 38});
    expectRow<6>(HexJumpedOver, 40, {41, 31, 30, 39, 48, 49});
    expectRow<6>(HexLanding, 40, {42, 23, 21, 38, 57, 59});
}

TEST(NeighbourTables, EveryEntryFollowsTheGenerationRule) {
    for (int cell = 0; cell < CellCount; ++cell) {
        for (int d = 0; d < 8; ++d) {
            EXPECT_EQ(SquareJumpedOver[cell][d], walk(false, cell, SquareOffsets[d], 1));
            EXPECT_EQ(SquareLanding[cell][d], walk(false, cell, SquareOffsets[d], 2));
        }
        for (int d = 0; d < 6; ++d) {
            EXPECT_EQ(HexJumpedOver[cell][d], walk(true, cell, HexOffsets[d], 1));
            EXPECT_EQ(HexLanding[cell][d], walk(true, cell, HexOffsets[d], 2));
        }
    }
    for (int cell : {17, 35, 53, 71})
        for (int d = 0; d < 6; ++d)
            EXPECT_EQ(HexLanding[cell][d], NoCell);
}

TEST(NeighbourTables, BothEndsOnTheBoardPutTheJumpedCellOnIt) {
    for (std::uint8_t shape : {ShapeSquare, ShapeHexagon})
        for (std::uint8_t size = 5; size <= 9; ++size) {
            const LevelRecord r = fullBoard(size, shape);
            for (int from = 0; from < CellCount; ++from)
                for (int to = 0; to < CellCount; ++to) {
                    const int d = FindDirection(shape, from, to);
                    if (d != NoDirection && IsOnBoard(r, from) && IsOnBoard(r, to)) {
                        EXPECT_TRUE(IsOnBoard(r, JumpedOverCell(shape, from, d)));
                    }
                }
        }
}

TEST(LegalJump, DiagonalRuleOnSquareBoards) {
    LevelRecord r = fullBoard(7, ShapeSquare);
    Position p = r.StartCells;
    p[10] = FirstColourPeg; // the jumped peg between 0 and 20
    EXPECT_FALSE(IsLegalJump(p, r, 0, 20).legal);
    r.Diagonal = 1;
    const JumpCheck jump = IsLegalJump(p, r, 0, 20);
    EXPECT_TRUE(jump.legal);
    EXPECT_EQ(jump.jumpedOver, 10);
}

TEST(LegalJump, HexagonSlantedJumps) {
    LevelRecord r = fullBoard(7, ShapeHexagon);
    r.Diagonal = 0; // ignored on a hexagon
    Position p = r.StartCells;
    p[10] = FirstColourPeg;
    p[9] = SecondColourPeg;
    EXPECT_EQ(IsLegalJump(p, r, 19, 2).jumpedOver, 10);
    EXPECT_EQ(IsLegalJump(p, r, 19, 0).jumpedOver, 9);
    EXPECT_TRUE(IsLegalJump(p, r, 19, 0).legal);
}

TEST(LegalJump, Refusals) {
    LevelRecord r = fullBoard(7, ShapeSquare);
    Position p = r.StartCells;
    p[21] = FirstColourPeg;
    EXPECT_TRUE(IsLegalJump(p, r, 20, 22).legal);
    EXPECT_FALSE(IsLegalJump(p, r, 20, 20).legal) << "back onto the starting cell";
    EXPECT_FALSE(IsLegalJump(p, r, 20, 24).legal) << "not two cells away";
    p[21] = EmptyHole;
    EXPECT_FALSE(IsLegalJump(p, r, 20, 22).legal) << "nothing to jump over";
    p[21] = FirstColourPeg;
    p[22] = SecondColourPeg;
    EXPECT_FALSE(IsLegalJump(p, r, 20, 22).legal) << "landing on a peg";
    p[22] = NoHole;
    EXPECT_FALSE(IsLegalJump(p, r, 20, 22).legal) << "landing where there is no hole";

    // A hole left off the board by shrinking it: no landing there, and it does not un-stick a position.
    Position q{};
    r.Size = 5;
    q[3] = FirstColourPeg;
    q[4] = SecondColourPeg;
    q[5] = EmptyHole;
    EXPECT_FALSE(IsLegalJump(q, r, 3, 5).legal);
    EXPECT_TRUE(IsStuck(q, r));
}

TEST(LegalJump, HexagonOddRowsAreShorter) {
    const LevelRecord r = fullBoard(7, ShapeHexagon);
    Position p{};
    for (int i = 0; i < CellCount; ++i)
        p[i] = IsOnBoard(r, i) ? FirstColourPeg : EmptyHole; // holes everywhere off the board
    for (int row = 1; row < 7; row += 2)
        for (int from = 0; from < CellCount; ++from)
            EXPECT_FALSE(IsLegalJump(p, r, from, row * 9 + 6).legal);
}

TEST(StuckAndSolved, EndTests) {
    LevelRecord r = fullBoard(7, ShapeSquare);
    Position p = r.StartCells;
    p[30] = FirstColourPeg;
    EXPECT_TRUE(IsStuck(p, r));
    EXPECT_TRUE(IsSolved(p, r)) << "one peg and a target without pegs";

    p[31] = FirstColourPeg;
    EXPECT_FALSE(IsStuck(p, r));
    EXPECT_FALSE(IsSolved(p, r));

    // Two pegs diagonal to each other: stuck unless diagonal jumps are allowed.
    p[31] = EmptyHole;
    p[40] = SecondColourPeg;
    EXPECT_TRUE(IsStuck(p, r));
    r.Diagonal = 1;
    EXPECT_FALSE(IsStuck(p, r));
}

TEST(StuckAndSolved, TargetsMustMatchExactlyWithColours) {
    LevelRecord r = fullBoard(7, ShapeSquare);
    r.TargetCells = r.StartCells;
    r.TargetCells[24] = FirstColourPeg;
    r.TargetCells[30] = SecondColourPeg;
    Position p = r.TargetCells;
    EXPECT_TRUE(IsSolved(p, r));

    p[30] = FirstColourPeg;
    EXPECT_FALSE(IsSolved(p, r)) << "one peg of the other colour";

    Position single = r.StartCells;
    single[24] = FirstColourPeg;
    EXPECT_FALSE(IsSolved(single, r)) << "one peg left is not enough when the target has pegs";

    // Cells off the board are not compared.
    p = r.TargetCells;
    p[8] = SecondColourPeg;
    EXPECT_TRUE(IsSolved(p, r));
}

TEST(ApplyJump, KeepsTheColour) {
    Position p{};
    p[20] = EmptyHole;
    p[21] = FirstColourPeg;
    p[22] = EmptyHole;
    ApplyJump(p, 20, 21, 22, SecondColourPeg);
    EXPECT_EQ(p[22], SecondColourPeg);
    EXPECT_EQ(p[21], EmptyHole);
    EXPECT_EQ(p[20], EmptyHole);
}

TEST(ApplyJump, OneJumpAfterIsTheJumpOfTheRulesAndNothingElse) {
    const LevelRecord r = fullBoard(7, ShapeSquare);
    Position before = r.StartCells;
    before[20] = SecondColourPeg;
    before[21] = FirstColourPeg;
    before[30] = FirstColourPeg;
    before[39] = FirstColourPeg;
    Position after = before;
    ApplyJump(after, 20, 21, 22, before[20]);
    EXPECT_TRUE(FollowsByOneJump(before, after, r));
    EXPECT_FALSE(FollowsByOneJump(after, before, r)) << "a jump taken back";
    EXPECT_FALSE(FollowsByOneJump(before, before, r)) << "no jump";

    Position recoloured = after;
    recoloured[22] = FirstColourPeg;
    EXPECT_FALSE(FollowsByOneJump(before, recoloured, r)) << "the landing peg changed its colour";

    // Three cells change as a jump's do, but no jump lands two cells from its start.
    Position far = before;
    far[20] = EmptyHole;
    far[21] = EmptyHole;
    far[23] = SecondColourPeg;
    EXPECT_FALSE(FollowsByOneJump(before, far, r));

    Position two = after;
    ApplyJump(two, 30, 39, 48, after[30]);
    EXPECT_FALSE(FollowsByOneJump(before, two, r)) << "two jumps";
}
