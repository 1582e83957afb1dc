// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, moving between boards, the editor button with the settling of pending edits, the close
// sequence, and board names as they are shown.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "SessionFixture.h"
#include "session/Texts.h"

using BoardsTest = SessionTest;

TEST_F(BoardsTest, AMissingCollectionGivesTheFileErrorAndOneBlankBoard) {
    const std::string file = path("vorn.dat");
    EXPECT_FALSE(session.loadCollection(file));
    EXPECT_EQ(frontend.take(),
              (Calls{"error Fileerror " + std::to_string(ENOENT) + " with file " + file + "."}));
    EXPECT_EQ(session.collection().count(), 1);
    const LevelRecord& blank = session.currentRecord();
    EXPECT_EQ(blank.Size, 7);
    EXPECT_EQ(blank.Shape, ShapeSquare);
    EXPECT_EQ(CountPegs(blank.StartCells, blank), 0);
    for (const CellCode code : blank.StartCells)
        EXPECT_EQ(code, NoHole);

    session.selectRememberedBoard(4);
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.collection().currentNumber(), 1);
    // Nothing to play: every click is ignored, and the file is not written at close.
    pick(0);
    EXPECT_FALSE(session.play().Dragging);
    EXPECT_FALSE(session.collection().changed());
    session.closeSequence({});
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(BoardsTest, TheFileErrorIsGermanForGermanAndTellsAnEmptyFile) {
    const std::string file = path("vorn.dat");
    writeCollection({});
    session.setLanguage(LanguageGerman);
    session.loadCollection(file);
    EXPECT_EQ(frontend.take(),
              (Calls{"error Dateifehler " + std::to_string(ENODATA) + " bei Datei " + file + "."}));
}

TEST_F(BoardsTest, TheRememberedFirstBoardIsSetUpOnceWithoutMovingTheSelector) {
    writeCollection({RunBoard(), StuckBoard(), TwoPegBoard()});
    ASSERT_TRUE(session.loadCollection(path("vorn.dat")));
    session.selectRememberedBoard(1);
    EXPECT_EQ(frontend.take(), (Calls{"selector 3 1", "status", "hints", "step off"}));
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().Cells, RunBoard().StartCells);
}

TEST_F(BoardsTest, ARememberedBoardBeyondTheListSelectsTheLastAndClearsTheFlags) {
    LevelRecord withSolution = TwoPegBoard();
    StoreJumps(withSolution, {{0, 2}, {5, 3}, {2, 4}}, 3);
    writeCollection({RunBoard(), StuckBoard(), withSolution});
    ASSERT_TRUE(session.loadCollection(path("vorn.dat")));
    session.selectRememberedBoard(150);
    EXPECT_EQ(frontend.take(), (Calls{"selector 3 3", "status", "hints", "step on", "paintBoard"}));
    EXPECT_EQ(session.collection().currentNumber(), 3);
    EXPECT_EQ(session.play().Par, 3);
    EXPECT_FALSE(session.pendingCellEdit());
    EXPECT_FALSE(session.collection().changed());

    // At close the clamped number is what is remembered.
    const auto settings = session.closeSequence({});
    EXPECT_EQ(settings[4], (std::pair{SettingKey::Level, 3}));
}

TEST_F(BoardsTest, CloseAsksToEndThenToSaveAndReturnsTheSettingsInOrder) {
    start({RunBoard(), StuckBoard(), TwoPegBoard()});
    session.levelscrollChange(3);
    session.setLanguage(LanguageGerman);
    session.setDesigns(4, 7);
    session.setBackground(1);
    frontend.answer({false});
    jump(0, 2);
    jump(5, 3);
    jump(2, 4); // solved for the first time: the collection changed; not stored
    ASSERT_TRUE(session.collection().changed());
    frontend.take();

    frontend.answer({false});
    EXPECT_FALSE(session.confirmClose());
    EXPECT_EQ(frontend.take(), (Calls{"ask 4"}));
    frontend.answer({true});
    EXPECT_TRUE(session.confirmClose());

    frontend.answer({true});
    const auto settings = session.closeSequence({false, 12, 34, true});
    EXPECT_EQ(frontend.take(), (Calls{"ask 4", "ask 6"}));
    const std::vector<std::pair<SettingKey, int>> expected{
        {SettingKey::Sound, 0},  {SettingKey::Left, 12}, {SettingKey::Top, 34},
        {SettingKey::Tongue, 1}, {SettingKey::Level, 3}, {SettingKey::Back, 1},
        {SettingKey::Fig1, 4},   {SettingKey::Fig2, 7},  {SettingKey::Edinf, 1}};
    EXPECT_EQ(settings, expected);

    // The file now holds the three boards with the solved flag of the third.
    LevelCollection reread;
    ASSERT_TRUE(reread.load(path("vorn.dat")).ok);
    EXPECT_EQ(reread.count(), 3);
    EXPECT_EQ(reread.slot(3).Solved, 1);
}

