// SPDX-License-Identifier: GPL-3.0-or-later
// The 732-byte record and the geometry of boards on the 9 x 9 grid.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rules/LevelRecord.h"

namespace {

LevelRecord::Bytes randomBytes(std::mt19937& rng) {
    LevelRecord::Bytes bytes{};
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

LevelRecord board(std::uint8_t size, std::uint8_t shape) {
    LevelRecord r;
    r.Size = size;
    r.Shape = shape;
    return r;
}

std::vector<int> onBoardCells(const LevelRecord& r) {
    std::vector<int> cells;
    for (int i = 0; i < CellCount; ++i)
        if (IsOnBoard(r, i))
            cells.push_back(i);
    return cells;
}

} // namespace

TEST(LevelRecordBytes, RoundTripReproducesEveryByte) {
    std::mt19937 rng(7);
    for (int n = 0; n < 200; ++n) {
        const LevelRecord::Bytes bytes = randomBytes(rng);
        EXPECT_EQ(LevelRecord::fromBytes(bytes).toBytes(), bytes);
    }
}

TEST(LevelRecordBytes, FieldsSitAtTheirOffsets) {
    LevelRecord::Bytes bytes{};
    bytes[0] = 2;        // first start cell
    bytes[81 + 80] = 3;  // last target cell
    bytes[162] = 9;      // size
    bytes[163] = 1;      // shape
    bytes[165] = 1;      // diagonal
    bytes[166 + 51] = 4; // length of name slot 1
    bytes[166 + 51 + 1] = 'B';
    bytes[166 + 5 * 51] = 7; // name slot 5 is carried
    bytes[472] = 40;         // first SolutionFrom
    bytes[552 + 79] = 22;    // last SolutionTo
    bytes[633] = 18;         // moves
    bytes[634] = 0x01;       // Original = 1
    bytes[636] = 0x34;       // Reserved3 = 0x1234
    bytes[637] = 0x12;
    bytes[638] = 0xFF; // Solved = -1 (signed word)
    bytes[639] = 0xFF;
    bytes[731] = 0xAB; // end of Reserved4

    const LevelRecord r = LevelRecord::fromBytes(bytes);
    EXPECT_EQ(r.StartCells[0], 2);
    EXPECT_EQ(r.TargetCells[80], 3);
    EXPECT_EQ(r.Size, 9);
    EXPECT_TRUE(r.isHexagon());
    EXPECT_TRUE(r.allowsDiagonal());
    EXPECT_EQ(r.Names[1].Length, 4);
    EXPECT_EQ(r.Names[1].Chars[0], 'B');
    EXPECT_EQ(r.Names[5].Length, 7);
    EXPECT_EQ(r.SolutionFrom[0], 40);
    EXPECT_EQ(r.SolutionTo[79], 22);
    EXPECT_EQ(r.SolutionMoves, 18);
    EXPECT_EQ(r.Original, 1);
    EXPECT_EQ(r.Reserved3, 0x1234);
    EXPECT_EQ(r.Solved, -1);
    EXPECT_FALSE(r.isSolved()); // only a value above 0 counts as set
    EXPECT_EQ(r.Reserved4[91], 0xAB);
}

TEST(LevelRecordNames, LengthIsCutToTheSlot) {
    NameSlot slot;
    slot.setText(std::string(80, 'x'));
    EXPECT_EQ(slot.Length, NameCapacity);
    slot.Length = 255; // a damaged length byte
    EXPECT_EQ(slot.text().size(), static_cast<std::size_t>(NameCapacity));
    slot.setText("Kreuz");
    EXPECT_EQ(slot.text(), "Kreuz");
    EXPECT_EQ(NameSlotForLanguage(-1), 0);
    EXPECT_EQ(NameSlotForLanguage(0), 0);
    EXPECT_EQ(NameSlotForLanguage(1), 1);
}

TEST(BoardGeometry, HexagonCellsOfEverySize) {
    const int expected[] = {23, 33, 46, 60, 77};
    for (int size = 5; size <= 9; ++size) {
        EXPECT_EQ(onBoardCells(board(size, ShapeHexagon)).size(),
                  static_cast<std::size_t>(expected[size - 5]));
        EXPECT_EQ(onBoardCells(board(size, ShapeSquare)).size(), static_cast<std::size_t>(size * size));
        EXPECT_FALSE(IsOnBoard(board(size, ShapeHexagon), 17)) << "row 1, column 8 is never on a hexagon";
    }
    EXPECT_TRUE(IsOnBoard(board(9, ShapeHexagon), 8));
    EXPECT_FALSE(IsOnBoard(board(8, ShapeHexagon), 8));
}

TEST(BoardGeometry, SizeFiveCellLists) {
    const std::vector<int> hex{0,  1,  2,  3,  4,  9,  10, 11, 12, 18, 19, 20,
                               21, 22, 27, 28, 29, 30, 36, 37, 38, 39, 40};
    EXPECT_EQ(onBoardCells(board(5, ShapeHexagon)), hex);
    const std::vector<int> square{0,  1,  2,  3,  4,  9,  10, 11, 12, 13, 18, 19, 20,
                                  21, 22, 27, 28, 29, 30, 31, 36, 37, 38, 39, 40};
    EXPECT_EQ(onBoardCells(board(5, ShapeSquare)), square);
}

TEST(BoardGeometry, OutOfRangeValuesStayOnTheGrid) {
    EXPECT_EQ(onBoardCells(board(255, 7)).size(),
              static_cast<std::size_t>(CellCount)); // unknown shape is square
    EXPECT_TRUE(onBoardCells(board(0, ShapeSquare)).empty());
    EXPECT_EQ(onBoardCells(board(200, ShapeHexagon)), onBoardCells(board(9, ShapeHexagon)))
        << "odd rows of an oversized hexagon stay one cell short";
    EXPECT_FALSE(IsOnBoard(board(9, ShapeSquare), -1));
    EXPECT_FALSE(IsOnBoard(board(9, ShapeSquare), 81));
}

TEST(BoardGeometry, PegsOffTheBoardAreNotCounted) {
    LevelRecord r = board(5, ShapeSquare);
    Position p{};
    p[5] = FirstColourPeg; // column 5 is off a size-5 board
    p[45] = SecondColourPeg;
    p[0] = EmptyHole;
    EXPECT_EQ(CountPegs(p, r), 0);
    p[4] = SecondColourPeg;
    p[40] = 200; // anything from 2 up holds a peg
    EXPECT_EQ(CountPegs(p, r), 2);
}

TEST(BlankRecord, ClearAndNewBoard) {
    std::mt19937 rng(3);
    LevelRecord r = LevelRecord::fromBytes(randomBytes(rng));
    const auto kept = r.Names[4].Chars;
    ClearRecord(r);
    EXPECT_EQ(r.Size, 7);
    EXPECT_EQ(r.Shape, ShapeSquare);
    EXPECT_EQ(r.Diagonal, 0);
    EXPECT_EQ(r.Reserved1, 0);
    EXPECT_TRUE(onBoardCells(r).size() == 49u);
    for (int i = 0; i < CellCount; ++i) {
        EXPECT_EQ(r.StartCells[i], NoHole);
        EXPECT_EQ(r.TargetCells[i], NoHole);
    }
    for (const NameSlot& slot : r.Names)
        EXPECT_EQ(slot.Length, 0);
    EXPECT_EQ(r.Names[4].Chars, kept);

    r.SolutionMoves = 9;
    r.Original = 1;
    r.Solved = 1;
    r.Reserved3 = 5;
    MakeNewBoard(r);
    EXPECT_FALSE(r.hasSolution());
    EXPECT_FALSE(r.isOriginal());
    EXPECT_FALSE(r.isSolved());
    EXPECT_EQ(r.Reserved3, 0);
}

// One rule for every reader of the Original word (status panel, hints, editor, session): not 0 is
// original, a damaged negative word included. The Solved word counts only when positive.
TEST(LevelRecordFlags, AnyOriginalWordButZeroMarksAnOriginal) {
    LevelRecord r;
    for (const std::int16_t word :
         {std::int16_t{1}, std::int16_t{-1}, std::int16_t{-32768}, std::int16_t{32767}}) {
        r.Original = word;
        EXPECT_TRUE(r.isOriginal()) << word;
    }
    r.Original = 0;
    EXPECT_FALSE(r.isOriginal());
    r.Solved = -1;
    EXPECT_FALSE(r.isSolved());
}
