// SPDX-License-Identifier: GPL-3.0-or-later
// Stepping through a stored solution: the calls of a step and of the end, undo in between, and stored
// solutions that do not belong to their board.
#include <gtest/gtest.h>

#include <random>

#include "SessionFixture.h"
#include "rules/Rules.h"

using ReplayTest = SessionTest;

namespace {

LevelRecord RunBoardWithSolution() {
    LevelRecord board = RunBoard();
    StoreJumps(board, {{0, 2}, {2, 4}, {4, 6}}, 1);
    return board;
}

// Three jumps in three moves.
LevelRecord TwoPegBoardWithSolution() {
    LevelRecord board = TwoPegBoard();
    StoreJumps(board, {{0, 2}, {5, 3}, {2, 4}}, 3);
    return board;
}

} // namespace

TEST_F(ReplayTest, EachStepReplaysOneJumpAndTheLastOneEndsTheReplay) {
    start({RunBoardWithSolution()});
    EXPECT_EQ(session.play().Par, 1);
    session.StepBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 2", "draw 0", "removal 1", "status"}));
    EXPECT_EQ(session.mode(), ModeReplaying);
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().MoveCount, 1);

    session.StepBtnClick();
    frontend.take();
    session.StepBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 6", "draw 4", "removal 5", "sound 6", "pause 300",
                                      "notice 0", "step off", "status"}));
    EXPECT_EQ(session.mode(), ModeSolved);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(session.play().Cells, DrawnPosition({"ooooooP"}));
    // A replay neither marks the board solved nor offers to store anything.
    EXPECT_EQ(session.collection().slot(1).Solved, 0);
    EXPECT_FALSE(session.collection().changed());

    session.StepBtnClick();
    session.BackMoveBtnClick();
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(ReplayTest, MovesOfTheReplayAreCountedLikeHandMoves) {
    start({TwoPegBoardWithSolution()});
    for (int step = 0; step < 3; ++step)
        session.StepBtnClick();
    EXPECT_EQ(session.mode(), ModeSolved);
    EXPECT_EQ(session.play().JumpCount, 3);
    EXPECT_EQ(session.play().MoveCount, 3);
    EXPECT_EQ(session.play().movesLeftShown(), 0);
}

TEST_F(ReplayTest, UndoDuringTheReplayThenStepReplaysTheSameJump) {
    start({TwoPegBoardWithSolution()});
    session.StepBtnClick();
    session.StepBtnClick();
    const Counters afterTwo = CountersOf(session.play());
    frontend.take();

    session.BackMoveBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 8", "status", "paintBoard", "step on"}));
    EXPECT_EQ(session.mode(), ModeReplaying);
    EXPECT_EQ(session.play().JumpCount, 1);
    EXPECT_EQ(session.play().MoveCount, 1);

    session.StepBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 3", "draw 5", "removal 4", "status"}));
    EXPECT_TRUE(CountersOf(session.play()) == afterTwo);
}

TEST_F(ReplayTest, StepDoesNothingWithoutASolutionOrAfterAHandJump) {
    start({RunBoard(), RunBoardWithSolution()});
    session.StepBtnClick();
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.mode(), ModeReady);

    session.levelscrollChange(2);
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "step on", "paintBoard"}));
    jump(0, 2);
    frontend.take();
    session.StepBtnClick();
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.mode(), ModePlaying);
}

TEST_F(ReplayTest, NoPickDuringTheReplayAndRestartAsksNothing) {
    start({RunBoardWithSolution()});
    session.StepBtnClick();
    frontend.take();
    pick(2);
    EXPECT_TRUE(frontend.take().empty());
    session.RestartBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "paintBoard", "step on"}));
    EXPECT_EQ(session.mode(), ModeReady);
}

TEST_F(ReplayTest, AnEntryThatDoesNotFitStopsTheReplayWhereItIs) {
    LevelRecord board = RunBoard();
    StoreJumps(board, {{0, 2}, {2, 200}, {4, 6}}, 1);
    start({board});
    session.StepBtnClick();
    // The step after this one cannot be replayed: the button goes off at once.
    EXPECT_EQ(frontend.take(), (Calls{"sound 1", "draw 2", "draw 0", "removal 1", "step off", "status"}));
    const Counters afterOne = CountersOf(session.play());

    session.StepBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"step off"}));
    EXPECT_TRUE(CountersOf(session.play()) == afterOne);
    EXPECT_EQ(session.mode(), ModeReplaying);

    // Undo still works and the valid jump can be replayed again.
    session.BackMoveBtnClick();
    EXPECT_EQ(frontend.take(), (Calls{"sound 8", "status", "paintBoard", "step on"}));
    session.StepBtnClick();
    EXPECT_TRUE(CountersOf(session.play()) == afterOne);
}

TEST_F(ReplayTest, UnfitFirstEntriesNeverStartTheReplay) {
    // A landing no direction reaches; a cell off the board; a start without a peg; a start off the grid.
    const std::vector<std::pair<int, int>> unfit{{0, 3}, {4, 6}, {2, 4}, {81, 2}};
    std::vector<LevelRecord> boards;
    for (const auto& entry : unfit) {
        boards.push_back(DrawnBoard({"PPoPoPo"}, 5));
        StoreJumps(boards.back(), {entry}, 1);
    }
    start(boards);
    for (int number = 1; number <= static_cast<int>(boards.size()); ++number) {
        session.levelscrollChange(number);
        frontend.take();
        session.StepBtnClick();
        EXPECT_EQ(frontend.take(), (Calls{"step off"})) << "board " << number;
        EXPECT_EQ(session.mode(), ModeReady);
        EXPECT_EQ(session.play().Cells, boards.front().StartCells);
    }
}

