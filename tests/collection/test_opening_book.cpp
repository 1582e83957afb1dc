// SPDX-License-Identifier: GPL-3.0-or-later
// The opening book: pages made on random small boards of every kind, with targets and two peg
// colours, held to the exhaustive search, read back from their bytes and asked through the engine
// even where the search below them runs out; bytes that are no book; pages that are not the board's;
// and the book built into the game, which must open on every built-in board it is made for.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "BoardSource.h"
#include "ExhaustiveReach.h"
#include "SmallBoards.h"
#include "solver/BoardGoal.h"
#include "solver/OpeningBook.h"
#include "solver/ReachOracle.h"

namespace {

constexpr std::uint64_t Plenty = std::uint64_t{1} << 40;

std::optional<reach::OpeningPage> PageOf(const LevelRecord& board, std::size_t positions) {
    reach::OpeningBudget budget;
    budget.positions = positions;
    budget.perQuestion = Plenty;
    budget.memoBuckets = 1024;
    budget.table = {Plenty, std::size_t{1} << 20, nullptr};
    return reach::MakeOpeningPage(board, budget);
}

std::vector<reach::OpeningPage> Read(const std::vector<std::uint8_t>& bytes) {
    return reach::ReadOpenings(bytes.data(), bytes.size());
}

reach::Pegs StartOf(const reach::Board& board, const LevelRecord& record) {
    return board.read(record.StartCells, !ReadGoal(record).singlePeg).value();
}

struct Tally {
    int reachable = 0, dead = 0, cutShort = 0, pages = 0, pagesAboveTheBottom = 0;
};

// Every position of the page: its answer in the page, and the engine's with no budget at all below
// the book (the way then stops where the search ran out) and with plenty (to the target).
void CheckPage(const LevelRecord& record, const reach::OpeningPage& page, Tally& tally) {
    const std::optional<reach::Board> board = reach::Board::Of(record);
    ASSERT_TRUE(board);
    const std::vector<reach::Pegs> keys =
        reach::OpeningPositions(*board, StartOf(*board, record), page.lowestPegs, page.answers.size());
    ASSERT_EQ(keys.size(), page.answers.size());
    // One engine for each budget: the one with plenty remembers its proofs, and a hint walks down
    // what the memory proved as it walks down the book.
    const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(record);
    const std::unique_ptr<reach::Oracle> starved = reach::Oracle::For(record);
    ASSERT_TRUE(engine->openPage(page));
    ASSERT_TRUE(starved->openPage(page));
    ExhaustiveReach exhaustive(record);
    ++tally.pages;
    const int bottom = reach::LowestPegsWithin(*board, StartOf(*board, record), std::size_t{1} << 30);
    tally.pagesAboveTheBottom += page.lowestPegs > bottom ? 1 : 0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const Position cells = board->write(keys[k], record.StartCells);
        const bool expected = exhaustive.reachable(cells);
        ASSERT_EQ(page.answers[k], expected ? reach::Opening::Reaches : reach::Opening::Dead);
        ++(expected ? tally.reachable : tally.dead);
        for (const std::uint64_t positions : {std::uint64_t{1}, Plenty}) {
            reach::SearchLimits limits;
            limits.positions = positions;
            const reach::OracleAnswer answer = (positions == Plenty ? engine : starved)->ask(cells, limits);
            ASSERT_EQ(answer.verdict, expected ? reach::Verdict::Reaches : reach::Verdict::Dead);
            if (!expected || IsSolved(cells, record))
                continue;
            if (answer.wayToTarget) {
                EXPECT_TRUE(WayReplays(record, cells, answer.way));
                continue;
            }
            ASSERT_LT(positions, Plenty);
            tally.cutShort += answer.way.empty() ? 0 : 1;
            Position played = cells;
            for (const SolverJump jump : answer.way) {
                ASSERT_TRUE(PlayHintedJump(record, played, jump));
                ASSERT_TRUE(exhaustive.reachable(played));
            }
        }
    }
}

