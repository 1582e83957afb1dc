// SPDX-License-Identifier: GPL-3.0-or-later
// The play state on its own: par, move counting, undo and the hit boxes of the big board.
#include <gtest/gtest.h>

#include "SessionFixture.h"
#include "rules/PlayState.h"

namespace {

// The classic cross of 33 holes with the centre empty: 32 pegs.
LevelRecord CrossBoard(const std::vector<std::string>& target = {}) {
    return DrawnBoard({"..PPP..", "..PPP..", "PPPPPPP", "PPPoPPP", "PPPPPPP", "..PPP..", "..PPP.."}, 7,
                      target);
}

// Moves the peg on the board and books the jump, as a jump by hand does.
void HandJump(PlayState& play, int from, int over, int to) {
    ApplyJump(play.Cells, from, over, to, play.Cells[from]);
    ASSERT_TRUE(play.recordJump(from, to));
}

} // namespace

TEST(Par, ComesFromTheStoredSolutionOrThePegsToRemove) {
    LevelRecord stored = CrossBoard();
    stored.SolutionMoves = 12;
    EXPECT_EQ(ParOf(stored), 12);

    EXPECT_EQ(ParOf(CrossBoard()), 31);

    const LevelRecord fourLeft =
        CrossBoard({"..ooo..", "..ooo..", "ooPPooo", "ooPPooo", "ooooooo", "..ooo..", "..ooo.."});
    EXPECT_EQ(CountPegs(fourLeft.TargetCells, fourLeft), 4);
    EXPECT_EQ(ParOf(fourLeft), 28);
}

TEST(Par, IsZeroWhenTheStartHasTooFewPegs) {
    // Boards in the middle of editing: no peg at all, and fewer pegs than the target.
    LevelRecord empty;
    ClearRecord(empty);
    EXPECT_EQ(ParOf(empty), 0);
    EXPECT_EQ(ParOf(DrawnBoard({"Poo"}, 7, {"PPo"})), 0);
}

TEST(Par, ShownDifferenceIsLimitedToTwoDigits) {
    PlayState play;
    play.Par = 255;
    EXPECT_EQ(play.movesLeftShown(), 99);
    play.Par = 5;
    play.MoveCount = 7;
    EXPECT_EQ(play.movesLeftShown(), -2);
    play.Par = 0;
    play.MoveCount = 150;
    EXPECT_EQ(play.movesLeftShown(), -99);
}

TEST(PlayState, ResetLoadsTheStartWithEmptyHistory) {
    PlayState play;
    play.JumpCount = 5;
    play.MoveCount = 3;
    play.LastLanding = 7;
    const LevelRecord board = RunBoard();
    play.reset(board);
    EXPECT_EQ(play.Cells, board.StartCells);
    EXPECT_EQ(play.Snapshots[0], board.StartCells);
    EXPECT_EQ(play.JumpCount, 0);
    EXPECT_EQ(play.MoveCount, 0);
    EXPECT_EQ(play.MovesAfter[0], 0);
    EXPECT_EQ(play.LastLanding, NoLanding);
    EXPECT_EQ(play.LandingAfter[0], NoLanding);
    EXPECT_EQ(play.Par, 3);
}

TEST(MoveCounting, OnePegJumpingOnIsOneMoveAndUndoKeepsIt) {
    PlayState play;
    play.reset(RunBoard());
    HandJump(play, 0, 1, 2);
    HandJump(play, 2, 3, 4);
    HandJump(play, 4, 5, 6);
    EXPECT_EQ(play.JumpCount, 3);
    EXPECT_EQ(play.MoveCount, 1);

    ASSERT_TRUE(play.undo());
    EXPECT_EQ(play.JumpCount, 2);
    EXPECT_EQ(play.MoveCount, 1);
    EXPECT_EQ(play.LastLanding, 4);
    EXPECT_EQ(play.Cells, play.Snapshots[2]);
    HandJump(play, 4, 5, 6);
    EXPECT_EQ(play.MoveCount, 1);
    EXPECT_EQ(play.JumpFrom[2], 4);
    EXPECT_EQ(play.JumpTo[2], 6);
}

TEST(MoveCounting, AnotherPegStartsANewMove) {
    PlayState play;
    play.reset(TwoPegBoard());
    HandJump(play, 0, 1, 2); // A
    HandJump(play, 5, 4, 3); // B
    HandJump(play, 2, 3, 4); // A again
    EXPECT_EQ(play.MoveCount, 3);
    EXPECT_EQ(play.MovesAfter[1], 1);
    EXPECT_EQ(play.MovesAfter[2], 2);
    EXPECT_EQ(play.LandingAfter[2], 3);
}