TEST_F(ReplayTest, AReplayThatNeverSolvesStopsAfterTheLastEntry) {
    // One peg shuttling between cells 0 and 2 fills all 80 entries without reaching the target.
    LevelRecord board = DrawnBoard({"Poo"}, 7, {"oPo"});
    std::vector<std::pair<int, int>> shuttle;
    for (int k = 0; k < SolutionCapacity; ++k)
        shuttle.push_back(k % 2 == 0 ? std::pair{0, 2} : std::pair{2, 0});
    StoreJumps(board, shuttle, 1);
    start({board});
    for (int click = 0; click < SolutionCapacity + 5; ++click)
        session.StepBtnClick();
    const Calls calls = frontend.take();
    EXPECT_EQ(session.play().JumpCount, SolutionCapacity);
    EXPECT_EQ(session.play().MoveCount, 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "sound 1"), SolutionCapacity);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "notice 0"), 0);
    EXPECT_EQ(calls.back(), "step off");
    EXPECT_EQ(session.mode(), ModeReplaying);
}

// Any bytes in a record, the stored solution included: stepping, undoing and clicking around must stay
// inside the cells and histories (the sanitizer build checks every access) and never claim a finished
// replay that did not reach a solved position.
TEST_F(ReplayTest, HostileRecordsReplayWithoutHarm) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pixel(-20, 520);
    std::uniform_int_distribution<int> anyCell(0, CellCount - 1);
    std::uniform_int_distribution<int> direction(0, static_cast<int>(SquareDirections) - 1);
    // A jump two cells along a line from a random cell, or random bytes where the grid ends.
    const auto lineJump = [&] {
        const int from = anyCell(random);
        const int to = SquareLanding[from][direction(random)];
        return std::pair{from, to == NoCell ? byte(random) : to};
    };
    int replayedSteps = 0;
    int handJumps = 0;
    for (int round = 0; round < 300; ++round) {
        LevelRecord::Bytes bytes{};
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(byte(random));
        LevelRecord board = LevelRecord::fromBytes(bytes);
        if (round % 2 == 0) {
            // Half of them look like real boards with solutions of line jumps, so that replays go on.
            board.Size = static_cast<std::uint8_t>(5 + round % 5);
            board.Shape = static_cast<std::uint8_t>(round % 4 == 0);
            for (auto& cell : board.StartCells)
                cell = static_cast<CellCode>(1 + byte(random) % 3);
            for (int k = 0; k < SolutionCapacity; ++k) {
                const auto [from, to] = lineJump();
                board.SolutionFrom[k] = static_cast<std::uint8_t>(from);
                board.SolutionTo[k] = static_cast<std::uint8_t>(to);
            }
        }
        board.SolutionMoves = static_cast<std::uint8_t>(1 + byte(random) % 255);
        writeCollection({board});
        ScriptedFrontend screen;
        screen.answerAnyQuestion(false);
        Session hostile(screen);
        ASSERT_TRUE(hostile.loadCollection(path("vorn.dat")));
        hostile.selectRememberedBoard(1);
        for (int click = 0; click < 120; ++click) {
            if (byte(random) < 30)
                hostile.BackMoveBtnClick();
            screen.take();
            hostile.StepBtnClick();
            ASSERT_LE(hostile.play().JumpCount, HistoryJumps);
            const Calls calls = screen.take();
            replayedSteps += static_cast<int>(std::count(calls.begin(), calls.end(), "sound 1"));
            if (std::count(calls.begin(), calls.end(), "notice 0") > 0) {
                EXPECT_TRUE(IsSolved(hostile.play().Cells, hostile.currentRecord())) << "round " << round;
                EXPECT_EQ(hostile.mode(), ModeSolved);
            }
        }
        hostile.RestartBtnClick();
        screen.take();
        // Random points, and cell centres two cells apart so that some drops are legal jumps.
        for (int click = 0; click < 300; ++click) {
            const auto [from, to] = lineJump();
            const Point start = CellAnchor(hostile.currentRecord(), from);
            const Point end =
                to < CellCount ? CellAnchor(hostile.currentRecord(), to) : Point{pixel(random), 0};
            hostile.boxMouseDown(start.x + 8, start.y + 8, MouseButton::Left);
            hostile.boxMouseMove(pixel(random), pixel(random));
            hostile.boxMouseUp(end.x + 8, end.y + 8, MouseButton::Right);
            ASSERT_LE(hostile.play().JumpCount, HistoryJumps);
            if (hostile.mode() == ModeSolved || hostile.mode() == ModeStuck)
                hostile.RestartBtnClick();
        }
        const Calls calls = screen.take();
        handJumps += static_cast<int>(std::count(calls.begin(), calls.end(), "pause 100"));
    }
    // The rounds reached deep into replays and hand games, not only their first entry.
    EXPECT_GT(replayedSteps, 300);
    EXPECT_GT(handJumps, 1000);
}