void CompareOnRandomBoards(Kind kind, unsigned seed) {
    std::mt19937 random(seed);
    Tally tally;
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        // A target reached from the start by random jumps leaves ways to find.
        const bool withTarget = trial % 3 != 2;
        LevelRecord board =
            RandomBoard(random, kind, kind == Kind::Diagonal ? 7 + trial % 3 : 10 + trial % 3, withTarget);
        if (!withTarget)
            for (int cell = 0; cell < CellCount; ++cell)
                if (board.StartCells[cell] == FirstColourPeg && random() % 3 == 0)
                    board.StartCells[cell] = SecondColourPeg;
        // Pages of a few positions stop high above the target, whole ones reach down to it.
        const std::optional<reach::OpeningPage> made = PageOf(board, trial % 4 == 0 ? 1000000 : 60);
        ASSERT_TRUE(made);
        const std::vector<reach::OpeningPage> read = Read(reach::WriteOpenings({*made}));
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].board, board);
        EXPECT_EQ(read[0].lowestPegs, made->lowestPegs);
        EXPECT_EQ(read[0].answers, made->answers);
        CheckPage(board, read[0], tally);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GE(tally.reachable, 50);
    EXPECT_GE(tally.dead, 100);
    EXPECT_GE(tally.pagesAboveTheBottom, 10);
    EXPECT_GE(tally.cutShort, 2);
}

} // namespace

TEST(OpeningBook, PagesAgreeWithTheExhaustiveSearchOnBoardsOfEveryKind) {
    for (const auto& [kind, seed] :
         {std::pair{Kind::Square, 51u}, {Kind::Diagonal, 52u}, {Kind::Hexagon, 53u}}) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        CompareOnRandomBoards(kind, seed);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(OpeningBook, BytesThatAreNoBookGiveNoPagesAndAShortenedBookOnlyWholePages) {
    std::mt19937 random(5);
    const std::optional<reach::OpeningPage> first = PageOf(RandomBoard(random, Kind::Square, 8, true), 1000);
    const std::optional<reach::OpeningPage> second =
        PageOf(RandomBoard(random, Kind::Hexagon, 8, false), 1000);
    ASSERT_TRUE(first && second);
    const std::vector<std::uint8_t> book = reach::WriteOpenings({*first, *second});
    ASSERT_EQ(Read(book).size(), 2u);
    // Cut anywhere, the book is either no book or its first page.
    for (std::size_t size = 0; size < book.size(); ++size) {
        const std::vector<reach::OpeningPage> pages = reach::ReadOpenings(book.data(), size);
        ASSERT_LE(pages.size(), 1u) << size;
        if (!pages.empty()) {
            EXPECT_EQ(pages[0].answers, first->answers);
        }
    }
    std::vector<std::uint8_t> marked = book;
    marked[0] = 'X';
    EXPECT_TRUE(Read(marked).empty());
    // An answer no book writes.
    std::vector<std::uint8_t> answered = book;
    answered[answered.size() - (second->answers.size() + 3) / 4] |= 0x03;
    EXPECT_TRUE(Read(answered).empty());
    // A page that claims far more answers than the bytes hold is refused before anything is made.
    std::vector<std::uint8_t> counted = reach::WriteOpenings({*first});
    for (std::size_t k = 0; k < 4; ++k)
        counted[5 + RecordBytes + 1 + 8 + k] = 0xFF;
    EXPECT_TRUE(Read(counted).empty());
}

TEST(OpeningBook, APageOpensOnlyOnItsBoardAndOnlyWhereItsPositionsAreTheOnesItAnswers) {
    std::mt19937 random(9);
    const LevelRecord board = RandomBoard(random, Kind::Square, 10, true);
    const std::optional<reach::OpeningPage> page = PageOf(board, 40);
    ASSERT_TRUE(page);
    EXPECT_TRUE(reach::Oracle::For(board)->openPage(*page));

    // The answers belong to the positions: a later start of the board serves as well.
    LevelRecord later = board;
    for (int jump = 0; jump < 2; ++jump)
        later.StartCells = FirstJumpPlayed(board, later.StartCells);
    ASSERT_EQ(CountPegs(later.StartCells, later), CountPegs(board.StartCells, board) - 2);
    later.Names[0].setText("another name");
    EXPECT_TRUE(reach::Oracle::For(later)->openPage(*page));

    LevelRecord target = board;
    for (int cell = 0; cell < CellCount; ++cell)
        if (target.TargetCells[cell] == EmptyHole) {
            target.TargetCells[cell] = FirstColourPeg;
            break;
        }
    EXPECT_FALSE(reach::Oracle::For(target)->openPage(*page));

    // Another start's page opens beside the first, and both answer: without a page, a search of no
    // positions at all leaves some of their positions not known.
    const std::optional<reach::OpeningPage> laterPage = PageOf(later, 40);
    ASSERT_TRUE(laterPage);
    const std::unique_ptr<reach::Oracle> both = reach::Oracle::For(board);
    const std::unique_ptr<reach::Oracle> none = reach::Oracle::For(board);
    ASSERT_TRUE(both->openPage(*page) && both->openPage(*laterPage));
    const std::optional<reach::Board> holes = reach::Board::Of(board);
    reach::SearchLimits nothing;
    nothing.positions = 0;
    nothing.wantWay = false;
    int notKnownWithout = 0;
    for (const reach::OpeningPage* opened : {&*page, &*laterPage}) {
        const std::vector<reach::Pegs> keys = reach::OpeningPositions(
            *holes, StartOf(*holes, opened->board), opened->lowestPegs, opened->answers.size());
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const Position cells = holes->write(keys[k], board.StartCells);
            notKnownWithout += none->ask(cells, nothing).verdict == reach::Verdict::OutOfBudget ? 1 : 0;
            ASSERT_EQ(both->ask(cells, nothing).verdict, opened->answers[k] == reach::Opening::Reaches
                                                             ? reach::Verdict::Reaches
                                                             : reach::Verdict::Dead);
        }
    }
    EXPECT_GT(notKnownWithout, 0);

    // A page of other positions, however many: made by another version of the game.
    reach::OpeningPage shorter = *page;
    shorter.answers.pop_back();
    EXPECT_FALSE(reach::Oracle::For(board)->openPage(shorter));
    reach::OpeningPage other = *page;
    ++other.positionsHash;
    EXPECT_FALSE(reach::Oracle::For(board)->openPage(other));
}

