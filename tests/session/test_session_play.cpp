// SPDX-License-Identifier: GPL-3.0-or-later
// Playing by hand through the session: the exact calls of a pick, a jump, the ends, undo, restart and
// leaving a game in progress.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionFixture.h"

using PlayTest = SessionTest;

TEST_F(PlayTest, PickLiftsThePegAndAJumpRunsInOrder) {
    start({RunBoard()});
    pick(0);
    EXPECT_EQ(frontend.take(), (Calls{"draw 0", "startDrag 70 70 2", "sound 2"}));
    EXPECT_TRUE(session.play().Dragging);
    EXPECT_EQ(session.play().Cells[0], EmptyHole);

    session.boxMouseMove(100, 80);
    EXPECT_EQ(frontend.take(), (Calls{"moveDrag 100 80"}));

    drop(2);
    EXPECT_EQ(frontend.take(),
              (Calls{"endDrag", "sound 1", "draw 2", "pause 100", "removal 1", "status", "step off"}));
    EXPECT_EQ(session.mode(), ModePlaying);
    EXPECT_FALSE(session.play().Dragging);
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(session.play().Cells[1], EmptyHole);
    EXPECT_EQ(session.play().Cells[2], FirstColourPeg);

    // Moves without a drag do nothing.
    session.boxMouseMove(10, 10);
    session.boxMouseUp(10, 10, MouseButton::Left);
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(PlayTest, TheJumpingPegKeepsItsColour) {
    start({DrawnBoard({"QPoPo"})});
    jump(0, 2);
    EXPECT_EQ(session.play().Cells[2], SecondColourPeg);
}

TEST_F(PlayTest, SolvingMarksTheBoardAndOffersToStoreTheSolution) {
    start({RunBoard(), TwoPegBoard()});
    jump(0, 2);
    jump(2, 4);
    frontend.take();
    frontend.answer({true});
    jump(4, 6);
    EXPECT_EQ(frontend.take(),
              (Calls{"draw 4", "startDrag 198 70 2", "sound 2", "endDrag", "sound 1", "draw 6", "pause 100",
                     "removal 5", "status", "sound 5", "status", "ask 2", "status", "step off"}));
    EXPECT_EQ(session.mode(), ModeSolved);
    EXPECT_EQ(session.currentRecord().Solved, 1);
    EXPECT_EQ(session.collection().slot(1).Solved, 1);
    EXPECT_TRUE(session.collection().changed());

    // Stored in the record and in the collection; the par follows.
    const LevelRecord& stored = session.collection().slot(1);
    EXPECT_EQ(stored.SolutionMoves, 1);
    EXPECT_EQ(stored.SolutionFrom[0], 0);
    EXPECT_EQ(stored.SolutionFrom[2], 4);
    EXPECT_EQ(stored.SolutionTo[2], 6);
    EXPECT_EQ(session.play().Par, 1);

    // Nothing more is possible but a restart, which needs no question and offers the replay.
    session.BackMoveBtnClick();
    pick(6);
    session.StepBtnClick();
    EXPECT_TRUE(frontend.take().empty());
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "paintBoard", "step on"}));
    EXPECT_EQ(session.play().Par, 1);
}

TEST_F(PlayTest, DecliningToStoreKeepsTheRecordButTheSolvedFlag) {
    start({RunBoard()});
    frontend.answer({false});
    jump(0, 2);
    jump(2, 4);
    jump(4, 6);
    EXPECT_EQ(session.collection().slot(1).SolutionMoves, 0);
    EXPECT_EQ(session.collection().slot(1).Solved, 1);
    EXPECT_EQ(session.play().Par, 3);
}

