// SPDX-License-Identifier: GPL-3.0-or-later
// The board editor through the session: cycling cells of both boards, the linking of start and target,
// the pending-edit flags and their settling, shape, size, diagonal rule and name, the list commands,
// export and import, and the language button.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "SessionFixture.h"
#include "storage/BoardFile.h"

namespace {

// Every byte random, from a fixed seed.
std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(byte(random));
    return bytes;
}

// A record with every field set to something other than its default, so a round trip shows each one.
LevelRecord FullRecord() {
    LevelRecord record = LevelRecord::fromBytes(RandomBytes(RecordBytes, 7).data());
    const LevelRecord board = RunBoard();
    record.StartCells = board.StartCells;
    record.TargetCells = board.TargetCells;
    record.Size = 7;
    record.Shape = ShapeSquare;
    record.Names[0].setText("Exported");
    StoreJumps(record, {{0, 2}, {2, 4}, {4, 6}}, 1);
    record.Original = 0;
    record.Solved = 1;
    return record;
}

} // namespace

class EditingTest : public SessionTest {
protected:
    // Loads the boards, selects one and opens the editor; the calls so far are dropped.
    void startEditing(const std::vector<LevelRecord>& boards, int level = 1) {
        start(boards, level);
        session.EditBtnClick(true);
        frontend.take();
    }

    void clickBig(int cell, MouseButton button = MouseButton::Left) {
        const Point p = centreOf(cell);
        session.boxMouseDown(p.x, p.y, button);
    }

    // The small board's anchors: 16 pixels a cell (14 between hexagon rows, odd rows shifted by 8),
    // centred on x = 402 and y = 106 (square) or 104 (hexagon).
    Point targetAnchor(int cell) const {
        const LevelRecord& record = session.currentRecord();
        const int size = record.Size;
        const int row = cell / GridWidth;
        const int col = cell % GridWidth;
        if (record.Shape == ShapeHexagon)
            return {402 - 8 * size + 16 * col + (row % 2) * 8, 104 - 7 * size + 14 * row};
        return {402 - 8 * size + 16 * col, 106 - 8 * size + 16 * row};
    }

    void clickTarget(int cell, MouseButton button = MouseButton::Left) {
        const Point anchor = targetAnchor(cell);
        session.boxMouseDown(anchor.x + 4, anchor.y + 4, button);
    }

    void writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    void writeRecord(const std::string& name, const LevelRecord& record) {
        const LevelRecord::Bytes bytes = record.toBytes();
        writeFile(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }

    std::vector<std::uint8_t> readFile(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    bool nothingPending() const { return !session.pendingCellEdit() && !session.pendingPropertyEdit(); }
};

// --- Cells

TEST_F(EditingTest, LeftClicksCycleABigCellForwardWithTheirSoundsAndLinkTheTarget) {
    startEditing({RunBoard()});
    // Cell 2 is an empty hole in the start and in the target.
    clickBig(2);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "draw 2"}));
    EXPECT_EQ(session.play().Cells[2], FirstColourPeg);
    EXPECT_EQ(session.currentRecord().TargetCells[2], EmptyHole);
    clickBig(2);
    EXPECT_EQ(frontend.take(), (Calls{"sound 14", "draw 2"}));
    EXPECT_EQ(session.play().Cells[2], SecondColourPeg);
    // No hole in the start takes the hole away from the target too.
    clickBig(2);
    EXPECT_EQ(frontend.take(), (Calls{"sound 11", "drawTarget 2", "draw 2"}));
    EXPECT_EQ(session.play().Cells[2], NoHole);
    EXPECT_EQ(session.currentRecord().TargetCells[2], NoHole);
    clickBig(2);
    EXPECT_EQ(frontend.take(), (Calls{"sound 12", "drawTarget 2", "draw 2"}));
    EXPECT_EQ(session.play().Cells[2], EmptyHole);
    EXPECT_EQ(session.currentRecord().TargetCells[2], EmptyHole);

    // The start position is edited in the working cells only.
    EXPECT_EQ(session.currentRecord().StartCells, RunBoard().StartCells);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_TRUE(session.pendingPropertyEdit());
}

