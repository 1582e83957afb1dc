// SPDX-License-Identifier: GPL-3.0-or-later
// The main window played from the keyboard: the cursor ring over the board, pick and drop with Space
// and Enter, Escape, the tool panel's shortcuts, the hint and the dead-end warning mark, with real key
// events and the pixels the board area shows.
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "GameFixture.h"
#include "app/BoardKeys.h"
#include "app/DeadEndWatch.h"
#include "app/HelpWindow.h"
#include "app/HintAsker.h"
#include "view/BoardArea.h"
#include "view/ToolButton.h"

namespace {

// What the board area shows on the screen: its picture with whatever is drawn over it.
QImage shown(const TMainForm& form) {
    return form.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void key(TMainForm& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&form, key, modifiers);
}

void keys(TMainForm& form, std::initializer_list<Qt::Key> sequence) {
    for (const Qt::Key k : sequence)
        key(form, k);
}

// The rectangles where two pictures differ, as one bounding rectangle (empty when they are equal).
QRect differences(const QImage& a, const QImage& b) {
    QRect found;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                found = found.united(QRect(x, y, 1, 1));
    return found;
}

// Size 5: pegs on 0 and 1 of the top row and on 9, 10 and 11 of the second. It can be won, but the jump
// 10 over 11 onto 12 leads into a dead end that is not stuck yet.
LevelRecord deadEndBoard(LevelRecord record) {
    record.StartCells[3] = EmptyHole;
    for (const int peg : {0, 1, 9, 10, 11})
        record.StartCells[peg] = FirstColourPeg;
    return record;
}

// The 45-hole cross, every hole a peg but the middle one, and a single peg anywhere as the target.
LevelRecord CrossOf45() {
    LevelRecord record;
    MakeNewBoard(record);
    record.Size = 9;
    record.Shape = ShapeSquare;
    for (int cell = 0; cell < CellCount; ++cell) {
        const int row = cell / GridWidth, col = cell % GridWidth;
        const bool onBoard = row < 9 && col < 9 && ((row >= 3 && row <= 5) || (col >= 3 && col <= 5));
        record.StartCells[cell] = onBoard ? FirstColourPeg : NoHole;
        record.TargetCells[cell] = onBoard ? EmptyHole : NoHole;
    }
    record.StartCells[4 * GridWidth + 4] = EmptyHole;
    return record;
}

} // namespace

TEST_F(GameFixture, ArrowsShowARingThatGoesWithoutATraceWhenTheMouseMoves) {
    auto form = startEnglishGame();
    const QImage board = form->box()->image();
    ASSERT_EQ(shown(*form), board);

    key(*form, Qt::Key_Down);
    ASSERT_TRUE(form->keys()->cursorShown());
    EXPECT_EQ(form->keys()->cursorCell(), 20) << "the middle of the size 5 board";
    EXPECT_EQ(form->box()->image(), board) << "the ring is never drawn into the board's picture";
    const QRect ring = differences(shown(*form), board);
    const QRect field = PlaceOf(form->session().currentRecord(), 20).bigField();
    EXPECT_EQ(ring.center(), field.center());
    EXPECT_TRUE(ring.contains(field.adjusted(-2, -2, 2, 2))) << "a ring around the hole";

    key(*form, Qt::Key_Right);
    EXPECT_EQ(form->keys()->cursorCell(), 21);
    EXPECT_EQ(differences(shown(*form), board).center(),
              PlaceOf(form->session().currentRecord(), 21).bigField().center());

    QTest::mouseMove(form->box(), QPoint(10, 10));
    EXPECT_FALSE(form->keys()->cursorShown());
    EXPECT_EQ(shown(*form), board);
}