TEST_F(PlayTest, StoreQuestionDependsOnTheStoredMoves) {
    LevelRecord longer = TwoPegBoard();
    StoreJumps(longer, {{0, 2}, {5, 3}, {2, 4}}, 4); // an invented longer solution
    LevelRecord equal = TwoPegBoard();
    StoreJumps(equal, {{5, 3}, {0, 2}, {2, 4}}, 3);
    LevelRecord shorter = TwoPegBoard();
    StoreJumps(shorter, {{5, 3}, {0, 2}, {2, 4}}, 2);
    start({longer, equal, shorter});

    const auto solve = [&] {
        jump(0, 2);
        jump(5, 3);
        jump(2, 4);
        EXPECT_EQ(session.play().MoveCount, 3);
    };
    const auto questionsAndNotices = [&] {
        Calls found;
        for (const std::string& call : frontend.take())
            if (call.rfind("ask", 0) == 0 || call.rfind("notice", 0) == 0)
                found.push_back(call);
        return found;
    };

    frontend.answer({true});
    solve();
    EXPECT_EQ(questionsAndNotices(), (Calls{"ask 1"}));
    EXPECT_EQ(session.collection().slot(1).SolutionMoves, 3);

    session.levelscrollChange(2);
    frontend.answer({true});
    solve();
    EXPECT_EQ(questionsAndNotices(), (Calls{"ask 2"}));
    // The new jumps replace the stored ones.
    EXPECT_EQ(session.collection().slot(2).SolutionFrom[0], 0);
    EXPECT_EQ(session.collection().slot(2).SolutionTo[1], 3);

    session.levelscrollChange(3);
    solve();
    EXPECT_EQ(questionsAndNotices(), (Calls{"notice 2"}));
    EXPECT_EQ(session.collection().slot(3).SolutionMoves, 2);
    EXPECT_EQ(session.collection().slot(3).SolutionFrom[0], 5);
}

TEST_F(PlayTest, SolvingAgainLeavesTheCollectionAlone) {
    LevelRecord solvedBefore = RunBoard();
    solvedBefore.Solved = 1;
    start({solvedBefore});
    frontend.answer({false});
    jump(0, 2);
    jump(2, 4);
    frontend.take();
    jump(4, 6);
    const Calls calls = frontend.take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "status"), 1);
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(PlayTest, StuckEndsTheGameWithoutUndo) {
    start({StuckBoard()});
    pick(0);
    frontend.take();
    drop(2);
    EXPECT_EQ(frontend.take(), (Calls{"endDrag", "sound 1", "draw 2", "pause 100", "removal 1", "status",
                                      "sound 4", "notice 1", "step off"}));
    EXPECT_EQ(session.mode(), ModeStuck);

    session.BackMoveBtnClick();
    pick(2);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.play().JumpCount, 1);

    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "paintBoard", "step off"}));
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().Cells, StuckBoard().StartCells);
}

TEST_F(PlayTest, MovesAreRunsOfJumpsByOnePeg) {
    start({TwoPegBoard(), RunBoard()});
    frontend.answer({false});
    jump(0, 2);
    jump(5, 3);
    jump(2, 4);
    EXPECT_EQ(session.play().JumpCount, 3);
    EXPECT_EQ(session.play().MoveCount, 3);

    session.levelscrollChange(2);
    jump(0, 2);
    jump(2, 4);
    EXPECT_EQ(session.play().MoveCount, 1);
    session.BackMoveBtnClick();
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().MoveCount, 1);
    jump(2, 4);
    EXPECT_EQ(session.play().JumpCount, 2);
    EXPECT_EQ(session.play().MoveCount, 1);
}