TEST_F(EditingTest, RightClicksCycleBackwardAndAPegMakesAHoleUnderItInTheTarget) {
    startEditing({RunBoard()});
    // Cell 10 (row 1) has no hole in either position.
    clickBig(10, MouseButton::Right);
    EXPECT_EQ(frontend.take(), (Calls{"sound 14", "drawTarget 10", "draw 10"}));
    EXPECT_EQ(session.play().Cells[10], SecondColourPeg);
    EXPECT_EQ(session.currentRecord().TargetCells[10], EmptyHole);
    clickBig(10, MouseButton::Right);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "draw 10"}));
    EXPECT_EQ(session.play().Cells[10], FirstColourPeg);
    clickBig(10, MouseButton::Right);
    EXPECT_EQ(frontend.take(), (Calls{"sound 12", "draw 10"}));
    clickBig(10, MouseButton::Right);
    EXPECT_EQ(frontend.take(), (Calls{"sound 11", "drawTarget 10", "draw 10"}));
    EXPECT_EQ(session.play().Cells[10], NoHole);
    EXPECT_EQ(session.currentRecord().TargetCells[10], NoHole);
}

TEST_F(EditingTest, TargetClicksCycleTheTargetAndLinkTheWorkingCells) {
    startEditing({RunBoard()});
    // A no-hole target cell over a no-hole start cell: both become empty holes.
    clickTarget(10);
    EXPECT_EQ(frontend.take(), (Calls{"sound 12", "draw 10", "drawTarget 10"}));
    EXPECT_EQ(session.currentRecord().TargetCells[10], EmptyHole);
    EXPECT_EQ(session.play().Cells[10], EmptyHole);

    // A peg in the other position keeps its cell whatever the clicked cell becomes.
    clickTarget(0, MouseButton::Right); // 1 -> 0 over a start peg: the start stays
    EXPECT_EQ(frontend.take(), (Calls{"sound 11", "drawTarget 0"}));
    EXPECT_EQ(session.play().Cells[0], FirstColourPeg);
    clickTarget(0, MouseButton::Right); // 0 -> 3
    EXPECT_EQ(session.currentRecord().TargetCells[0], SecondColourPeg);
    frontend.take();
    clickBig(0, MouseButton::Right); // start 2 -> 1 beside a target peg
    EXPECT_EQ(frontend.take(), (Calls{"sound 12", "draw 0"}));
    EXPECT_EQ(session.currentRecord().TargetCells[0], SecondColourPeg);

    // The target goes straight into the record; the start stays in the working cells.
    EXPECT_EQ(session.currentRecord().StartCells, RunBoard().StartCells);
}

TEST_F(EditingTest, AnyOtherButtonKeepsTheCodeButPlaysItsSoundAndMarksTheBoardEdited) {
    startEditing({RunBoard()});
    clickBig(0, MouseButton::Other);
    clickTarget(3, MouseButton::Other);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "draw 0", "sound 12", "drawTarget 3"}));
    EXPECT_EQ(session.play().Cells, RunBoard().StartCells);
    EXPECT_EQ(session.currentRecord(), RunBoard());
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_TRUE(session.pendingPropertyEdit());

    // So leaving the editor asks whether to accept.
    frontend.answer({false});
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "ask 5");
}

TEST_F(EditingTest, ADamagedCodeStaysSilentUnderTheMiddleButtonAndALeftClickMendsIt) {
    LevelRecord damaged = RunBoard();
    damaged.StartCells[2] = 7;
    startEditing({damaged});
    clickBig(2, MouseButton::Other);
    EXPECT_EQ(frontend.take(), (Calls{"draw 2"}));
    EXPECT_EQ(session.play().Cells[2], 7);
    clickBig(2);
    EXPECT_EQ(frontend.take(), (Calls{"sound 11", "drawTarget 2", "draw 2"}));
    EXPECT_EQ(session.play().Cells[2], NoHole);
}

TEST_F(EditingTest, SmallCellsAreHitTwoPixelsBeforeAndTenPixelsAfterTheirAnchor) {
    startEditing({RunBoard()});
    const Point anchor = targetAnchor(0);
    const std::vector<Point> misses{{anchor.x - 3, anchor.y},
                                    {anchor.x, anchor.y - 3},
                                    {anchor.x + 11, anchor.y},
                                    {anchor.x, anchor.y + 11}};
    for (const Point p : misses)
        session.boxMouseDown(p.x, p.y, MouseButton::Left);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_TRUE(nothingPending());

    session.boxMouseDown(anchor.x - 2, anchor.y - 2, MouseButton::Left);
    session.boxMouseDown(anchor.x + 10, anchor.y + 10, MouseButton::Left);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "drawTarget 0", "sound 14", "drawTarget 0"}));
}