TEST_F(GameFixture, SpaceAndEnterPickAndDropWithTheSoundsAndCountersOfTheMouse) {
    auto form = startEnglishGame();
    // The cursor starts on 20; up twice and left twice is cell 0.
    keys(*form, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Left});
    ASSERT_EQ(form->keys()->cursorCell(), 0);
    key(*form, Qt::Key_Space);
    EXPECT_TRUE(form->session().play().Dragging);
    EXPECT_EQ(form->sounds().lastStarted(), 2);
    EXPECT_EQ(form->session().play().Cells[0], EmptyHole);

    // The peg moves with the cursor and drops with Enter: a jump, its removal effect, the counter.
    keys(*form, {Qt::Key_Right, Qt::Key_Right});
    key(*form, Qt::Key_Return);
    EXPECT_FALSE(form->session().play().Dragging);
    EXPECT_EQ(form->session().play().JumpCount, 1);
    EXPECT_EQ(form->session().play().MoveCount, 1);
    EXPECT_EQ(form->session().play().Cells[2], FirstColourPeg);
    EXPECT_EQ(form->session().play().Cells[1], EmptyHole);
    EXPECT_EQ(form->sounds().lastStarted(), 7);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    EXPECT_TRUE(displayShows(*form, 24, 1 * 11, 11)) << "one move left of par 2";

    // A drop where no jump lands puts the peg back with sound 3; Escape puts it back silently.
    key(*form, Qt::Key_Space);
    key(*form, Qt::Key_Left);
    key(*form, Qt::Key_Space);
    EXPECT_EQ(form->sounds().lastStarted(), 3);
    EXPECT_EQ(form->session().play().JumpCount, 1);
    key(*form, Qt::Key_Right);
    key(*form, Qt::Key_Space);
    ASSERT_TRUE(form->session().play().Dragging);
    key(*form, Qt::Key_Escape);
    EXPECT_FALSE(form->session().play().Dragging);
    EXPECT_EQ(form->session().play().Cells[2], FirstColourPeg);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // The last jump solves the board and asks to store the solution, as a drop by mouse does.
    ModalScript script;
    script.then(ModalScript::no());
    keys(*form, {Qt::Key_Right, Qt::Key_Space, Qt::Key_Left, Qt::Key_Left, Qt::Key_Space});
    EXPECT_EQ(form->session().mode(), ModeSolved);
    EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 2"}));
}

TEST_F(GameFixture, ShortcutsRunTheirButtonsAndNothingWhileTheButtonIsDisabled) {
    auto form = startEnglishGame();
    drag(*form, cellCentre(0), {}, cellCentre(2));
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->sounds().lastStarted(), 8);
    EXPECT_EQ(form->session().play().JumpCount, 0);
    key(*form, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->session().play().JumpCount, 1);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    key(*form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->session().play().JumpCount, 1);

    // Restart and Page Down ask to give up the game in progress; no keeps it.
    ModalScript script;
    script.then(ModalScript::no()).then(ModalScript::no()).then(ModalScript::yes());
    key(*form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form->session().play().JumpCount, 1);
    key(*form, Qt::Key_PageDown);
    EXPECT_EQ(form->session().collection().currentNumber(), 1);
    EXPECT_EQ(form->levelscroll()->value(), 1);
    key(*form, Qt::Key_PageDown);
    EXPECT_EQ(form->session().collection().currentNumber(), 2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Second");
    EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 3", "TYesNoDialog 3", "TYesNoDialog 3"}));
    key(*form, Qt::Key_PageDown);
    EXPECT_EQ(form->session().collection().currentNumber(), 2) << "the last board";
    key(*form, Qt::Key_PageUp);
    EXPECT_EQ(form->session().collection().currentNumber(), 1);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // F1 is the help button.
    key(*form, Qt::Key_F1);
    EXPECT_TRUE(form->helpWindow()->isVisible());
    EXPECT_EQ(form->helpWindow()->currentTopic(), "The_Game");
    form->helpWindow()->closeHelp();
}