TEST_F(PlayTest, UndoRestoresThePositionAndCounters) {
    start({TwoPegBoard()});
    jump(0, 2);
    jump(5, 3);
    frontend.take();
    session.BackMoveBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 8", "status", "paintBoard"}));
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(session.play().LastLanding, 2);
    EXPECT_EQ(session.play().Cells, DrawnPosition({"ooPoPP"}));

    // Back at the start the game is still in progress.
    session.BackMoveBtnClick();
    EXPECT_EQ(session.mode(), ModePlaying);
    EXPECT_EQ(session.play().Cells, TwoPegBoard().StartCells);
    frontend.take();
    session.BackMoveBtnClick();
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(PlayTest, RefusedDropsPutThePegBackAndCountNothing) {
    start({RunBoard()});
    const auto refusedAt = [&](int x, int y) {
        pick(0);
        frontend.take();
        session.boxMouseUp(x, y, MouseButton::Left);
        EXPECT_EQ(frontend.take(), (Calls{"endDrag", "sound 3", "draw 0", "status"}));
        EXPECT_EQ(session.play().Cells, RunBoard().StartCells);
        EXPECT_EQ(session.play().JumpCount, 0);
        EXPECT_EQ(session.mode(), ModeReady);
    };
    refusedAt(centreOf(0).x, centreOf(0).y); // its own cell
    refusedAt(5, 5);                         // outside every cell
    refusedAt(centreOf(3).x, centreOf(3).y); // a peg, three cells away
    refusedAt(centreOf(9).x, centreOf(9).y); // no hole
}

TEST_F(PlayTest, PicksOnlyPegsOnTheBoard) {
    LevelRecord board = DrawnBoard({"PPoooPP"}, 5); // the pegs on 5 and 6 lie off a size 5 board
    start({board});
    pick(2);                                       // empty hole
    pick(5);                                       // off the board
    pick(9);                                       // no hole
    session.boxMouseDown(2, 2, MouseButton::Left); // outside every cell
    EXPECT_TRUE(frontend.take().empty());
    pick(1, MouseButton::Right); // any button picks
    EXPECT_EQ(frontend.take(), (Calls{"draw 1", "startDrag 134 102 2", "sound 2"}));
}

TEST_F(PlayTest, ASecondButtonWhileDraggingStartsNoSecondDrag) {
    start({RunBoard()});
    pick(0, MouseButton::Left);
    frontend.take();
    pick(3, MouseButton::Right);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.play().PickedCell, 0);
    EXPECT_EQ(session.play().Cells[3], FirstColourPeg);

    // The next release of any button drops the peg that is being dragged.
    drop(2, MouseButton::Right);
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().JumpFrom[0], 0);
    frontend.take();
    session.boxMouseUp(centreOf(2).x, centreOf(2).y, MouseButton::Left);
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(PlayTest, CommandsDuringADragPutThePegBackFirst) {
    start({RunBoard()});
    pick(0);
    frontend.take();
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"endDrag", "draw 0", "status", "hints", "paintBoard", "step off"}));
    EXPECT_FALSE(session.play().Dragging);
    EXPECT_EQ(session.play().Cells, RunBoard().StartCells);
    // The release that follows finds no drag.
    drop(2);
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(PlayTest, RestartInAGameAsksToGiveUp) {
    start({RunBoard()});
    jump(0, 2);
    frontend.take();
    frontend.answer({false});
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 3"}));
    EXPECT_EQ(session.mode(), ModePlaying);
    EXPECT_EQ(session.play().JumpCount, 1);

    frontend.answer({true});
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"ask 3", "status", "hints", "paintBoard", "step off"}));
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().JumpCount, 0);
    EXPECT_EQ(session.play().Cells, RunBoard().StartCells);

    // In ModeReady nothing is asked.
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "paintBoard", "step off"}));
}

TEST_F(PlayTest, LeavingAGameInProgressAsksToGiveUp) {
    start({RunBoard(), TwoPegBoard(), StuckBoard()});
    jump(0, 2);
    session.currentRecord().Names[0].setText("mine");
    frontend.take();

    frontend.answer({false});
    session.levelscrollChange(3);
    EXPECT_EQ(frontend.take(), (Calls{"ask 3", "selector 3 1"}));
    EXPECT_EQ(session.collection().currentNumber(), 1);
    EXPECT_EQ(session.mode(), ModePlaying);
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.collection().slot(1).Names[0].text(), "");

    frontend.answer({true});
    session.levelscrollChange(3);
    EXPECT_EQ(frontend.take(), (Calls{"ask 3", "status", "hints", "step off", "paintBoard"}));
    EXPECT_EQ(session.collection().currentNumber(), 3);
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().Cells, StuckBoard().StartCells);
    // The board that was left was written back.
    EXPECT_EQ(session.collection().slot(1).Names[0].text(), "mine");

    // Outside a game nothing is asked; the same position again does nothing.
    session.levelscrollChange(2);
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "step off", "paintBoard"}));
    session.levelscrollChange(2);
    EXPECT_TRUE(frontend.take().empty());
}
