// SPDX-License-Identifier: GPL-3.0-or-later
// Nothing a player made is lost at close: a collection file that was not read completely is never
// replaced, another game's later save is not overwritten without asking, and the changes live in a
// recovery copy until the game ends normally.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "SessionFixture.h"

namespace fs = std::filesystem;

namespace {

std::string bytesOf(const std::vector<LevelRecord>& boards) {
    std::string bytes;
    for (const LevelRecord& board : boards) {
        const LevelRecord::Bytes raw = board.toBytes();
        bytes.append(raw.begin(), raw.end());
    }
    return bytes;
}

std::string readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

class CollectionFileTest : public SessionTest {
protected:
    CollectionFiles files() const { return {path("vorn.dat"), path("vorn.dat"), 0}; }
    std::string recovery() const { return path("state/vorn-recovery.dat"); }

    // Starts on `boards` with a recovery copy, then solves board 1 (RunBoard) without storing the
    // solution, which marks the collection changed.
    void startAndSolve(const std::vector<LevelRecord>& boards) {
        writeCollection(boards);
        ASSERT_TRUE(session.loadCollection(files(), recovery()));
        session.selectRememberedBoard(1);
        frontend.answer({false});
        jump(0, 2);
        jump(2, 4);
        jump(4, 6);
        ASSERT_TRUE(session.collection().changed());
        frontend.take();
    }
};

TEST_F(CollectionFileTest, APipeInTheCollectionsPlaceIsAFileErrorAndIsNeverReplaced) {
    ASSERT_EQ(::mkfifo(path("vorn.dat").c_str(), 0644), 0);
    EXPECT_FALSE(session.loadCollection(files(), recovery()));
    EXPECT_EQ(frontend.take(),
              (Calls{"error Fileerror " + std::to_string(EINVAL) + " with file " + path("vorn.dat") + "."}));
    session.selectRememberedBoard(1);
    session.EditBtnClick(true);
    session.InsertBtnClick();
    session.EditBtnClick(false);
    frontend.take();
    frontend.answer({true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(),
              (Calls{"ask 6", "error The boards are saved in the file " + path("vorn-2.dat") + "."}));
    EXPECT_TRUE(fs::is_fifo(path("vorn.dat")));
    EXPECT_EQ(fs::file_size(path("vorn-2.dat")), 2u * RecordBytes);
}

TEST_F(CollectionFileTest, AnotherGamesLaterSaveIsOverwrittenOnlyWhenThePlayerAgrees) {
    startAndSolve({RunBoard(), StuckBoard()});
    // Another copy of the game saves its boards after this one loaded.
    const std::string theirs = bytesOf({TwoPegBoard()});
    {
        LevelCollection other;
        other.current() = TwoPegBoard();
        ASSERT_TRUE(other.save(path("vorn.dat")).ok);
    }
    ASSERT_EQ(readAll(path("vorn.dat")), theirs);

    frontend.answer({true, false});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8",
                                      "error The boards are saved in the file " + path("vorn-2.dat") + "."}));
    EXPECT_EQ(readAll(path("vorn.dat")), theirs);
    LevelCollection mine;
    ASSERT_TRUE(mine.load(path("vorn-2.dat")).ok);
    EXPECT_EQ(mine.count(), 2);
    EXPECT_TRUE(mine.slot(1).isSolved());

    frontend.answer({true, true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8"}));
    EXPECT_EQ(readAll(path("vorn.dat")), readAll(path("vorn-2.dat")));
}

TEST_F(CollectionFileTest, AnUnchangedFileIsSavedWithoutTheQuestion) {
    startAndSolve({RunBoard()});
    frontend.answer({true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 6"}));
    LevelCollection saved;
    ASSERT_TRUE(saved.load(path("vorn.dat")).ok);
    EXPECT_TRUE(saved.slot(1).isSolved());
}

TEST_F(CollectionFileTest, TheRecoveryCopyFollowsEachChangeAndGoesAtANormalClose) {
    EXPECT_FALSE(fs::exists(recovery()));
    startAndSolve({RunBoard(), StuckBoard()});
    LevelCollection kept;
    ASSERT_TRUE(kept.load(recovery()).ok);
    EXPECT_EQ(kept.count(), 2);
    EXPECT_TRUE(kept.slot(1).isSolved());

    session.EditBtnClick(true);
    session.InsertBtnClick();
    ASSERT_TRUE(kept.load(recovery()).ok);
    EXPECT_EQ(kept.count(), 3) << "the inserted board is in the recovery copy at once";

    frontend.answerAnyQuestion(false);
    session.closeSequence({});
    EXPECT_FALSE(fs::exists(recovery())) << "removed whatever the answer to saving";
    EXPECT_EQ(fs::file_size(path("vorn.dat")), 2u * RecordBytes);
}

TEST_F(CollectionFileTest, AFailedSaveAtCloseLeavesTheBoardsForTheNextStartWhichOffersThem) {
    startAndSolve({RunBoard(), StuckBoard()});
    fs::remove(path("vorn.dat"));
    fs::create_directory(path("vorn.dat"));
    frontend.answer({true, true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8", "error Cannot create VORN.DAT. (2)"}));
    ASSERT_TRUE(fs::exists(recovery()));

    fs::remove(path("vorn.dat"));
    writeCollection({StuckBoard()});
    ScriptedFrontend nextFrontend;
    Session next{nextFrontend};
    ASSERT_TRUE(next.loadCollection(files(), recovery()));
    next.selectRememberedBoard(2);
    nextFrontend.take();
    nextFrontend.answer({true});
    next.offerRecovery();
    const Calls calls = nextFrontend.take();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "ask 7");
    EXPECT_EQ(next.collection().count(), 2);
    EXPECT_EQ(next.collection().currentNumber(), 2);
    EXPECT_TRUE(next.collection().slot(1).isSolved());
    EXPECT_EQ(next.mode(), ModeReady);
    EXPECT_EQ(next.play().Cells, StuckBoard().StartCells);
    EXPECT_TRUE(next.collection().changed()) << "restored boards are offered for saving at close";

    nextFrontend.answer({true});
    next.closeSequence({});
    EXPECT_FALSE(fs::exists(recovery()));
    LevelCollection saved;
    ASSERT_TRUE(saved.load(path("vorn.dat")).ok);
    EXPECT_EQ(saved.count(), 2);
    EXPECT_TRUE(saved.slot(1).isSolved());
}

TEST_F(CollectionFileTest, DecliningTheRecoveryKeepsTheFileAsLoaded) {
    fs::create_directories(path("state"));
    { std::ofstream(recovery(), std::ios::binary) << bytesOf({TwoPegBoard(), TwoPegBoard()}); }
    writeCollection({RunBoard()});
    ASSERT_TRUE(session.loadCollection(files(), recovery()));
    session.selectRememberedBoard(1);
    frontend.take();
    frontend.answer({false});
    session.offerRecovery();
    EXPECT_EQ(frontend.take(), (Calls{"ask 7"}));
    EXPECT_EQ(session.collection().count(), 1);
    EXPECT_FALSE(session.collection().changed());
    session.closeSequence({});
    EXPECT_FALSE(fs::exists(recovery()));
}

// A kill keeps what the player sees: cells clicked in the editor and a name typed there are in the
// copy before anything is settled, as the short way would settle them; an original board's never.
TEST_F(CollectionFileTest, TheRecoveryCopyHoldsTheEditorsPendingEditsAsTheyAreShown) {
    LevelRecord original = StuckBoard();
    original.Original = 1;
    writeCollection({RunBoard(), original});
    ASSERT_TRUE(session.loadCollection(files(), recovery()));
    session.selectRememberedBoard(1);
    session.EditBtnClick(true);
    session.InsertBtnClick();
    pick(10);
    pick(11);
    session.NameEditChange("Mine");
    LevelCollection kept;
    ASSERT_TRUE(kept.load(recovery()).ok);
    ASSERT_EQ(kept.count(), 3);
    EXPECT_EQ(kept.slot(2).StartCells[10], EmptyHole);
    EXPECT_EQ(kept.slot(2).StartCells[11], EmptyHole);
    EXPECT_EQ(kept.slot(2).TargetCells[11], EmptyHole);
    EXPECT_EQ(kept.slot(2).Names[0].text(), "Mine");

    // Dropped edits leave the copy; the inserted board stays in it.
    frontend.answer({false});
    session.levelscrollChange(3);
    ASSERT_TRUE(kept.load(recovery()).ok);
    EXPECT_EQ(kept.slot(2).StartCells, LevelRecord{}.StartCells);
    EXPECT_EQ(kept.slot(2).Names[0].text(), "");

    pick(0);
    ASSERT_NE(session.play().Cells, original.StartCells) << "the click edited the shown cells";
    ASSERT_TRUE(kept.load(recovery()).ok);
    EXPECT_EQ(kept.slot(3).toBytes(), original.toBytes());
}

// The save fails and no recovery copy can be written: nothing would keep the boards, so the player is
// asked before they are lost, and may go back to the game and end it once the save can succeed.
TEST_F(CollectionFileTest, WhenNothingCanKeepTheChangesThePlayerIsAskedAndMayGoBack) {
    std::ofstream(path("state"), std::ios::binary) << "a file where the recovery copy's directory belongs";
    writeCollection({RunBoard()});
    ASSERT_TRUE(session.loadCollection(files(), recovery()));
    session.selectRememberedBoard(1);
    session.EditBtnClick(true);
    session.InsertBtnClick();
    frontend.take();
    fs::remove(path("vorn.dat"));
    fs::create_directory(path("vorn.dat"));

    frontend.answer({true, true, false});
    EXPECT_TRUE(session.closeSequence({}).empty()) << "no settings: the game goes on";
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8", "error Cannot create VORN.DAT. (2)", "ask 9"}));
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_EQ(session.collection().count(), 2);

    fs::remove(path("vorn.dat"));
    frontend.answer({true, true});
    EXPECT_FALSE(session.closeSequence({}).empty());
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8"}));
    EXPECT_EQ(fs::file_size(path("vorn.dat")), 2u * RecordBytes);
}

TEST_F(CollectionFileTest, AFailedFirstCopyIsReportedWithThePlayersFile) {
    writeCollection({RunBoard()});
    EXPECT_TRUE(session.loadCollection(CollectionFiles{path("vorn.dat"), path("own/vorn.dat"), ENOSPC}, {}));
    EXPECT_EQ(frontend.take(), (Calls{"error Fileerror " + std::to_string(ENOSPC) + " with file " +
                                      path("own/vorn.dat") + "."}));
}
