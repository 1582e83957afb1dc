// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard cursor's walk over square and hexagonal boards: holes only while playing, every cell of
// the board while editing, gaps skipped, and up and down going back and forth on hexagons.
#include <gtest/gtest.h>

#include "SessionFixture.h"
#include "rules/BoardCursor.h"

namespace {

LevelRecord Cross() {
    return DrawnBoard({"..PPP..", "..PPP..", "PPPPPPP", "PPPoPPP", "PPPPPPP", "..PPP..", "..PPP.."});
}

int Cell(int row, int col) {
    return row * GridWidth + col;
}

int Walk(const LevelRecord& board, int from, std::initializer_list<CursorStep> steps, bool editing = false) {
    for (const CursorStep step : steps)
        from = CursorMove(board, board.StartCells, from, step, editing);
    return from;
}

} // namespace

TEST(BoardCursor, ArrowsFollowRowsAndColumnsOfASquareBoardAndSkipGaps) {
    const LevelRecord board = Cross();
    EXPECT_EQ(Walk(board, Cell(3, 3), {CursorStep::Right}), Cell(3, 4));
    EXPECT_EQ(Walk(board, Cell(3, 3), {CursorStep::Up, CursorStep::Up, CursorStep::Up}), Cell(0, 3));
    // Nothing beyond the edge, and nothing straight above the arm's end: the cursor stays.
    EXPECT_EQ(Walk(board, Cell(0, 3), {CursorStep::Up}), Cell(0, 3));
    EXPECT_EQ(Walk(board, Cell(2, 0), {CursorStep::Up}), Cell(2, 0));
    EXPECT_EQ(Walk(board, Cell(3, 6), {CursorStep::Right}), Cell(3, 6));
    // Nor to a cell a whole column aside, as on a hexagon half a cell aside.
    EXPECT_EQ(Walk(board, Cell(2, 1), {CursorStep::Up}), Cell(2, 1));
    EXPECT_EQ(Walk(board, Cell(4, 5), {CursorStep::Down}), Cell(4, 5));

    // A gap in a row is jumped over to the next hole.
    const LevelRecord gap = DrawnBoard({"Po.oP"}, 5);
    EXPECT_EQ(Walk(gap, 1, {CursorStep::Right}), 3);
    EXPECT_EQ(Walk(gap, 3, {CursorStep::Left}), 1);
    // Cells beyond the board's size are never entered, whatever they hold.
    const LevelRecord small = DrawnBoard({"PPPPPPP"}, 5);
    EXPECT_EQ(Walk(small, 4, {CursorStep::Right}), 4);
}

TEST(BoardCursor, EditingVisitsCellsWithoutAHole) {
    const LevelRecord board = Cross();
    EXPECT_FALSE(CursorMayStand(board, board.StartCells, Cell(0, 0), false));
    EXPECT_TRUE(CursorMayStand(board, board.StartCells, Cell(0, 0), true));
    EXPECT_EQ(Walk(board, Cell(2, 0), {CursorStep::Up}, true), Cell(1, 0));
    EXPECT_EQ(Walk(board, Cell(0, 2), {CursorStep::Left}, true), Cell(0, 1));
    EXPECT_FALSE(CursorMayStand(board, board.StartCells, Cell(0, 7), true));
}

TEST(BoardCursor, UpAndDownOnAHexagonGoBackAndForth) {
    LevelRecord hex = DrawnBoard({"PPPPP", "PPPP", "PPPPP", "PPPP", "PPPPP"}, 5);
    hex.Shape = ShapeHexagon;
    // From an even row, up goes to the cell half a cell to the right (same column), down comes back.
    EXPECT_EQ(Walk(hex, Cell(2, 2), {CursorStep::Up}), Cell(1, 2));
    EXPECT_EQ(Walk(hex, Cell(2, 2), {CursorStep::Up, CursorStep::Down}), Cell(2, 2));
    EXPECT_EQ(Walk(hex, Cell(1, 2), {CursorStep::Down, CursorStep::Up}), Cell(1, 2));
    // The last cell of an even row has only the one half a cell to its left above it.
    EXPECT_EQ(Walk(hex, Cell(2, 4), {CursorStep::Up}), Cell(1, 3));
    // Odd rows are one cell shorter: the grid's column 4 of row 1 is not on a size 5 hexagon.
    EXPECT_EQ(Walk(hex, Cell(1, 3), {CursorStep::Right}), Cell(1, 3));
}

TEST(BoardCursor, AppearsOnItsLastCellOrInTheMiddle) {
    const LevelRecord board = Cross();
    EXPECT_EQ(CursorHome(board, board.StartCells, Cell(0, 2), false), Cell(0, 2));
    EXPECT_EQ(CursorHome(board, board.StartCells, Cell(0, 0), false), Cell(3, 3));
    EXPECT_EQ(CursorHome(board, board.StartCells, NoCell, false), Cell(3, 3));
    LevelRecord empty;
    ClearRecord(empty);
    EXPECT_EQ(CursorHome(empty, empty.StartCells, NoCell, false), NoCell);
    EXPECT_EQ(CursorHome(empty, empty.StartCells, NoCell, true), Cell(3, 3));
}