TEST_F(GameFixture, StepAndEditorKeysFollowTheirButtons) {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    writeCollection({solvedBoardOne(), boardTwo()});
    auto form = startGame();
    key(*form, Qt::Key_N);
    EXPECT_EQ(form->session().mode(), ModeReplaying);
    EXPECT_EQ(form->session().play().JumpCount, 1);
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    key(*form, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->session().play().JumpCount, 1) << "redo in a replay is its next step";

    // Ctrl+E opens the editor; there undo, restart and step are disabled and their keys do nothing.
    key(*form, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(form->session().mode(), ModeEditing);
    EXPECT_TRUE(form->EditBtn()->Down());
    const Position editing = form->session().play().Cells;
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    key(*form, Qt::Key_R, Qt::ControlModifier);
    key(*form, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(form->session().mode(), ModeEditing);
    EXPECT_EQ(form->session().play().Cells, editing);

    // Space cycles the cell under the cursor as a left click does: the empty hole 20 gets a peg.
    key(*form, Qt::Key_Down);
    ASSERT_EQ(form->keys()->cursorCell(), 20);
    key(*form, Qt::Key_Space);
    EXPECT_EQ(form->session().play().Cells[20], FirstColourPeg);
    EXPECT_EQ(form->sounds().lastStarted(), 13);

    ModalScript accept;
    accept.then(ModalScript::no());
    key(*form, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_FALSE(form->EditBtn()->Down());
    EXPECT_EQ(accept.seen(), (QStringList{"TYesNoDialog 5"}));
}

TEST_F(GameFixture, CtrlQAsksToEndTheGame) {
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::no());
    key(*form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 4"}));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(GameFixture, AHintBlinksAJumpThatStillWinsAndChangesNothing) {
    auto form = startEnglishGame();
    const QImage board = form->box()->image();
    // During the blink the peg on 0 shows on 2; the blink runs in the answer's delivery, between the
    // events it lets through.
    QImage duringBlink;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (duringBlink.isNull() && form->box()->image() != board)
            duringBlink = form->box()->image();
    });
    sampler.start(20);
    key(*form, Qt::Key_H);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->hintAsker()->idle(); }, 10000));
    sampler.stop();
    ASSERT_FALSE(duringBlink.isNull());
    const QRect blinked = differences(duringBlink, board);
    const CellPlace from = PlaceOf(form->session().currentRecord(), 0);
    const CellPlace to = PlaceOf(form->session().currentRecord(), 2);
    EXPECT_TRUE(from.bigField().united(to.bigField()).contains(blinked));
    EXPECT_TRUE(blinked.contains(from.bigField().adjusted(2, 2, -2, -2)));
    EXPECT_TRUE(blinked.contains(to.bigField().adjusted(2, 2, -2, -2)));
    EXPECT_EQ(form->box()->image(), board);
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_EQ(form->sounds().lastStarted(), 0);
}

TEST_F(GameFixture, AHintWithNoWayLeftSaysSo) {
    auto form = startEnglishGame();
    // Board 2: after its only jump two pegs stay apart for good.
    form->levelscroll()->setValue(2);
    ModalScript script;
    script.then(ModalScript::ok());
    key(*form, Qt::Key_H);
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.finished(); }, 10000));
    EXPECT_EQ(script.seen(), (QStringList{"TOKDialog 7"}));
}

TEST_F(GameFixture, AHintIsSearchedBesideTheWindowAndShownOnlyForItsPosition) {
    auto form = startEnglishGame();
    drag(*form, cellCentre(0), {}, cellCentre(2));
    ASSERT_EQ(form->session().play().JumpCount, 1);
    key(*form, Qt::Key_H);
    EXPECT_FALSE(form->hintAsker()->idle());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor)
        << "a cursor for an answer that comes at once flickers";
    // Taken back before the answer (3 -> 1 wins) came: it is not shown for the start.
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(form->session().play().JumpCount, 0);
    EXPECT_TRUE(form->hintAsker()->idle());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    const QImage board = form->box()->image();
    bool changed = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { changed = changed || form->box()->image() != board; });
    sampler.start(20);
    ModalScript script;
    QTest::qWait(600);
    EXPECT_FALSE(changed) << "no blink";
    EXPECT_TRUE(script.seen().isEmpty()) << "no notice";

    // A peg lifted calls the question off: its answer would not be for the cells under the drag, and
    // the search would take the CPU from the drag.
    key(*form, Qt::Key_H);
    keys(*form, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Left});
    ASSERT_EQ(form->keys()->cursorCell(), 0);
    key(*form, Qt::Key_Space);
    ASSERT_TRUE(form->session().play().Dragging);
    EXPECT_TRUE(form->hintAsker()->idle());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    key(*form, Qt::Key_Escape);
    ASSERT_EQ(form->box()->image(), board);
    changed = false;

    key(*form, Qt::Key_H);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->hintAsker()->idle(); }, 10000));
    EXPECT_TRUE(changed) << "the start's hint blinks";
    EXPECT_EQ(form->box()->image(), board);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GameFixture, AHintThatLastsShowsTheBusyCursorUntilItsAnswer) {
    const LevelRecord cross = CrossOf45();
    writeCollection({cross});
    auto form = startEnglishGame();
    const auto at = [](int row, int col) {
        return row * GridWidth + col;
    };
    for (const auto& [from, to] :
         {std::pair{at(4, 2), at(4, 4)}, {at(4, 5), at(4, 3)}, {at(2, 4), at(4, 4)}, {at(4, 7), at(4, 5)}})
        drag(*form, cellCentre(cross, from), {}, cellCentre(cross, to));
    ASSERT_EQ(form->session().play().JumpCount, 4);
    // Here the hint's search takes its whole budget, some 0.6 s of one core.
    ModalScript script;
    script.otherwise(ModalScript::agree());
    key(*form, Qt::Key_H);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form->cursor().shape() == Qt::BusyCursor || form->hintAsker()->idle(); }, 10000));
    EXPECT_EQ(form->cursor().shape(), Qt::BusyCursor) << "the player sees that the game thinks";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return form->hintAsker()->idle() && !script.seen().isEmpty(); }, 10000));
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GameFixture, TheBoardsTableIsMadeWhileThePlayerLooksAtTheBoard) {
    auto form = startEnglishGame();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->deadEndWatch()->idle(); }, 10000));
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_TRUE(form->session().boardReach()->tableFacts().built) << "made only at the first jump";
}

