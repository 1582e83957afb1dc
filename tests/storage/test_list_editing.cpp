// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's list operations on the collection: insert, delete, move down and up, with the
// current board, the count and the changed flag at the edges of the list.
#include <gtest/gtest.h>

#include <vector>

#include "storage/LevelCollection.h"

namespace {

// A record that carries its identity in its first start cell and in a reserved byte.
LevelRecord board(int id) {
    LevelRecord r;
    r.StartCells[0] = static_cast<std::uint8_t>(id);
    r.Reserved4[5] = static_cast<std::uint8_t>(id);
    return r;
}

int idOf(const LevelRecord& r) {
    return r.StartCells[0];
}

// A collection of boards 1..count, with board `current` current and the changed flag clear.
LevelCollection collectionOf(int count, int current) {
    LevelCollection c;
    c.slot(1) = board(1);
    c.setCurrentNumber(1);
    for (int id = 2; id <= count; ++id)
        c.insertAfterCurrent(board(id));
    c.setCurrentNumber(current);
    c.clearChanged();
    return c;
}

std::vector<int> order(const LevelCollection& c) {
    std::vector<int> ids;
    for (int k = 1; k <= c.count(); ++k)
        ids.push_back(idOf(c.slot(k)));
    return ids;
}

} // namespace

TEST(ListInsert, NewBoardFollowsTheCurrentOneAndBecomesCurrent) {
    LevelCollection c = collectionOf(10, 5);
    c.current().Names[0].setText("edited");
    LevelRecord fresh;
    MakeNewBoard(fresh);
    ASSERT_TRUE(c.insertAfterCurrent(fresh));
    EXPECT_EQ(c.count(), 11);
    EXPECT_EQ(c.currentNumber(), 6);
    EXPECT_EQ(c.current(), fresh);
    EXPECT_EQ(c.slot(6), fresh);
    EXPECT_EQ(c.slot(5).Names[0].text(), "edited") << "the board left is written back first";
    EXPECT_EQ(order(c), (std::vector<int>{1, 2, 3, 4, 5, 0, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(c.changed());
}

TEST(ListInsert, AfterTheLastBoardAppends) {
    LevelCollection c = collectionOf(3, 3);
    ASSERT_TRUE(c.insertAfterCurrent(board(9)));
    EXPECT_EQ(order(c), (std::vector<int>{1, 2, 3, 9}));
    EXPECT_EQ(c.currentNumber(), 4);
    EXPECT_FALSE(c.canMoveUp());
}

TEST(ListInsert, FullCollectionRefusesAndChangesNothing) {
    LevelCollection c = collectionOf(LevelCollection::MaxBoards, 200);
    EXPECT_TRUE(c.isFull());
    c.current().Names[0].setText("pending");
    EXPECT_FALSE(c.insertAfterCurrent(board(7)));
    EXPECT_EQ(c.count(), 200);
    EXPECT_EQ(c.currentNumber(), 200);
    EXPECT_EQ(c.current().Names[0].text(), "pending");
    EXPECT_EQ(c.slot(200).Names[0].text(), "") << "not even written back";
    EXPECT_FALSE(c.changed());
}

TEST(ListInsert, TheTwoHundredthBoardFitsAndThenTheListIsFull) {
    LevelCollection c = collectionOf(199, 100);
    EXPECT_FALSE(c.isFull());
    EXPECT_TRUE(c.insertAfterCurrent(board(250)));
    EXPECT_EQ(c.count(), 200);
    EXPECT_EQ(c.currentNumber(), 101);
    EXPECT_TRUE(c.isFull());
}

TEST(ListDelete, TheFollowingBoardBecomesCurrentAndEditsAreDropped) {
    LevelCollection c = collectionOf(5, 2);
    c.current().Names[0].setText("unsaved");
    EXPECT_EQ(c.deleteCurrent(), LevelCollection::DeleteResult::Removed);
    EXPECT_EQ(order(c), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(c.currentNumber(), 2);
    EXPECT_EQ(c.current(), c.slot(2));
    EXPECT_EQ(idOf(c.current()), 3);
    EXPECT_TRUE(c.changed());
}

TEST(ListDelete, FirstAndLastBoards) {
    LevelCollection first = collectionOf(4, 1);
    first.deleteCurrent();
    EXPECT_EQ(order(first), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(first.currentNumber(), 1);
    EXPECT_EQ(idOf(first.current()), 2);

    LevelCollection last = collectionOf(4, 4);
    last.deleteCurrent();
    EXPECT_EQ(order(last), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(last.currentNumber(), 3) << "the new last board becomes current";
    EXPECT_EQ(idOf(last.current()), 3);
}

TEST(ListDelete, TheOnlyBoardIsReplacedByANewBlankBoard) {
    LevelCollection c = collectionOf(1, 1);
    c.slot(1).SolutionMoves = 4;
    c.slot(1).Solved = 1;
    c.slot(1).Reserved4[5] = 9;
    c.setCurrentNumber(1);
    EXPECT_EQ(c.deleteCurrent(), LevelCollection::DeleteResult::ReplacedByBlank);
    EXPECT_EQ(c.count(), 1);
    EXPECT_EQ(c.currentNumber(), 1);
    LevelRecord fresh;
    MakeNewBoard(fresh);
    EXPECT_EQ(c.slot(1), fresh);
    EXPECT_EQ(c.current(), fresh);
    EXPECT_TRUE(c.changed());
}

TEST(ListDelete, AnOriginalBoardIsRefusedByItsSlotNotByTheWorkingCopy) {
    LevelCollection c = collectionOf(3, 2);
    c.slot(2).Original = 1;
    c.current().Original = 0; // the working copy cannot talk the slot out of it
    EXPECT_EQ(c.deleteCurrent(), LevelCollection::DeleteResult::RefusedOriginal);
    EXPECT_EQ(c.count(), 3);
    EXPECT_FALSE(c.changed());

    c.slot(2).Original = 0;
    c.current().Original = 1; // an imported-then-edited flag in the working copy does not count
    EXPECT_EQ(c.deleteCurrent(), LevelCollection::DeleteResult::Removed);
}

TEST(ListMove, UpExchangesWithTheNextBoardAndFollowsIt) {
    LevelCollection c = collectionOf(5, 3);
    ASSERT_TRUE(c.moveUp());
    EXPECT_EQ(order(c), (std::vector<int>{1, 2, 4, 3, 5}));
    EXPECT_EQ(c.currentNumber(), 4);
    EXPECT_TRUE(c.changed());
}

TEST(ListMove, DownExchangesWithThePreviousBoardAndFollowsIt) {
    LevelCollection c = collectionOf(5, 3);
    ASSERT_TRUE(c.moveDown());
    EXPECT_EQ(order(c), (std::vector<int>{1, 3, 2, 4, 5}));
    EXPECT_EQ(c.currentNumber(), 2);
}

TEST(ListMove, NothingHappensAtTheEnds) {
    LevelCollection c = collectionOf(5, 1);
    EXPECT_FALSE(c.canMoveDown());
    EXPECT_FALSE(c.moveDown());
    c.setCurrentNumber(5);
    EXPECT_FALSE(c.canMoveUp());
    EXPECT_FALSE(c.moveUp());
    EXPECT_EQ(order(c), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(c.changed());

    LevelCollection only = collectionOf(1, 1);
    EXPECT_FALSE(only.moveDown());
    EXPECT_FALSE(only.moveUp());
}

// The moved board's unsettled edits stay in the working copy: settling them with "no" (reloading
// the slot) really drops them, and accepting (writing back) stores them at the new place.
LevelCollection movedWithPendingEdits() {
    LevelCollection c = collectionOf(4, 2);
    c.current().TargetCells[3] = EmptyHole;
    c.current().Names[1].setText("neu");
    c.moveUp();
    return c;
}

TEST(ListMove, PendingEditsTravelInTheWorkingCopyOnly) {
    LevelCollection dropped = movedWithPendingEdits();
    EXPECT_EQ(dropped.slot(3).Names[1].text(), "") << "the slot keeps the board as it was stored";
    EXPECT_EQ(dropped.current().Names[1].text(), "neu");
    dropped.setCurrentNumber(dropped.currentNumber());
    EXPECT_EQ(dropped.current().TargetCells[3], NoHole);
    EXPECT_EQ(dropped.current().Names[1].text(), "");

    LevelCollection accepted = movedWithPendingEdits();
    accepted.select(accepted.currentNumber());
    EXPECT_EQ(accepted.slot(3).Names[1].text(), "neu");
    EXPECT_EQ(accepted.slot(3).TargetCells[3], EmptyHole);
    EXPECT_EQ(order(accepted), (std::vector<int>{1, 3, 2, 4}));
}