TEST_F(EditingTest, HexagonalBoardsUseTheirOwnAnchorsOnBothBoards) {
    LevelRecord hexagon = DrawnBoard({"ooooo", "oooo", "ooooo"}, 5);
    hexagon.Shape = ShapeHexagon;
    startEditing({hexagon});
    // Row 1 is shifted right by half a cell on both boards.
    clickTarget(12);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "drawTarget 12"}));
    EXPECT_EQ(session.currentRecord().TargetCells[12], FirstColourPeg);
    clickBig(11);
    EXPECT_EQ(frontend.take(), (Calls{"sound 13", "draw 11"}));
    // Row 1 of a hexagon of size 5 ends at column 3: cell 13 is off the board on both boards.
    clickTarget(13);
    clickBig(13);
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(EditingTest, ClicksBesideEveryCellOrRightOfTheBigBoardChangeNothing) {
    startEditing({DrawnBoard({"ooooooooo", "ooooooooo", "ooooooooo", "ooooooooo", "ooooooooo", "ooooooooo",
                              "ooooooooo", "ooooooooo", "ooooooooo"},
                             9)});
    // Between two big cells, off a size 7 board's cells, and from x = 316 up to the small board.
    const Point first = centreOf(0);
    session.boxMouseDown(first.x + 16, first.y, MouseButton::Left);
    for (int x = 316; x < targetAnchor(0).x - 2; ++x)
        for (int y = 0; y < 333; y += 7)
            session.boxMouseDown(x, y, MouseButton::Left);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_TRUE(nothingPending());
    EXPECT_EQ(session.play().Cells, session.currentRecord().StartCells);
}

// --- Shape, size, diagonal rule, name

TEST_F(EditingTest, PropertiesGoStraightIntoTheRecordWithTheirOwnFlagsAndRepaints) {
    startEditing({RunBoard()});
    session.diagboxClick(true);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.currentRecord().Diagonal, 1);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_FALSE(session.pendingPropertyEdit());
    session.diagboxClick(false);
    EXPECT_EQ(session.currentRecord().Diagonal, 0);

    session.NameEditChange("Lauf");
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_TRUE(session.pendingPropertyEdit());
    EXPECT_EQ(session.currentRecord().Names[0].text(), "Lauf");

    // Cells beyond a smaller size keep their codes.
    session.SizeGrpClick(5);
    EXPECT_EQ(frontend.take(), (Calls{"paintBoard"}));
    EXPECT_EQ(session.currentRecord().Size, 5);
    EXPECT_EQ(session.currentRecord().StartCells[5], FirstColourPeg);
    session.ShapeGrpClick(ShapeHexagon);
    EXPECT_EQ(frontend.take(), (Calls{"paintBoard"}));
    EXPECT_EQ(session.currentRecord().Shape, ShapeHexagon);

    // Values the window cannot send are ignored.
    session.SizeGrpClick(4);
    session.SizeGrpClick(10);
    session.ShapeGrpClick(2);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.currentRecord().Size, 5);
    EXPECT_EQ(session.currentRecord().Shape, ShapeHexagon);
}

TEST_F(EditingTest, OnlyShapeSizeAndDiagonalSetTheCellFlag) {
    startEditing({RunBoard()});
    session.ShapeGrpClick(ShapeHexagon);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_FALSE(session.pendingPropertyEdit());
    frontend.answer({false});
    session.EditBtnClick(false);
    session.EditBtnClick(true);
    session.SizeGrpClick(6);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_FALSE(session.pendingPropertyEdit());
    frontend.answer({false});
    session.EditBtnClick(false);
    session.EditBtnClick(true);
    session.NameEditChange("x");
    EXPECT_FALSE(session.pendingCellEdit());
    EXPECT_TRUE(session.pendingPropertyEdit());
    frontend.answer({false});
    session.EditBtnClick(false);
    // Every "no" restored the board from its slot.
    EXPECT_EQ(session.currentRecord(), RunBoard());
}

TEST_F(EditingTest, NamesGoToTheSlotOfTheLanguageCutTo50Bytes) {
    startEditing({RunBoard()});
    const std::string longName(60, '\xE4'); // "ä" in Windows-1252
    session.NameEditChange(longName);
    EXPECT_EQ(session.currentRecord().Names[0].text(), std::string(50, '\xE4'));
    EXPECT_EQ(session.currentRecord().Names[0].Length, 50);

    session.setLanguage(LanguageGerman);
    session.NameEditChange("Brett");
    EXPECT_EQ(session.currentRecord().Names[1].text(), "Brett");
    EXPECT_EQ(session.currentRecord().Names[0].text(), std::string(50, '\xE4'));
    session.NameEditChange("");
    EXPECT_EQ(session.currentRecord().Names[1].Length, 0);
}