TEST_F(BoardsTest, DecliningToSaveWritesNothing) {
    start({RunBoard()});
    const auto before = std::filesystem::file_size(path("vorn.dat"));
    const auto written = std::filesystem::last_write_time(path("vorn.dat"));
    frontend.answer({false});
    jump(0, 2);
    jump(2, 4);
    jump(4, 6);
    frontend.take();
    frontend.answer({false});
    const auto settings = session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 6"}));
    EXPECT_EQ(settings.size(), 9u);
    EXPECT_EQ(std::filesystem::file_size(path("vorn.dat")), before);
    EXPECT_EQ(std::filesystem::last_write_time(path("vorn.dat")), written);
    LevelCollection reread;
    reread.load(path("vorn.dat"));
    EXPECT_EQ(reread.slot(1).Solved, 0);
}

TEST_F(BoardsTest, AnUnchangedCollectionIsNotOfferedForSaving) {
    start({RunBoard()});
    jump(0, 2);
    frontend.take();
    session.closeSequence({});
    EXPECT_TRUE(frontend.take().empty());
}

TEST_F(BoardsTest, AFailedSaveShowsTheSaveErrorInTheLanguage) {
    start({RunBoard()});
    frontend.answer({false});
    jump(0, 2);
    jump(2, 4);
    jump(4, 6);
    frontend.take();
    // A directory now stands in the collection file's place.
    std::filesystem::remove(path("vorn.dat"));
    std::filesystem::create_directory(path("vorn.dat"));
    frontend.answer({true, true, true});
    session.closeSequence({});
    // Without a recovery copy nothing keeps the boards: ending is asked once more.
    EXPECT_EQ(frontend.take(), (Calls{"ask 6", "ask 8", "error Cannot create VORN.DAT. (1)", "ask 9"}));
    EXPECT_EQ(session.saveErrorText(3), "Cannot create VORN.DAT. (3)");
    session.setLanguage(LanguageGerman);
    EXPECT_EQ(session.saveErrorText(3), "Datei VORN.DAT kann nicht angelegt werden. (3)");
}

TEST_F(BoardsTest, TheEditorButtonSwitchesModesAndButtons) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    start({withSolution});
    jump(0, 2);
    frontend.take();

    // Entered in the middle of a game without a question.
    session.EditBtnClick(true);
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "editor on", "step off", "restartUndo off", "status",
                                      "hints", "status", "paintBoard"}));
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_EQ(session.play().Cells, withSolution.StartCells);

    // Restart, undo and step are out of reach while editing; a click cycles a cell instead of picking.
    pick(0);
    EXPECT_EQ(frontend.take(), (Calls{"sound 14", "draw 0"}));
    EXPECT_FALSE(session.play().Dragging);
    session.RestartBtnClick();
    session.BackMoveBtnClick();
    session.StepBtnClick();
    session.EditBtnClick(true);
    EXPECT_TRUE(frontend.take().empty());
    EXPECT_EQ(session.mode(), ModeEditing);

    frontend.answer({false});
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take(), (Calls{"ask 5", "editor off", "step on", "restartUndo on", "status", "hints",
                                      "status", "paintBoard"}));
    EXPECT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(session.play().Cells, withSolution.StartCells);
}

TEST_F(BoardsTest, LeavingTheEditorWithAcceptedCellEditsDropsTheSolution) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    start({withSolution});
    session.EditBtnClick(true);
    pick(0); // a click on a cell of the start position
    frontend.take();
    frontend.answer({true});
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "ask 5");
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(session.currentRecord().SolutionMoves, 0);
    EXPECT_FALSE(session.pendingCellEdit());
}