TEST(MoveCounting, UndoBackToTheStartForgetsTheLastLanding) {
    PlayState play;
    play.reset(RunBoard());
    HandJump(play, 0, 1, 2);
    ASSERT_TRUE(play.undo());
    EXPECT_FALSE(play.undo());
    EXPECT_EQ(play.LastLanding, NoLanding);
    EXPECT_EQ(play.MoveCount, 0);
    EXPECT_EQ(play.Cells, RunBoard().StartCells);
}

TEST(PlayState, RecordJumpRefusesAFullHistoryAndBadCells) {
    PlayState play;
    play.reset(RunBoard());
    EXPECT_FALSE(play.recordJump(-1, 2));
    EXPECT_FALSE(play.recordJump(0, 81));
    play.JumpCount = HistoryJumps;
    EXPECT_FALSE(play.recordJump(0, 2));
    EXPECT_EQ(play.JumpCount, HistoryJumps);
}

TEST(HitBoxes, SquareAnchorsPickAndDropBoxes) {
    const LevelRecord board = DrawnBoard({"PPo"}, 7);
    // Size 7: anchors start at 174 - 112 = 62 with a pitch of 32.
    EXPECT_EQ(CellAnchor(board, 0).x, 62);
    EXPECT_EQ(CellAnchor(board, 0).y, 62);
    EXPECT_EQ(CellAnchor(board, 10).x, 94);
    EXPECT_EQ(CellAnchor(board, 10).y, 94);

    EXPECT_EQ(PickBoxCellAt(board, 62, 62), 0);
    EXPECT_EQ(PickBoxCellAt(board, 78, 78), 0);
    EXPECT_EQ(PickBoxCellAt(board, 79, 70), NoCell);
    EXPECT_EQ(PickBoxCellAt(board, 61, 70), NoCell);
    EXPECT_EQ(PickBoxCellAt(board, 94, 62), 1);

    EXPECT_EQ(DropBoxCellAt(board, 58, 58), 0);
    EXPECT_EQ(DropBoxCellAt(board, 82, 82), 0);
    EXPECT_EQ(DropBoxCellAt(board, 57, 70), NoCell);
    EXPECT_EQ(DropBoxCellAt(board, 86, 70), NoCell);
    EXPECT_EQ(DropBoxCellAt(board, 90, 70), 1);
    EXPECT_EQ(DropBoxCellAt(board, 0, 0), NoCell);
}

TEST(HitBoxes, HexagonOddRowsAreShiftedAndRowsCloser) {
    LevelRecord board = DrawnBoard({"PPo"}, 7);
    board.Shape = ShapeHexagon;
    // Size 7: x from 62, y from 170 - 98 = 72 with a row pitch of 28; odd rows 16 to the right.
    EXPECT_EQ(CellAnchor(board, 0).x, 62);
    EXPECT_EQ(CellAnchor(board, 0).y, 72);
    EXPECT_EQ(CellAnchor(board, 9).x, 78);
    EXPECT_EQ(CellAnchor(board, 9).y, 100);
    EXPECT_EQ(PickBoxCellAt(board, 78, 100), 9);
    EXPECT_EQ(PickBoxCellAt(board, 70, 100), NoCell);
    EXPECT_EQ(DropBoxCellAt(board, 74, 96), 9);
    EXPECT_EQ(DropBoxCellAt(board, 62, 72), 0);
}

TEST(HitBoxes, SmallerBoardsAreCentred) {
    const LevelRecord five = DrawnBoard({"PPo"}, 5);
    EXPECT_EQ(CellAnchor(five, 0).x, 94);
    EXPECT_EQ(PickBoxCellAt(five, 94 + 4 * 32, 94 + 4 * 32), 40);
}

TEST(HitBoxes, SizesAboveNineAreLaidOutAsNine) {
    const LevelRecord nine = DrawnBoard({"PPo"}, 9);
    for (const std::uint8_t size : {10, 40, 255}) {
        LevelRecord damaged = nine;
        damaged.Size = size;
        for (const int cell : {0, 40, 80}) {
            EXPECT_EQ(CellAnchor(damaged, cell).x, CellAnchor(nine, cell).x) << int(size);
            EXPECT_EQ(CellAnchor(damaged, cell).y, CellAnchor(nine, cell).y) << int(size);
            const Point anchor = CellAnchor(damaged, cell);
            EXPECT_EQ(PickBoxCellAt(damaged, anchor.x + 8, anchor.y + 8), cell);
        }
    }
}