TEST_F(EditingTest, AnOriginalBoardRefusesShapeSizeDiagonalAndName) {
    LevelRecord original = RunBoard();
    original.Original = 1;
    startEditing({original});
    session.ShapeGrpClick(ShapeHexagon);
    session.SizeGrpClick(5);
    session.diagboxClick(true);
    session.NameEditChange("mine");
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.currentRecord(), original);
    EXPECT_TRUE(nothingPending());

    // Its cells can be clicked; leaving refuses the edits.
    clickBig(2);
    frontend.take();
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "notice 3");
    EXPECT_EQ(session.currentRecord(), original);
    EXPECT_EQ(session.play().Cells, original.StartCells);
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(EditingTest, EditorCommandsDoNothingOutsideTheEditor) {
    start({RunBoard(), StuckBoard()});
    session.ShapeGrpClick(ShapeHexagon);
    session.SizeGrpClick(5);
    session.diagboxClick(true);
    session.NameEditChange("x");
    session.TongBtnClick();
    session.InsertBtnClick();
    session.DeleteBtnClick();
    session.UpBtnClick();
    EXPECT_FALSE(session.startExport());
    EXPECT_FALSE(session.startImport());
    session.exportBoard(path("out.vrn"));
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.currentRecord(), RunBoard());
    EXPECT_EQ(session.collection().count(), 2);
    EXPECT_EQ(session.language(), LanguageUnset);
    EXPECT_FALSE(std::filesystem::exists(path("out.vrn")));
}

// --- Settling

TEST_F(EditingTest, LeavingTheEditorAcceptsTheClickedCellsAndDropsTheSolution) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    startEditing({withSolution});
    clickBig(6);     // the last hole gets a peg
    clickTarget(10); // a new hole in both positions
    frontend.take();
    frontend.answer({true});
    session.EditBtnClick(false);
    const LevelRecord& record = session.currentRecord();
    EXPECT_EQ(record.StartCells[6], FirstColourPeg);
    EXPECT_EQ(record.StartCells[10], EmptyHole);
    EXPECT_EQ(record.TargetCells[10], EmptyHole);
    EXPECT_EQ(record.SolutionMoves, 0);
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(session.play().Cells, record.StartCells);
}