TEST_F(GameFixture, AJumpFromADeadEndShowsTheMarkAtOnceWithoutASearch) {
    LevelRecord record = boardOne();
    record.StartCells[3] = EmptyHole;
    for (const int peg : {0, 1, 2, 9, 10, 11, 18})
        record.StartCells[peg] = FirstColourPeg;
    writeCollection({record});
    auto form = startEnglishGame();
    // Across the top row: the pegs left can no longer come down to one.
    drag(*form, cellCentre(1), {}, cellCentre(3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->deadEndWatch()->markShown(); }, 5000));
    const int searches = form->deadEndWatch()->searchesBegun();
    drag(*form, cellCentre(9), {}, cellCentre(27));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->session().play().JumpCount == 2; }, 5000));
    ASSERT_EQ(form->session().mode(), ModePlaying);
    EXPECT_TRUE(form->deadEndWatch()->markShown());
    EXPECT_EQ(form->deadEndWatch()->searchesBegun(), searches);
    // Back to a position that can still be won and forward by another jump: that one is asked.
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(form->deadEndWatch()->markShown());
    drag(*form, cellCentre(9), {}, cellCentre(27));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->session().play().JumpCount == 1; }, 5000));
    EXPECT_GT(form->deadEndWatch()->searchesBegun(), searches);
}

TEST_F(GameFixture, TheDeadEndMarkComesAfterABadJumpAndGoesWithUndoWithoutATrace) {
    writeCollection({deadEndBoard(boardOne())});
    auto form = startEnglishGame();
    const QImage start = shown(*form);
    drag(*form, cellCentre(10), {}, cellCentre(12));
    ASSERT_EQ(form->session().mode(), ModePlaying);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->deadEndWatch()->markShown(); }, 5000));
    const QImage afterJump = form->box()->image();
    const QRect mark = differences(shown(*form), afterJump);
    EXPECT_GT(mark.width() * mark.height(), 20 * 20);
    EXPECT_TRUE(QRect(DeadEndMarkPlace, QSize(32, 32)).contains(mark));
    // No board of any size or shape has a cell under it, big or small.
    for (const std::uint8_t shape : {ShapeSquare, ShapeHexagon})
        for (int size = 5; size <= 9; ++size) {
            LevelRecord record = boardOne();
            record.Shape = shape;
            record.Size = static_cast<std::uint8_t>(size);
            for (int cell = 0; cell < CellCount; ++cell) {
                const CellPlace place = PlaceOf(record, cell);
                EXPECT_FALSE(IsOnBoard(record, cell) &&
                             (mark.intersects(place.bigField()) || mark.intersects(place.smallField())))
                    << "size " << size << " shape " << int{shape} << " cell " << cell;
            }
        }

    key(*form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(form->deadEndWatch()->markShown());
    EXPECT_EQ(shown(*form), start);
    // The start can still be won: no mark comes back.
    QTest::qWait(300);
    EXPECT_FALSE(form->deadEndWatch()->markShown());

    // A good jump brings no mark; the bad one again does, at once and without a search, since that
    // position was answered before; and a restart takes it away.
    drag(*form, cellCentre(0), {}, cellCentre(2));
    QTest::qWait(300);
    EXPECT_FALSE(form->deadEndWatch()->markShown());
    key(*form, Qt::Key_Z, Qt::ControlModifier);
    const int searches = form->deadEndWatch()->searchesBegun();
    drag(*form, cellCentre(10), {}, cellCentre(12));
    EXPECT_TRUE(form->deadEndWatch()->markShown());
    EXPECT_EQ(form->deadEndWatch()->searchesBegun(), searches);
    ModalScript script;
    script.then(ModalScript::yes());
    key(*form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(form->deadEndWatch()->markShown());
    EXPECT_EQ(shown(*form), start);
}
