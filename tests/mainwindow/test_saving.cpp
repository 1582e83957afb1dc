// SPDX-License-Identifier: GPL-3.0-or-later
// Closing when the collection cannot be written: the player is told, the settings are written all
// the same, and nothing else is lost; when nothing can keep the boards, the player may go back.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "GameFixture.h"

TEST_F(GameFixture, ACollectionThatCannotBeWrittenIsReportedAndTheSettingsAreKept) {
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::yes());
    drag(*form, cellCentre(0), {}, cellCentre(2));
    drag(*form, cellCentre(3), {}, cellCentre(1));
    ASSERT_EQ(form->session().mode(), ModeSolved);
    ASSERT_TRUE(form->session().collection().changed());

    // A directory now stands where the collection file was, so it cannot be replaced.
    removeProgramFile("vorn.dat");
    ASSERT_TRUE(QDir(programPath()).mkpath("vorn.dat/held"));
    // The file changed since the start, so overwriting it is asked first.
    script.then(ModalScript::yes()).then(ModalScript::yes()).then(ModalScript::yes());
    script.then(ModalScript::messageBoxOk());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(script.finished());
    ASSERT_EQ(script.seen().size(), 5);
    EXPECT_EQ(script.seen().mid(1, 3), (QStringList{"TYesNoDialog 4", "TYesNoDialog 6", "TYesNoDialog 8"}));
    EXPECT_TRUE(script.seen().last().startsWith("QMessageBox Cannot create VORN.DAT. ("))
        << script.seen().last().toStdString();
    EXPECT_TRUE(settingsText().contains("level=1")) << settingsText().toStdString();
    EXPECT_TRUE(QFileInfo(programPath() + "vorn.dat/held").isDir());
    EXPECT_EQ(QDir(programPath()).entryList({"vorn.dat*"}, QDir::Files | QDir::Hidden), QStringList())
        << "no half-written file is left behind";
}

TEST_F(GameFixture, AfterAFailedSaveAtCloseTheNextStartOffersTheBoardsAgain) {
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::no()); // the solution is not stored; the solved mark is a change
    drag(*form, cellCentre(0), {}, cellCentre(2));
    drag(*form, cellCentre(3), {}, cellCentre(1));
    ASSERT_TRUE(form->session().collection().slot(1).isSolved());
    removeProgramFile("vorn.dat");
    ASSERT_TRUE(QDir(programPath()).mkpath("vorn.dat/held"));
    script.otherwise(ModalScript::agree());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(script.seen().last().startsWith("QMessageBox Cannot create VORN.DAT."))
        << script.seen().join(", ").toStdString();
    form.reset();

    ASSERT_TRUE(QDir(programPath() + "vorn.dat").removeRecursively());
    writeCollection({boardOne(), boardTwo()});
    const qsizetype before = script.seen().size();
    auto again = startGame();
    EXPECT_EQ(script.seen().mid(before), QStringList{"TYesNoDialog 7"});
    EXPECT_TRUE(again->session().collection().slot(1).isSolved()) << "the solved mark came back";
    EXPECT_TRUE(again->session().collection().changed());

    EXPECT_TRUE(again->close());
    EXPECT_FALSE(QFile::exists(m_config.path() + "/state/tolvarpegs/vorn-recovery.dat"));
    EXPECT_TRUE(script.seen().contains("TYesNoDialog 6"));
}

TEST_F(GameFixture, WhenNothingCanKeepTheBoardsGoingBackKeepsTheGameRunningWithNothingWritten) {
    QFile blocker(m_config.path() + "/state"); // a file where the recovery copy's directory belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::no()); // the solution is not stored; the solved mark is a change
    drag(*form, cellCentre(0), {}, cellCentre(2));
    drag(*form, cellCentre(3), {}, cellCentre(1));
    removeProgramFile("vorn.dat");
    ASSERT_TRUE(QDir(programPath()).mkpath("vorn.dat/held"));
    const QString settings = settingsText();

    script.then(ModalScript::yes()).then(ModalScript::yes()).then(ModalScript::yes());
    script.then(ModalScript::messageBoxOk()).then(ModalScript::no());
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.seen().last(), "TYesNoDialog 9") << script.seen().join(", ").toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(settingsText(), settings) << "nothing is written while the game goes on";

    ASSERT_TRUE(QDir(programPath() + "vorn.dat").removeRecursively());
    script.otherwise(ModalScript::agree());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(form->session().collection().slot(1).isSolved());
    EXPECT_TRUE(QFileInfo(programPath() + "vorn.dat").isFile());
    EXPECT_TRUE(settingsText().contains("level=1")) << settingsText().toStdString();
}
