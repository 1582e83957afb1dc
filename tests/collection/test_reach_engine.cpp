// SPDX-License-Identifier: GPL-3.0-or-later
// The engine behind the hint and the dead-end watch, held to an exhaustive search on random small
// boards of every kind, with targets and two peg colours: with no table, with a table that stops
// below the start's pegs and with one that covers them, its answers, its ways and the jumps it hints,
// along random games (so that what it remembers of earlier questions is put to use) and at positions
// that no game reaches; along the same games as in play, the hint asked with almost no budget
// after the dead-end watch; and with no budget at all, where only a proof made for the position (a
// pagoda function or whole numbers of jumps), or a function kept from such a proof before, can prove
// it dead.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <thread>

#include "ExhaustiveReach.h"
#include "SmallBoards.h"
#include "solver/ReachOracle.h"

namespace {

enum class TableKind { None, Partial, Whole };

constexpr std::uint64_t Plenty = std::uint64_t{1} << 40;

std::unique_ptr<reach::Oracle> EngineWith(const LevelRecord& board, TableKind table) {
    std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(board);
    if (engine && table != TableKind::None) {
        reach::TableBudget budget;
        // A few jumps back: a level or two above the target, and no more.
        budget.work = table == TableKind::Partial ? 16 : Plenty;
        budget.positions = std::size_t{1} << 30;
        engine->buildTable(budget);
    }
    return engine;
}

struct Tally {
    int reachable = 0;
    int unreachable = 0;
    int tablesBelowTheStart = 0;
    int provedWithoutSearch = 0;
};

void Check(const LevelRecord& board, reach::Oracle& engine, ExhaustiveReach& exhaustive,
           const Position& cells, Tally& tally) {
    reach::SearchLimits limits;
    limits.positions = Plenty;
    const bool expected = exhaustive.reachable(cells);
    const reach::OracleAnswer answer = engine.ask(cells, limits);
    ASSERT_NE(answer.verdict, reach::Verdict::OutOfBudget);
    ASSERT_EQ(answer.verdict == reach::Verdict::Reaches, expected);
    ++(expected ? tally.reachable : tally.unreachable);
    if (!expected || IsSolved(cells, board))
        return;
    ASSERT_FALSE(answer.way.empty());
    EXPECT_TRUE(WayReplays(board, cells, answer.way));
    Position next = cells;
    ASSERT_TRUE(PlayHintedJump(board, next, answer.way.front()));
    EXPECT_TRUE(exhaustive.reachable(next));
}

// As in play: the dead-end watch asks first, for the answer alone, and then the hint, here with a
// budget of one position. It must find its jump through what the watch proved, never "not known".
void CheckAsInPlay(const LevelRecord& board, reach::Oracle& engine, ExhaustiveReach& exhaustive,
                   const Position& cells) {
    const bool expected = exhaustive.reachable(cells);
    const reach::Verdict verdict = expected ? reach::Verdict::Reaches : reach::Verdict::Dead;
    reach::SearchLimits watch;
    watch.positions = Plenty;
    watch.wantWay = false;
    ASSERT_EQ(engine.ask(cells, watch).verdict, verdict);
    reach::SearchLimits hint;
    hint.positions = 1;
    const reach::OracleAnswer answer = engine.ask(cells, hint);
    ASSERT_EQ(answer.verdict, verdict);
    if (!expected || IsSolved(cells, board))
        return;
    ASSERT_FALSE(answer.way.empty());
    if (answer.wayToTarget) {
        EXPECT_TRUE(WayReplays(board, cells, answer.way));
        return;
    }
    Position played = cells;
    for (const SolverJump jump : answer.way) {
        ASSERT_TRUE(PlayHintedJump(board, played, jump));
        ASSERT_TRUE(exhaustive.reachable(played));
    }
}

// With a budget of one position the search runs out at once, and only a proof made for the position
// may still prove it dead: never one from which the target can be reached.
void CheckStarved(reach::Oracle& engine, ExhaustiveReach& exhaustive, const Position& cells, Tally& tally) {
    reach::SearchLimits starved;
    starved.positions = 1;
    starved.wantWay = false;
    const reach::OracleAnswer answer = engine.ask(cells, starved);
    if (answer.verdict == reach::Verdict::OutOfBudget)
        return;
    ASSERT_EQ(answer.verdict == reach::Verdict::Reaches, exhaustive.reachable(cells));
    tally.provedWithoutSearch += answer.verdict == reach::Verdict::Dead && answer.examined > 1 ? 1 : 0;
}

// A position of the board's holes with about a third of them pegs of either colour at random,
// whatever a game could reach.
Position Scattered(const LevelRecord& board, std::mt19937& random) {
    Position cells = board.StartCells;
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(board, cell) && cells[cell] != NoHole) {
            const unsigned pick = random() % 12;
            cells[cell] = pick < 8 ? EmptyHole : pick < 11 ? FirstColourPeg : SecondColourPeg;
        }
    return cells;
}