TEST_F(EditingTest, DecliningOnLeavingDropsTargetAndCellEdits) {
    startEditing({RunBoard()});
    clickTarget(3);
    clickBig(2);
    frontend.answer({false});
    session.EditBtnClick(false);
    EXPECT_EQ(session.currentRecord(), RunBoard());
    EXPECT_EQ(session.play().Cells, RunBoard().StartCells);
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(EditingTest, MovingTheSelectorSettlesTheFullWayAndKeepsTheEditorOpen) {
    LevelRecord original = StuckBoard();
    original.Original = 1;
    startEditing({RunBoard(), original, TwoPegBoard()});

    // Yes: the edited board keeps its cells in its slot.
    clickBig(2);
    frontend.take();
    frontend.answer({true});
    session.levelscrollChange(2);
    EXPECT_EQ(frontend.take(), (Calls{"ask 5", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.collection().slot(1).StartCells[2], FirstColourPeg);
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_TRUE(nothingPending());

    // An original board: notice 3, its slot unchanged.
    clickTarget(10);
    frontend.take();
    session.levelscrollChange(3);
    EXPECT_EQ(frontend.take().front(), "notice 3");
    EXPECT_EQ(session.collection().slot(2), original);

    // No: the board as it was in its slot.
    clickBig(0);
    session.NameEditChange("gone");
    frontend.answer({false});
    session.levelscrollChange(1);
    EXPECT_EQ(session.collection().slot(3), TwoPegBoard());
    EXPECT_EQ(session.currentRecord().StartCells[2], FirstColourPeg);
}

// The short settling (insert, import, close) must not write cell edits into an original board: its
// start position and its stored solution stay as they are, and the player is told why.
TEST_F(EditingTest, ShortSettlingRefusesTheEditsOfAnOriginalBoard) {
    LevelRecord original = RunBoard();
    StoreJumps(original, {{0, 2}, {2, 4}, {4, 6}}, 1);
    original.Original = 1;
    startEditing({original, TwoPegBoard()});

    clickBig(2);
    clickTarget(10);
    frontend.take();
    frontend.answer({true}); // would accept the changes, if asked
    session.InsertBtnClick();
    const Calls calls = frontend.take();
    EXPECT_EQ(calls.front(), "notice 3");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ask 5"), 0);
    EXPECT_EQ(session.collection().slot(1), original);
    EXPECT_EQ(session.collection().count(), 3);

    // Closing with edits pending on the original: refused the same way, and nothing to save for it.
    session.levelscrollChange(1);
    clickBig(2);
    frontend.take();
    session.closeSequence({});
    EXPECT_EQ(frontend.take().front(), "notice 3");
    EXPECT_EQ(session.collection().slot(1), original);
    EXPECT_EQ(session.collection().current(), original);
}

// One action on the selector is one selection: a change that arrives while the give-up question is
// still open (a held scroll-bar button repeating behind it) neither asks again nor selects.
TEST_F(SessionTest, ASelectorChangeDuringTheQuestionIsPutBack) {
    start({RunBoard(), TwoPegBoard(), StuckBoard()}, 1);
    jump(0, 2);
    frontend.take();
    frontend.whileNextQuestionOpen([this] { session.levelscrollChange(3); });
    frontend.answer({true});
    session.levelscrollChange(2);
    const Calls calls = frontend.take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ask 3"), 1);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    // The selector that ran on to 3 was put back to the board being selected.
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "selector 3 2"), 1);
}

TEST_F(EditingTest, InsertPutsABlankBoardAfterTheCurrentOneAndStaysInTheEditor) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    startEditing({StuckBoard(), withSolution, TwoPegBoard()}, 2);
    clickBig(6);     // start cell, waits for the answer
    clickTarget(10); // target cell, straight into the record
    frontend.take();

    // The short way: after "no" the slot keeps its start position, but the target edit went straight
    // into the record and stays, and so does the solution.
    frontend.answer({false});
    session.InsertBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 5", "selector 4 3", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.collection().count(), 4);
    EXPECT_EQ(session.collection().currentNumber(), 3);
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_TRUE(session.collection().changed());
    EXPECT_TRUE(nothingPending());

    const LevelRecord& left = session.collection().slot(2);
    EXPECT_EQ(left.StartCells, RunBoard().StartCells);
    EXPECT_EQ(left.TargetCells[10], EmptyHole);
    EXPECT_EQ(left.SolutionMoves, 1);

    LevelRecord blank;
    MakeNewBoard(blank);
    EXPECT_EQ(session.currentRecord(), blank);
    EXPECT_EQ(session.collection().slot(3), blank);
    EXPECT_EQ(session.collection().slot(4), TwoPegBoard());
    EXPECT_EQ(session.play().Cells, blank.StartCells);
    EXPECT_EQ(session.play().MoveCount, 0);

    // Nothing pending: no question; the new board follows the current one.
    session.InsertBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"selector 5 4", "status", "hints", "paintBoard"}));
}

TEST_F(EditingTest, InsertAndImportDoNothingAt200Boards) {
    startEditing(std::vector<LevelRecord>(LevelCollection::MaxBoards, RunBoard()), 5);
    clickBig(2);
    frontend.take();
    session.InsertBtnClick();
    EXPECT_FALSE(session.startImport());
    writeRecord("board.vrn", TwoPegBoard());
    session.importBoard(path("board.vrn"));
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.collection().count(), LevelCollection::MaxBoards);
    EXPECT_TRUE(session.pendingCellEdit());
}

TEST_F(EditingTest, DeleteAsksFirstAndMakesTheFollowingBoardCurrent) {
    startEditing({RunBoard(), StuckBoard(), TwoPegBoard()}, 2);
    clickBig(0);
    frontend.take();
    frontend.answer({false});
    session.DeleteBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 0"}));
    EXPECT_EQ(session.collection().count(), 3);
    EXPECT_TRUE(session.pendingCellEdit());

    frontend.answer({true});
    session.DeleteBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 0", "selector 2 2", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.collection().count(), 2);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    EXPECT_EQ(session.currentRecord(), TwoPegBoard());
    EXPECT_EQ(session.play().Cells, TwoPegBoard().StartCells);
    // The par belongs to the board now current.
    EXPECT_EQ(session.play().Par, ParOf(TwoPegBoard()));
    EXPECT_TRUE(nothingPending());
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(session.mode(), ModeEditing);

    // Deleting the last board makes the new last board current.
    frontend.answer({true});
    session.DeleteBtnClick();
    EXPECT_EQ(session.collection().count(), 1);
    EXPECT_EQ(session.currentRecord(), RunBoard());
}

