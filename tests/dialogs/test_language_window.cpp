// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/LanguageWindow.h"

#include "Modal.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Shows the window for `current` and answers it with `answer`, run inside its modal loop.
int Choose(TTongueDlg& dialog, int current, std::function<void()> answer) {
    modal::WhenShown(&dialog, std::move(answer));
    return dialog.chooseLanguage(current);
}

TEST(TongueDialog, EachButtonGivesItsLanguageWhateverWasChosenBefore) {
    TTongueDlg dialog;
    for (const int before : {-1, 0, 1}) {
        EXPECT_EQ(Choose(dialog, before, [&] { QTest::mouseClick(dialog.EnglishBtn(), Qt::LeftButton); }), 0);
        EXPECT_EQ(Choose(dialog, before, [&] { QTest::mouseClick(dialog.GermanBtn(), Qt::LeftButton); }), 1);
    }
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TongueDialog, ClosingWithTheCloseBoxKeepsTheLanguage) {
    TTongueDlg dialog;
    for (const int before : {-1, 0, 1})
        EXPECT_EQ(Choose(dialog, before, [&] { dialog.close(); }), before);
    // A choice made at one showing does not stick to the next one that is closed.
    EXPECT_EQ(Choose(dialog, -1, [&] { QTest::mouseClick(dialog.GermanBtn(), Qt::LeftButton); }), 1);
    EXPECT_EQ(Choose(dialog, -1, [&] { dialog.close(); }), -1);
}

TEST(TongueDialog, KeyboardStartsOnEnglishAndReturnAnswersTheFocusedButton) {
    TTongueDlg dialog;
    EXPECT_EQ(Choose(dialog, -1,
                     [&] {
                         EXPECT_TRUE(dialog.EnglishBtn()->hasFocus());
                         QTest::keyClick(&dialog, Qt::Key_Return);
                     }),
              0);
    EXPECT_EQ(Choose(dialog, -1,
                     [&] {
                         QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                         EXPECT_TRUE(dialog.GermanBtn()->hasFocus());
                         QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
                     }),
              1);
}

TEST(TongueDialog, LayoutAndTexts) {
    TTongueDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(320, 91));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tolvar Pegs V1.0"));
    EXPECT_EQ(dialog.EnglishBtn()->geometry(), QRect(84, 16, 221, 27));
    EXPECT_EQ(dialog.GermanBtn()->geometry(), QRect(84, 48, 221, 27));
    EXPECT_EQ(dialog.EnglishBtn()->text(), QStringLiteral("I speak english."));
    EXPECT_EQ(dialog.GermanBtn()->text(), QStringLiteral("Ich spreche deutsch."));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
}

TEST(TongueDialog, OpensCentredOnTheScreen) {
    TTongueDlg dialog;
    Choose(dialog, -1, [&] {
        const QRect screen = dialog.screen()->geometry();
        const QPoint offset = dialog.frameGeometry().center() - screen.center();
        EXPECT_LE(std::abs(offset.x()), 1);
        EXPECT_LE(std::abs(offset.y()), 1);
        dialog.close();
    });
}

} // namespace