void CompareOnBoard(const LevelRecord& board, std::mt19937& random, Tally& tally) {
    ExhaustiveReach exhaustive(board);
    for (const TableKind table : {TableKind::None, TableKind::Partial, TableKind::Whole}) {
        SCOPED_TRACE("table " + std::to_string(static_cast<int>(table)));
        const std::unique_ptr<reach::Oracle> engine = EngineWith(board, table);
        const std::unique_ptr<reach::Oracle> inPlay = EngineWith(board, table);
        const std::unique_ptr<reach::Oracle> starved = EngineWith(board, table);
        ASSERT_NE(engine, nullptr);
        if (engine->table() && engine->table()->top() < CountPegs(board.StartCells, board))
            ++tally.tablesBelowTheStart;
        for (int game = 0; game < 3; ++game) {
            Position cells = board.StartCells;
            for (Position next = cells;; cells = next) {
                Check(board, *engine, exhaustive, cells, tally);
                CheckAsInPlay(board, *inPlay, exhaustive, cells);
                CheckStarved(*starved, exhaustive, cells, tally);
                next = PlayRandomJumps(board, cells, 1, random);
                if (next == cells)
                    break;
            }
        }
        for (int k = 0; k < 6; ++k) {
            const Position scattered = Scattered(board, random);
            Check(board, *engine, exhaustive, scattered, tally);
            CheckStarved(*starved, exhaustive, scattered, tally);
        }
    }
}

// The board's lower rows made the mirror image of its upper ones, holes and target: the flip is then
// one of its symmetries even where the target has colours, and the engine folds positions with them.
void FoldTopToBottom(LevelRecord& board) {
    for (int row = 3; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            const int cell = row * GridWidth + col, mirror = (4 - row) * GridWidth + col;
            board.TargetCells[cell] = board.TargetCells[mirror];
            if (board.StartCells[mirror] == NoHole)
                board.StartCells[cell] = NoHole;
            else if (board.StartCells[cell] == NoHole)
                board.StartCells[cell] = EmptyHole;
        }
}

// Boards of size 5 with 6 to 10 pegs (diagonal ones, whose positions are many more, with 5 to 8),
// every third folded onto itself; with a target the pegs have both colours, and without one some
// pegs get the second colour anyway, which then must not matter.
void CompareOnRandomBoards(Kind kind, unsigned seed) {
    std::mt19937 random(seed);
    Tally tally;
    for (int trial = 0; trial < 24; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const bool withTarget = trial % 2 == 0;
        const int pegs = kind == Kind::Diagonal ? 5 + trial % 4 : 6 + trial % 5;
        LevelRecord board = RandomBoard(random, kind, pegs, withTarget);
        if (!withTarget)
            for (int cell = 0; cell < CellCount; ++cell)
                if (board.StartCells[cell] == FirstColourPeg && random() % 3 == 0)
                    board.StartCells[cell] = SecondColourPeg;
        if (trial % 3 == 0)
            FoldTopToBottom(board);
        CompareOnBoard(board, random, tally);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GE(tally.reachable, 100);
    EXPECT_GE(tally.unreachable, 100);
    EXPECT_GE(tally.tablesBelowTheStart, 6);
    EXPECT_GE(tally.provedWithoutSearch, 10);
}

} // namespace

