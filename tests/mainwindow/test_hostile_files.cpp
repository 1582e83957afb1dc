// SPDX-License-Identifier: GPL-3.0-or-later
// Files in the program and settings directories that are broken, cut short or no files at all: the
// player is told, and nothing made in the game is lost.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

#include "GameFixture.h"

TEST_F(GameFixture, ACutBackgroundPictureEndsAfterTheMemoryMessageAndWritesNothing) {
    QFile picture(programPath() + "b1.bmp");
    ASSERT_TRUE(picture.resize(picture.size() - 500));
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    auto form = std::make_unique<TMainForm>(programPath());
    form->createOtherWindows();
    QSignalSpy ending(form.get(), &TMainForm::programEnding);
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(script.seen(), QStringList{"QMessageBox Not enough memory! Program aborted."});
    EXPECT_EQ(ending.count(), 1);
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(GameFixture, ASettingsFileThatCannotBeWrittenIsNamedAtClose) {
    auto form = startEnglishGame();
    ASSERT_TRUE(QFile::remove(settingsPath()));
    ASSERT_TRUE(QDir().mkpath(settingsPath()));
    ModalScript script;
    script.then(ModalScript::yes()).then(ModalScript::messageBoxOk());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(script.seen(),
              (QStringList{
                  "TYesNoDialog 4",
                  QStringLiteral("QMessageBox Fileerror %1 with file %2.").arg(EISDIR).arg(settingsPath())}));
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
}

TEST_F(GameFixture, APipeInTheCollectionsPlaceIsToldAndTheBoardsGoToANewFileBesideIt) {
    removeProgramFile("vorn.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(programPath() + "vorn.dat").constData(), 0644), 0);
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\n"));
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    auto form = startGame();
    EXPECT_EQ(script.seen(), QStringList{QStringLiteral("QMessageBox Fileerror %1 with file %2.")
                                             .arg(EINVAL)
                                             .arg(programPath() + "vorn.dat")});

    // Any change: a new board is inserted in the editor.
    ModalScript& closing = script.otherwise(ModalScript::agree());
    form->session().EditBtnClick(true);
    form->session().InsertBtnClick();
    form->session().EditBtnClick(false);
    ASSERT_TRUE(form->session().collection().changed());
    EXPECT_TRUE(form->close());
    const QString saved = programPath() + "vorn-2.dat";
    EXPECT_TRUE(closing.seen().contains("QMessageBox The boards are saved in the file " + saved + "."))
        << closing.seen().join(", ").toStdString();
    EXPECT_EQ(QFileInfo(saved).size(), 2 * 732);
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(programPath() + "vorn.dat").constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
