// SPDX-License-Identifier: GPL-3.0-or-later
// The hint through the session: a jump that keeps the target in reach blinks, a position with no way
// left or no answer gets its notice, and nothing of the game changes.
#include <gtest/gtest.h>

#include "SessionFixture.h"

using HintTest = SessionTest;

namespace {

constexpr ReachLimits Enough{};

// The hint as the window asks it, here on the test's own thread.
void Hint(Session& session, const ReachLimits& limits) {
    if (session.hintMayBeAsked())
        session.showHintAnswer(session.boardReach()->ask(session.play().Cells, limits));
}

// Row 0 of a size 9 board: two pairs of pegs too far apart ever to meet, each still able to jump.
LevelRecord ApartBoard() {
    return DrawnBoard({"PPooooPPo"}, 9);
}

struct Game {
    Position cells;
    int jumps;
    int moves;
    GameMode mode;
    bool operator==(const Game& other) const {
        return cells == other.cells && jumps == other.jumps && moves == other.moves && mode == other.mode;
    }
};

} // namespace

TEST_F(HintTest, AJumpThatKeepsTheTargetInReachBlinksAndNothingChanges) {
    start({TwoPegBoard()});
    jump(0, 2);
    frontend.take();
    const Game before{session.play().Cells, session.play().JumpCount, session.play().MoveCount,
                      session.mode()};
    Hint(session, Enough);
    // From o o P o P P only 5 -> 3 leads on (then 2 -> 4 solves it); 4 -> ... does not exist.
    EXPECT_EQ(frontend.take(), (Calls{"blinkHint 5 3"}));
    const Game after{session.play().Cells, session.play().JumpCount, session.play().MoveCount,
                     session.mode()};
    EXPECT_TRUE(after == before);

    // The hinted jump, made by hand, is counted like any other and the game can be stored.
    jump(5, 3);
    frontend.answer({true});
    jump(2, 4);
    EXPECT_EQ(session.mode(), ModeSolved);
    EXPECT_EQ(session.collection().slot(1).SolutionMoves, 3);
}

TEST_F(HintTest, NoWayLeftGetsItsNotice) {
    start({ApartBoard()});
    Hint(session, Enough);
    EXPECT_EQ(frontend.take(), (Calls{"notice 7"}));
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().Cells, ApartBoard().StartCells);
}

TEST_F(HintTest, NoAnswerWithinTheLimitsGetsItsNotice) {
    LevelRecord full = DrawnBoard({"PPPPPPPPP", "PPPPPPPPP", "PPPPPPPPP", "PPPPPPPPP", "PPPPoPPPP",
                                   "PPPPPPPPP", "PPPPPPPPP", "PPPPPPPPP", "PPPPPPPPP"},
                                  9);
    start({full});
    const std::atomic<bool> calledOff{true};
    Hint(session, ReachLimits{Enough.positions, 0, &calledOff, true});
    EXPECT_EQ(frontend.take(), (Calls{"notice 8"}));
}

TEST_F(HintTest, OnlyWhilePegsCanBePlayed) {
    LevelRecord board = RunBoard();
    StoreJumps(board, {{0, 2}, {2, 4}, {4, 6}}, 1);
    start({board, StuckBoard()});
    session.StepBtnClick();
    frontend.take();
    Hint(session, Enough);
    EXPECT_TRUE(frontend.take().empty()) << "replaying";

    session.EditBtnClick(true);
    frontend.take();
    Hint(session, Enough);
    EXPECT_TRUE(frontend.take().empty()) << "editing";
    session.EditBtnClick(false);

    session.levelscrollChange(2);
    jump(0, 2);
    ASSERT_EQ(session.mode(), ModeStuck);
    frontend.take();
    Hint(session, Enough);
    EXPECT_TRUE(frontend.take().empty()) << "stuck";
}

TEST_F(HintTest, AHintDuringADragPutsThePegBackFirst) {
    start({RunBoard()});
    pick(0);
    frontend.take();
    Hint(session, Enough);
    EXPECT_EQ(frontend.take(), (Calls{"endDrag", "draw 0", "blinkHint 0 2"}));
}