TEST(ReachEngine, AgreesWithTheExhaustiveSearchOnSquareBoards) {
    CompareOnRandomBoards(Kind::Square, 41);
}

TEST(ReachEngine, AgreesWithTheExhaustiveSearchOnDiagonalBoards) {
    CompareOnRandomBoards(Kind::Diagonal, 42);
}

TEST(ReachEngine, AgreesWithTheExhaustiveSearchOnHexagonalBoards) {
    CompareOnRandomBoards(Kind::Hexagon, 43);
}

// What a pagoda proof found is kept: no jump raises a pagoda function's value, so every position a
// jump leads to from a position it proved dead is settled at once, with no position searched and no
// proof of its own. Whole numbers of jumps teach no function, so a proof that needed them is left out.
TEST(ReachEngine, APositionAJumpFromOneProvedDeadIsSettledByTheSameProof) {
    std::mt19937 random(5);
    reach::SearchLimits starved;
    starved.positions = 1;
    starved.wantWay = false;
    int proofs = 0;
    for (int trial = 0; trial < 120; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const Kind kind = trial % 2 == 0 ? Kind::Square : Kind::Hexagon;
        const LevelRecord board = RandomBoard(random, kind, 7 + trial % 4, trial % 3 == 0);
        const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(board);
        ASSERT_NE(engine, nullptr);
        for (int k = 0; k < 6; ++k) {
            Position cells = board.StartCells;
            for (int cell = 0; cell < CellCount; ++cell)
                if (IsOnBoard(board, cell) && cells[cell] != NoHole)
                    cells[cell] = random() % 3 == 0 ? EmptyHole : FirstColourPeg;
            const Position next = FirstJumpPlayed(board, cells);
            const reach::OracleAnswer proved = engine->ask(cells, starved);
            if (next == cells || proved.verdict != reach::Verdict::Dead || proved.examined <= 1 ||
                proved.byJumpCounts)
                continue;
            ++proofs;
            const reach::OracleAnswer after = engine->ask(next, starved);
            EXPECT_EQ(after.verdict, reach::Verdict::Dead);
            EXPECT_EQ(after.examined, 0U);
        }
    }
    EXPECT_GE(proofs, 20);
}

TEST(ReachEngine, ASearchOutOfPositionsSaysSoTheSameWayEveryTime) {
    // From the cross's start no search without a table is done in a thousand positions.
    const LevelRecord cross = EnglishCross();
    reach::SearchLimits few;
    few.positions = 1000;
    std::uint64_t examined = 0;
    for (int run = 0; run < 2; ++run) {
        const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(cross);
        const reach::OracleAnswer answer = engine->ask(cross.StartCells, few);
        EXPECT_EQ(answer.verdict, reach::Verdict::OutOfBudget);
        EXPECT_TRUE(answer.way.empty());
        EXPECT_GT(answer.examined, few.positions);
        if (run == 1) {
            EXPECT_EQ(answer.examined, examined);
        }
        examined = answer.examined;
    }
}

TEST(ReachEngine, ATableCalledOffIsNoneAndTheSearchStillAnswers) {
    std::mt19937 random(7);
    const LevelRecord board = RandomBoard(random, Kind::Square, 8, true);
    const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(board);
    const std::atomic<bool> calledOff{true};
    reach::TableBudget budget;
    budget.work = Plenty;
    budget.positions = std::size_t{1} << 30;
    budget.cancelled = &calledOff;
    engine->buildTable(budget);
    EXPECT_EQ(engine->table(), nullptr);
    ExhaustiveReach exhaustive(board);
    Tally tally;
    Check(board, *engine, exhaustive, board.StartCells, tally);
}