TEST_F(EditingTest, DeletingTheOnlyBoardLeavesANewBlankBoard) {
    startEditing({RunBoard()});
    frontend.answer({true});
    session.DeleteBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 0", "selector 1 1", "status", "hints", "paintBoard"}));
    LevelRecord blank;
    MakeNewBoard(blank);
    EXPECT_EQ(session.collection().count(), 1);
    EXPECT_EQ(session.currentRecord(), blank);
    EXPECT_EQ(session.collection().slot(1), blank);
    EXPECT_TRUE(session.collection().changed());
}

TEST_F(EditingTest, AnOriginalBoardIsNotDeleted) {
    LevelRecord original = RunBoard();
    original.Original = 1;
    startEditing({original, StuckBoard()});
    session.DeleteBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"notice 3"}));
    EXPECT_EQ(session.collection().count(), 2);
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(EditingTest, MovingUpAndDownExchangesNeighboursAndFollowsTheBoard) {
    std::vector<LevelRecord> boards;
    for (int k = 1; k <= 5; ++k) {
        LevelRecord board = RunBoard();
        board.Names[0].setText("board " + std::to_string(k));
        boards.push_back(board);
    }
    startEditing(boards, 3);
    session.UpBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"selector 5 4", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.collection().currentNumber(), 4);
    EXPECT_EQ(session.collection().slot(4).Names[0].text(), "board 3");
    EXPECT_EQ(session.collection().slot(3).Names[0].text(), "board 4");
    EXPECT_EQ(session.currentRecord().Names[0].text(), "board 3");
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(session.mode(), ModeEditing);

    session.DownBtnClick();
    session.DownBtnClick();
    session.DownBtnClick();
    EXPECT_EQ(session.collection().currentNumber(), 1);
    EXPECT_EQ(session.collection().slot(1).Names[0].text(), "board 3");
    EXPECT_EQ(session.collection().slot(2).Names[0].text(), "board 1");
    EXPECT_EQ(session.collection().slot(3).Names[0].text(), "board 2");
    EXPECT_EQ(session.collection().slot(4).Names[0].text(), "board 4");

    // Down at board 1 and up at the last board do nothing.
    frontend.take();
    session.DownBtnClick();
    session.levelscrollChange(5);
    frontend.take();
    session.UpBtnClick();
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.collection().currentNumber(), 5);
}

TEST_F(EditingTest, MovingABoardSettlesItsEditsAgainstItsOwnSlot) {
    LevelRecord original = StuckBoard();
    original.Original = 1;
    startEditing({RunBoard(), TwoPegBoard(), original}, 1);

    // "No" drops the target and name edits too: the moved board is as it was.
    clickTarget(10);
    session.NameEditChange("renamed");
    frontend.take();
    frontend.answer({false});
    session.UpBtnClick();
    EXPECT_EQ(frontend.take().at(1), "ask 5");
    EXPECT_EQ(session.collection().slot(2), RunBoard());
    EXPECT_EQ(session.collection().slot(1), TwoPegBoard());

    // "Yes" keeps them at the new place.
    clickBig(2);
    frontend.answer({true});
    session.DownBtnClick();
    EXPECT_EQ(session.collection().slot(1).StartCells[2], FirstColourPeg);
    EXPECT_EQ(session.collection().slot(2), TwoPegBoard());

    // An original board moves, but its edits are refused, also those that went straight into the
    // current record: the neighbour's place must not receive the edited record.
    session.levelscrollChange(3);
    clickTarget(10);
    frontend.take();
    session.DownBtnClick();
    EXPECT_EQ(frontend.take().at(1), "notice 3");
    EXPECT_EQ(session.collection().slot(2), original);
    EXPECT_EQ(session.collection().slot(3), TwoPegBoard());
}

// --- Export and import

