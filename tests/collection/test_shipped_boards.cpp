// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in collection: compiled here from the same text sources as the build's vorn.dat, and
// compared with that file where the full build made it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "BoardSource.h"
#include "rules/Rules.h"
#include "storage/LevelCollection.h"

namespace {

std::vector<BoardSource> ShippedBoards() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TOLVAR_BOARD_DIR))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<BoardSource> boards;
    for (const auto& file : files) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        ParsedBoards parsed = ParseBoardText(text.str(), file.filename().string());
        EXPECT_TRUE(parsed.errors.empty()) << parsed.errors.front();
        for (BoardSource& board : parsed.boards) {
            const auto problems = CheckBoard(board);
            EXPECT_TRUE(problems.empty()) << problems.front();
            boards.push_back(std::move(board));
        }
    }
    return boards;
}

const std::vector<BoardSource>& Boards() {
    static const std::vector<BoardSource> boards = ShippedBoards();
    return boards;
}

bool HasColouredTarget(const LevelRecord& r) {
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(r, cell) && r.TargetCells[cell] == SecondColourPeg)
            return true;
    return false;
}

} // namespace

TEST(ShippedBoards, AtLeastAHundredBoardsThatFitTheCollection) {
    EXPECT_GE(Boards().size(), 100u);
    EXPECT_LE(Boards().size(), static_cast<std::size_t>(LevelCollection::MaxBoards));
}

TEST(ShippedBoards, EveryBoardReplaysItsSolutionToTheSolvedPosition) {
    for (const BoardSource& board : Boards()) {
        const LevelRecord& r = board.record;
        SCOPED_TRACE(board.label());
        const JumpList stored = StoredSolution(r);
        ASSERT_FALSE(stored.empty());
        EXPECT_EQ(stored, board.solution);
        const ReplayResult replay = ReplaySolution(r, stored);
        EXPECT_TRUE(replay.solved) << replay.problem;
        EXPECT_EQ(r.SolutionMoves, replay.moves);
        EXPECT_EQ(r.Original, 1);
        EXPECT_EQ(r.Solved, 0);
        EXPECT_GT(r.Names[0].Length, 0);
        EXPECT_GT(r.Names[1].Length, 0);
        EXPECT_LE(r.Names[0].Length, NameCapacity);
        EXPECT_LE(r.Names[1].Length, NameCapacity);
        EXPECT_FALSE(IsSolved(r.StartCells, r));
    }
}

TEST(ShippedBoards, CoverEveryKindOfBoard) {
    std::set<int> hexSizes;
    int diagonal = 0, coloured = 0, targets = 0;
    std::set<std::string> names;
    for (const BoardSource& board : Boards()) {
        const LevelRecord& r = board.record;
        if (r.isHexagon())
            hexSizes.insert(r.Size);
        diagonal += !r.isHexagon() && r.allowsDiagonal();
        coloured += HasColouredTarget(r);
        targets += CountPegs(r.TargetCells, r) > 0;
        EXPECT_TRUE(names.insert(board.nameEn).second) << "two boards named " << board.nameEn;
    }
    EXPECT_EQ(hexSizes, (std::set<int>{5, 6, 7, 8, 9}));
    EXPECT_GE(diagonal, 10);
    EXPECT_GE(coloured, 10);
    EXPECT_GE(targets, 20);
    // A first game starts on a small board.
    EXPECT_LE(CountPegs(Boards().front().record.StartCells, Boards().front().record), 5);
}

TEST(ShippedBoards, SmallBoardsAreSolvedAgainByTheSolver) {
    int sampled = 0;
    for (const BoardSource& board : Boards()) {
        const LevelRecord& r = board.record;
        if (CountPegs(r.StartCells, r) > 12)
            continue;
        SCOPED_TRACE(board.label());
        SolverLimits limits;
        limits.seconds = 20.0;
        limits.preferFewerMoves = false;
        const SolveResult result = SolveBoard(r, limits);
        ASSERT_EQ(result.status, SolveStatus::Solved);
        EXPECT_TRUE(ReplaySolution(r, result.jumps).solved);
        ++sampled;
    }
    EXPECT_GE(sampled, 10);
}

#ifdef TOLVAR_COLLECTION_FILE
TEST(ShippedBoards, TheBuiltCollectionFileHoldsExactlyTheseBoards) {
    std::ifstream in(TOLVAR_COLLECTION_FILE, std::ios::binary);
    ASSERT_TRUE(in) << TOLVAR_COLLECTION_FILE;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), Boards().size() * RecordBytes);
    for (std::size_t k = 0; k < Boards().size(); ++k) {
        const LevelRecord fromFile = LevelRecord::fromBytes(bytes.data() + k * RecordBytes);
        EXPECT_EQ(fromFile, Boards()[k].record) << Boards()[k].label();
    }
}
#endif