TEST(OpeningBook, TheBuiltInBookOpensOnEveryBuiltInBoardItIsMadeForAndKnowsEveryAnswer) {
    std::vector<LevelRecord> boards;
    for (const std::string name : {"01-beginner", "02-easy", "03-medium", "04-hard", "05-expert"}) {
        std::ifstream in(std::string(TOLVAR_BOARD_DIR) + "/" + name + ".txt");
        std::ostringstream text;
        text << in.rdbuf();
        for (const BoardSource& source : ParseBoardText(text.str(), name).boards)
            boards.push_back(source.record);
    }
    ASSERT_GE(boards.size(), 100u);
    const std::vector<reach::OpeningPage>& book = reach::BuiltInOpenings();
    std::vector<bool> used(book.size(), false);
    int wanted = 0;
    for (const LevelRecord& board : boards) {
        if (!reach::OpeningsWanted(board))
            continue;
        ++wanted;
        const std::unique_ptr<reach::Oracle> engine = reach::Oracle::For(board);
        bool opened = false;
        for (std::size_t k = 0; k < book.size() && !opened; ++k)
            if (book[k].board.StartCells == board.StartCells && engine->openPage(book[k]))
                opened = used[k] = true;
        EXPECT_TRUE(opened) << board.Names[0].text() << ": make the book again (boardc --openings)";
    }
    // The 52 boards of up to 33 holes with jumps along rows and columns, but for the ten of two
    // colours whose target tells them apart.
    EXPECT_EQ(wanted, 42);
    for (std::size_t k = 0; k < book.size(); ++k) {
        EXPECT_TRUE(used[k]) << "page " << k << " serves no built-in board";
        EXPECT_EQ(std::count(book[k].answers.begin(), book[k].answers.end(), reach::Opening::NotKnown), 0)
            << "page " << k;
    }
}