TEST_F(EditingTest, ExportThenImportCopiesTheBoardByteForByteButTheSolvedFlag) {
    const LevelRecord full = FullRecord();
    startEditing({RunBoard(), StuckBoard(), full}, 3);
    // An unsettled start cell is not exported; the target cell is.
    clickBig(10);
    frontend.take();
    ASSERT_TRUE(session.startExport());
    session.exportBoard(path("full.vrn"));
    EXPECT_TRUE(frontend.take().empty());
    const std::vector<std::uint8_t> file = readFile("full.vrn");
    LevelRecord exported = full;
    exported.TargetCells[10] = EmptyHole;
    const LevelRecord::Bytes expected = exported.toBytes();
    ASSERT_EQ(file, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    // Export changes nothing.
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_FALSE(session.collection().changed());

    frontend.answer({false});
    session.levelscrollChange(1);
    frontend.take();
    ASSERT_TRUE(session.startImport());
    session.importBoard(path("full.vrn"));
    EXPECT_EQ(frontend.take(), (Calls{"selector 4 2", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.collection().count(), 4);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_TRUE(session.collection().changed());
    EXPECT_TRUE(nothingPending());

    LevelRecord imported = exported;
    imported.Solved = 0;
    EXPECT_EQ(session.currentRecord(), imported);
    EXPECT_EQ(session.collection().slot(2), imported);
    EXPECT_EQ(session.collection().slot(3), StuckBoard());
    EXPECT_EQ(session.play().Cells, imported.StartCells);
    // The stored solution came along.
    EXPECT_EQ(session.play().Par, 1);
}

TEST_F(EditingTest, AnOriginalBoardIsNotExported) {
    LevelRecord original = RunBoard();
    original.Original = 1;
    startEditing({original});
    EXPECT_FALSE(session.startExport());
    EXPECT_EQ(frontend.take(), (Calls{"notice 6"}));
    session.exportBoard(path("orig.vrn"));
    EXPECT_FALSE(std::filesystem::exists(path("orig.vrn")));
}

TEST_F(EditingTest, AFailedExportNamesTheFileInTheLanguage) {
    startEditing({RunBoard()});
    session.exportBoard(path("missing/dir/mine.vrn"));
    EXPECT_EQ(frontend.take(), (Calls{"error Cannot export board mine.vrn. Drive full or not writable."}));
    // The name field's placeholder is no file name.
    session.setLanguage(LanguageGerman);
    session.exportBoard(path("*.vrn"));
    EXPECT_EQ(frontend.take(),
              (Calls{"error Kann Brett *.vrn nicht exportieren. Datenträger voll oder nicht beschreibbar."}));
    // An emptied name field leaves only the extension: no hidden file is written.
    session.exportBoard(ExportPath(path(""), ""));
    EXPECT_EQ(frontend.take(),
              (Calls{"error Kann Brett .vrn nicht exportieren. Datenträger voll oder nicht beschreibbar."}));
    EXPECT_FALSE(std::filesystem::exists(path(".vrn")));
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(EditingTest, AShortFileIsRefusedAndALongOneGivesItsFirstRecord) {
    startEditing({RunBoard(), StuckBoard()});
    clickBig(2);
    frontend.take();
    writeFile("short.vrn", std::vector<std::uint8_t>(700, 1));
    session.importBoard(path("short.vrn"));
    EXPECT_EQ(frontend.take(), (Calls{"notice 5"}));
    EXPECT_EQ(session.collection().count(), 2);
    EXPECT_EQ(session.collection().currentNumber(), 1);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_FALSE(session.collection().changed());

    // An empty path or a vanished file: nothing at all.
    session.importBoard("");
    session.importBoard(path("vanished.vrn"));
    EXPECT_TRUE(frontend.take().empty());

    // A 1000-byte file: its first 732 bytes. The pending edits are asked about once.
    std::vector<std::uint8_t> long_(1000, 0xEE);
    const LevelRecord::Bytes board = TwoPegBoard().toBytes();
    std::copy(board.begin(), board.end(), long_.begin());
    writeFile("long.vrn", long_);
    frontend.answer({true});
    session.importBoard(path("long.vrn"));
    EXPECT_EQ(frontend.take().front(), "ask 5");
    EXPECT_EQ(session.collection().count(), 3);
    EXPECT_EQ(session.currentRecord(), TwoPegBoard());
    EXPECT_EQ(session.collection().slot(1).StartCells[2], FirstColourPeg);
    EXPECT_EQ(session.collection().slot(3), StuckBoard());
}

TEST_F(EditingTest, AnImportedOriginalBoardStaysOriginal) {
    LevelRecord original = RunBoard();
    original.Original = 1;
    original.Solved = 1;
    writeRecord("orig.vrn", original);
    startEditing({StuckBoard()});
    session.importBoard(path("orig.vrn"));
    EXPECT_EQ(session.currentRecord().Original, 1);
    EXPECT_EQ(session.currentRecord().Solved, 0);
    frontend.take();
    session.DeleteBtnClick();
    EXPECT_FALSE(session.startExport());
    EXPECT_EQ(frontend.take(), (Calls{"notice 3", "notice 6"}));
}

// Any bytes at all: imported, edited, played and replayed without a fault (also under the sanitizers).
class HostileImportTest : public EditingTest, public testing::WithParamInterface<unsigned> {};

TEST_P(HostileImportTest, TheBoardCanBeImportedEditedAndPlayed) {
    frontend.answerAnyQuestion(true);
    const std::vector<std::uint8_t> bytes = RandomBytes(RecordBytes, GetParam());
    writeFile("hostile.vrn", bytes);
    startEditing({RunBoard()});
    session.importBoard(path("hostile.vrn"));
    ASSERT_EQ(session.collection().count(), 2);
    LevelRecord expected = LevelRecord::fromBytes(bytes.data());
    expected.Solved = 0;
    EXPECT_EQ(session.currentRecord(), expected);

    // Edit: every button over the whole board area, and the controls.
    for (int x = 0; x < 500; x += 5)
        for (int y = 0; y < 333; y += 5)
            session.boxMouseDown(x, y, static_cast<MouseButton>((x + y) % 3));
    session.SizeGrpClick(9);
    session.ShapeGrpClick(ShapeHexagon);
    session.NameEditChange(std::string(80, '\xFF'));
    session.TongBtnClick();
    // A damaged code comes back into 0..3 with one left click.
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsOnBoard(session.currentRecord(), cell))
            continue;
        if (session.play().Cells[cell] > SecondColourPeg)
            clickBig(cell);
        EXPECT_LE(session.play().Cells[cell], SecondColourPeg) << cell;
    }

    // Play: pick and drop all over the board area, then replay the stored solution to its end.
    session.EditBtnClick(false);
    ASSERT_EQ(session.mode(), ModeReady);
    for (int x = 0; x < 500; x += 9)
        for (int y = 0; y < 333; y += 9) {
            session.boxMouseDown(x, y, MouseButton::Left);
            session.boxMouseUp(333 - y, x % 333, MouseButton::Left);
        }
    EXPECT_LE(session.play().JumpCount, HistoryJumps);
    session.BackMoveBtnClick();
    session.RestartBtnClick();
    ASSERT_EQ(session.mode(), ModeReady);
    frontend.take();
    for (int step = 0; step <= HistoryJumps; ++step)
        session.StepBtnClick();
    EXPECT_LE(session.play().JumpCount, HistoryJumps);
    // A replay that stopped short of the solved position has its Step button disabled.
    if (session.mode() == ModeReplaying) {
        const Calls calls = frontend.take();
        const auto lastStep = std::find_if(
            calls.rbegin(), calls.rend(), [](const std::string& call) { return call.rfind("step", 0) == 0; });
        ASSERT_NE(lastStep, calls.rend());
        EXPECT_EQ(*lastStep, "step off");
    }
    session.BackMoveBtnClick();

    // And back into the editor for the list commands.
    session.EditBtnClick(true);
    session.DownBtnClick();
    session.UpBtnClick();
    session.exportBoard(path("again.vrn"));
    session.DeleteBtnClick();
    EXPECT_GE(session.collection().count(), 1);
    EXPECT_LE(session.collection().currentNumber(), session.collection().count());
    session.EditBtnClick(false);
}

INSTANTIATE_TEST_SUITE_P(Seeds, HostileImportTest, testing::Range(1u, 13u));

// --- Language

TEST_F(EditingTest, TheLanguageButtonSwapsLanguagesAndNotChosenBecomesEnglish) {
    startEditing({RunBoard()});
    clickBig(2);
    frontend.take();
    ASSERT_EQ(session.language(), LanguageUnset);
    session.TongBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"hints", "title"}));
    EXPECT_EQ(session.language(), LanguageEnglish);
    session.TongBtnClick();
    EXPECT_EQ(session.language(), LanguageGerman);
    session.TongBtnClick();
    EXPECT_EQ(session.language(), LanguageEnglish);

    // The edits before the switch are still pending, so leaving asks.
    EXPECT_TRUE(session.pendingCellEdit());
    frontend.take();
    frontend.answer({false});
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "ask 5");
}