TEST_F(BoardsTest, AcceptingANameEditKeepsTheSolution) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    start({withSolution});
    session.EditBtnClick(true);
    session.NameEditChange("Run");
    frontend.answer({true});
    session.EditBtnClick(false);
    EXPECT_EQ(session.currentRecord().SolutionMoves, 1);
    EXPECT_EQ(session.currentRecord().Names[0].text(), "Run");
}

TEST_F(BoardsTest, DecliningOrAnOriginalBoardDropsTheEdits) {
    LevelRecord original = RunBoard();
    original.Original = 1;
    start({RunBoard(), original});

    session.EditBtnClick(true);
    session.NameEditChange("changed");
    frontend.take();
    frontend.answer({false});
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "ask 5");
    EXPECT_EQ(session.currentRecord().Names[0].text(), "");
    EXPECT_FALSE(session.collection().changed());

    session.levelscrollChange(2);
    session.EditBtnClick(true);
    session.currentRecord().Size = 5;
    pick(0); // a click on a cell of the start position
    frontend.take();
    session.EditBtnClick(false);
    EXPECT_EQ(frontend.take().front(), "notice 3");
    EXPECT_EQ(session.currentRecord().Size, 7);
    EXPECT_FALSE(session.collection().changed());
}

TEST_F(BoardsTest, SelectingWhileEditingSettlesAndStaysInTheEditor) {
    start({RunBoard(), StuckBoard()});
    session.EditBtnClick(true);
    pick(0); // a click on a cell of the start position
    frontend.take();
    frontend.answer({true});
    session.levelscrollChange(2);
    EXPECT_EQ(frontend.take(), (Calls{"ask 5", "status", "hints", "paintBoard"}));
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    EXPECT_FALSE(session.pendingCellEdit());
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(session.play().Cells, StuckBoard().StartCells);

    // Nothing pending: no question.
    session.levelscrollChange(1);
    EXPECT_EQ(frontend.take(), (Calls{"status", "hints", "paintBoard"}));
}

TEST_F(BoardsTest, ClosingWhileEditingSettlesTheShortWayBeforeTheSaveQuestion) {
    LevelRecord withSolution = RunBoard();
    StoreJumps(withSolution, {{0, 2}, {2, 4}, {4, 6}}, 1);
    start({withSolution});
    session.EditBtnClick(true);
    pick(0); // a click on a cell of the start position
    frontend.take();
    frontend.answer({true, true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (Calls{"ask 5", "ask 6"}));
    LevelCollection reread;
    ASSERT_TRUE(reread.load(path("vorn.dat")).ok);
    // The short way keeps the stored solution even after cell edits.
    EXPECT_EQ(reread.slot(1).SolutionMoves, 1);
}

// A name read from a file is shown, never obeyed: each control character shows as its picture, so no
// name can put an escape sequence or a line break into a title or wherever else a tool prints it.
TEST(ShownName, ControlCharactersShowAsTheirPicturesAndEveryOtherByteAsItsCharacter) {
    EXPECT_EQ(ShownName("A\x1B]0;x\x07"
                        "B\nC\tD\x7F"),
              "A\u241B]0;x\u2407B\u240AC\u2409D\u2421");
    EXPECT_EQ(ShownName(std::string(1, '\0')), "\u2400");
    EXPECT_EQ(ShownName("Kreuz \xFC\x80\x9F"), "Kreuz \u00FC\u20AC\u0178");
    EXPECT_EQ(ShownName("\x81\x9D"), "\uFFFD\uFFFD") << "bytes the code page leaves unused";
    for (int byte = 0; byte < 256; ++byte) {
        const std::string shown = ShownName(std::string(1, static_cast<char>(byte)));
        const auto lead = static_cast<unsigned char>(shown[0]);
        EXPECT_FALSE(shown.size() == 1 && (lead < 0x20 || lead == 0x7F)) << byte;
        EXPECT_FALSE(shown.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(shown[1]) < 0xA0)
            << byte << ": a C1 control";
    }
}
