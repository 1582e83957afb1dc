// SPDX-License-Identifier: GPL-3.0-or-later
// Redo: undone jumps come back in order with the counters they had, until something new is played or
// the game is set up again; in a replay redo is the next step.
#include <gtest/gtest.h>

#include "SessionFixture.h"

using RedoTest = SessionTest;

namespace {

// Row 0 of a size 9 board: the peg on 0 runs 0 -> 2 -> 4 -> 6 (one move) and three pegs remain.
LevelRecord LongRunBoard() {
    return DrawnBoard({"PPoPoPoPP"}, 9);
}

} // namespace

TEST_F(RedoTest, UndoneJumpsComeBackInOrderWithTheirCounters) {
    start({TwoPegBoard()});
    jump(0, 2);
    const Counters afterOne = CountersOf(session.play());
    jump(5, 3);
    const Counters afterTwo = CountersOf(session.play());
    session.BackMoveBtnClick();
    session.BackMoveBtnClick();
    frontend.take();

    session.redoJump();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 2", "draw 0", "removal 1", "status"}));
    EXPECT_TRUE(CountersOf(session.play()) == afterOne);
    session.redoJump();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 3", "draw 5", "removal 4", "status"}));
    EXPECT_TRUE(CountersOf(session.play()) == afterTwo);
    EXPECT_EQ(session.mode(), ModePlaying);

    // Nothing more to redo.
    session.redoJump();
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_TRUE(CountersOf(session.play()) == afterTwo);
}

TEST_F(RedoTest, ARedoneJumpContinuesTheMoveOfItsPeg) {
    start({LongRunBoard()});
    jump(0, 2);
    jump(2, 4);
    jump(4, 6);
    EXPECT_EQ(session.play().MoveCount, 1);
    for (int k = 0; k < 3; ++k)
        session.BackMoveBtnClick();
    session.redoJump();
    session.redoJump();
    EXPECT_EQ(session.play().JumpCount, 2);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(session.play().LastLanding, 4);
    // The same peg jumping on by hand is still the same move, and it forgets the jump left to redo.
    jump(4, 6);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(session.play().RedoCount, 0);
}

TEST_F(RedoTest, ANewJumpForgetsWhatCouldBeRedone) {
    start({LongRunBoard()});
    jump(0, 2);
    jump(2, 4);
    jump(4, 6);
    session.BackMoveBtnClick();
    // Another jump from the same position: the peg on 8 over 7 onto 6.
    jump(8, 6);
    const Counters played = CountersOf(session.play());
    frontend.take();
    session.redoJump();
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_TRUE(CountersOf(session.play()) == played);
}

TEST_F(RedoTest, RestartAnotherBoardAndTheEditorForgetWhatCouldBeRedone) {
    start({TwoPegBoard(), TwoPegBoard()});
    const auto undoneJump = [&] {
        jump(0, 2);
        session.BackMoveBtnClick();
        ASSERT_EQ(session.play().RedoCount, 1);
    };
    const auto redoDoesNothing = [&](const char* after) {
        SCOPED_TRACE(after);
        frontend.take();
        session.redoJump();
        EXPECT_TRUE(frontend.take().empty());
        EXPECT_EQ(session.play().JumpCount, 0);
        EXPECT_EQ(session.play().Cells, TwoPegBoard().StartCells);
    };

    undoneJump();
    frontend.answer({true});
    session.RestartBtnClick();
    redoDoesNothing("restart");

    undoneJump();
    frontend.answer({true});
    session.levelscrollChange(2);
    redoDoesNothing("another board");

    undoneJump();
    session.EditBtnClick(true);
    session.EditBtnClick(false);
    redoDoesNothing("the editor");
}

TEST_F(RedoTest, AGameWithRedoneJumpsIsStoredAsPlayed) {
    start({RunBoard()});
    jump(0, 2);
    jump(2, 4);
    session.BackMoveBtnClick();
    session.BackMoveBtnClick();
    session.redoJump();
    session.redoJump();
    frontend.answer({true});
    jump(4, 6);
    EXPECT_EQ(session.mode(), ModeSolved);
    const LevelRecord& stored = session.collection().slot(1);
    EXPECT_EQ(stored.SolutionMoves, 1);
    EXPECT_EQ(stored.SolutionFrom[0], 0);
    EXPECT_EQ(stored.SolutionTo[0], 2);
    EXPECT_EQ(stored.SolutionFrom[1], 2);
    EXPECT_EQ(stored.SolutionTo[1], 4);
    EXPECT_EQ(stored.SolutionFrom[2], 4);
    EXPECT_EQ(stored.SolutionTo[2], 6);
}

TEST_F(RedoTest, InAReplayRedoIsTheNextStepOnlyAfterAnUndo) {
    LevelRecord board = TwoPegBoard();
    StoreJumps(board, {{0, 2}, {5, 3}, {2, 4}}, 3);
    start({board});
    session.StepBtnClick();
    session.StepBtnClick();
    const Counters afterTwo = CountersOf(session.play());
    frontend.take();

    // Nothing was taken back: redo does not step the replay on.
    session.redoJump();
    EXPECT_TRUE(frontend.take().empty());

    session.BackMoveBtnClick();
    session.BackMoveBtnClick();
    session.StepBtnClick();
    frontend.take();
    session.redoJump();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 3", "draw 5", "removal 4", "status"}));
    EXPECT_TRUE(CountersOf(session.play()) == afterTwo);
    EXPECT_EQ(session.mode(), ModeReplaying);
    session.redoJump();
    EXPECT_TRUE(frontend.take().empty());

    // The replay goes on to its end as before.
    session.StepBtnClick();
    EXPECT_EQ(session.mode(), ModeSolved);
}

TEST_F(RedoTest, RedoDuringADragPutsThePegBackFirst) {
    start({TwoPegBoard()});
    jump(0, 2);
    session.BackMoveBtnClick();
    pick(5);
    frontend.take();
    session.redoJump();
    EXPECT_EQ(frontend.take(),
              (Calls{"endDrag", "draw 5", "sound 1", "draw 2", "draw 0", "removal 1", "status"}));
    EXPECT_EQ(session.play().Cells, DrawnPosition({"ooPoPP"}));
}