TEST(ReachEngine, ServesAnEditedRecordOnlyWhileItsAnswersStayTheSame) {
    const LevelRecord cross = EnglishCross();
    const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(cross);
    EXPECT_TRUE(engine->serves(cross));

    LevelRecord renamed = cross;
    renamed.Names[0].setText("another name");
    renamed.SolutionMoves = 0;
    EXPECT_TRUE(engine->serves(renamed));

    // A start two jumps on keeps its class, and so every answer.
    std::mt19937 random(3);
    LevelRecord later = cross;
    later.StartCells = PlayRandomJumps(cross, cross.StartCells, 2, random);
    EXPECT_TRUE(engine->serves(later));

    LevelRecord target = cross;
    target.TargetCells[3 * GridWidth + 3] = FirstColourPeg;
    EXPECT_FALSE(engine->serves(target));

    LevelRecord diagonal = cross;
    diagonal.Diagonal = 1;
    EXPECT_FALSE(engine->serves(diagonal));

    LevelRecord hole = cross;
    hole.StartCells[0] = EmptyHole;
    EXPECT_FALSE(engine->serves(hole));

    // One peg fewer at the start puts it into another class, whose last peg stands elsewhere.
    LevelRecord fewer = cross;
    fewer.StartCells[2] = EmptyHole;
    EXPECT_FALSE(engine->serves(fewer));
}

TEST(ReachEngine, APositionsImagesAfterAJumpAreThoseOfTheNewPosition) {
    // The cross with colours at random and a target of both colours that all eight symmetries keep.
    LevelRecord cross = EnglishCross();
    std::mt19937 random(5);
    for (int cell = 0; cell < CellCount; ++cell)
        if (cross.StartCells[cell] == FirstColourPeg && random() % 2 == 0)
            cross.StartCells[cell] = SecondColourPeg;
    cross.TargetCells[3 * GridWidth + 3] = SecondColourPeg;
    for (const int cell : {2 * GridWidth + 3, 4 * GridWidth + 3, 3 * GridWidth + 2, 3 * GridWidth + 4})
        cross.TargetCells[cell] = FirstColourPeg;
    const std::optional<reach::Board> board = reach::Board::Of(cross);
    ASSERT_TRUE(board);
    ASSERT_EQ(board->imageCount(), 7);
    for (int game = 0; game < 20; ++game) {
        reach::Pegs p = *board->read(cross.StartCells, true);
        reach::Images images = board->images(p);
        for (bool jumped = true; jumped;) {
            jumped = false;
            for (std::size_t k = random() % board->lines().size(), tried = 0;
                 tried < board->lines().size() && !jumped; ++tried, k = (k + 1) % board->lines().size()) {
                if (!board->canJump(p.all, board->lines()[k]))
                    continue;
                images = board->imagesAfter(images, p, static_cast<int>(k));
                p = reach::Board::jump(p, board->lines()[k]);
                jumped = true;
            }
            const reach::Images fresh = board->images(p);
            for (int s = 0; s < board->imageCount(); ++s)
                ASSERT_EQ(images[static_cast<std::size_t>(s)], fresh[static_cast<std::size_t>(s)]);
            ASSERT_EQ(board->key(p, images), board->key(p));
        }
    }
}

TEST(ReachEngine, QuestionsFromTwoThreadsWhileTheTableIsMadeAreAllExact) {
    std::mt19937 random(11);
    const LevelRecord board = RandomBoard(random, Kind::Square, 10, true);
    ExhaustiveReach exhaustive(board);
    std::vector<std::pair<Position, bool>> questions;
    for (int game = 0; game < 20; ++game)
        for (Position cells = board.StartCells, next = cells;; cells = next) {
            questions.push_back({cells, exhaustive.reachable(cells)});
            next = PlayRandomJumps(board, cells, 1, random);
            if (next == cells)
                break;
        }
    const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(board);
    std::thread table([&] {
        reach::TableBudget budget;
        budget.work = Plenty;
        budget.positions = std::size_t{1} << 30;
        engine->buildTable(budget);
    });
    std::array<int, 2> wrong{};
    const auto ask = [&](std::size_t first, int& mistakes) {
        reach::SearchLimits limits;
        limits.positions = Plenty;
        for (std::size_t k = first; k < questions.size(); k += 2)
            mistakes += (engine->ask(questions[k].first, limits).verdict == reach::Verdict::Reaches) !=
                                questions[k].second
                            ? 1
                            : 0;
    };
    std::thread other(ask, 1, std::ref(wrong[1]));
    ask(0, wrong[0]);
    other.join();
    table.join();
    EXPECT_EQ(wrong, (std::array<int, 2>{0, 0}));
    EXPECT_NE(engine->table(), nullptr);
}
