// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads of the game's own widgets, through Qt's accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QSignalSpy>
#include <QWidget>

#include "view/Accessibility.h"
#include "view/GradientButton.h"
#include "view/StatusPanel.h"
#include "view/ToolButton.h"

namespace {

QAccessibleInterface* Interface(QObject* object) {
    InstallAccessibleInterfaces();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(face, nullptr);
    return face;
}

} // namespace

TEST(Accessibility, ToolButtonsAreNamedByTheirHintsAndGroupedOnesAreToggles) {
    QWidget panel;
    auto* undo = new TStyleSpeedButton(&panel);
    auto* sound = new TStyleSpeedButton(&panel);
    auto* edit = new TStyleSpeedButton(&panel);
    sound->setGroupIndex(1);
    sound->setAllowAllUp(true);
    edit->setGroupIndex(1);

    undo->setToolTip(QStringLiteral("Undo the last move"));
    EXPECT_EQ(Interface(undo)->text(QAccessible::Name), QStringLiteral("Undo the last move"));
    undo->setToolTip(QStringLiteral("Letzten Zug zurücknehmen"));
    EXPECT_EQ(Interface(undo)->text(QAccessible::Name), QStringLiteral("Letzten Zug zurücknehmen"));
    EXPECT_EQ(Interface(undo)->role(), QAccessible::Button);
    EXPECT_FALSE(Interface(undo)->state().checkable);

    EXPECT_TRUE(Interface(sound)->state().checkable);
    EXPECT_FALSE(Interface(sound)->state().checked);
    sound->setDown(true);
    EXPECT_TRUE(Interface(sound)->state().checked);
    // Going down releases the other of its group, also for the reader.
    edit->setDown(true);
    EXPECT_FALSE(Interface(sound)->state().checked);
    EXPECT_TRUE(Interface(edit)->state().checked);
    // A button taken out of its group is no toggle any more.
    edit->setGroupIndex(0);
    EXPECT_FALSE(Interface(edit)->state().checkable);
    EXPECT_FALSE(edit->isChecked());

    // Pressed by assistive technology, a grouped button toggles and reports its click as the mouse's
    // click does; no other signal reaches the game.
    QSignalSpy clicks(sound, &TStyleSpeedButton::clicked);
    QSignalSpy toggles(sound, &TStyleSpeedButton::toggled);
    QAccessibleActionInterface* actions = Interface(sound)->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(sound->Down());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_TRUE(clicks.at(0).at(0).toBool());
    EXPECT_EQ(toggles.count(), 0);
    sound->setEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(sound->Down());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(Accessibility, GradientButtonsAreButtonsNamedByTheirCaptions) {
    TGradButton button;
    button.setCaption(QStringLiteral("Ja"));
    QAccessibleInterface* face = Interface(&button);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Ja"));
    button.setAccessibleName(QStringLiteral("Yes, end the game"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Yes, end the game"));

    QSignalSpy clicks(&button, &TGradButton::clicked);
    ASSERT_NE(face->actionInterface(), nullptr);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    button.setEnabled(false);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(Accessibility, TheMovesDisplayTellsWhatItShowsAndOwnWindowsAreWindows) {
    EXPECT_EQ(MovesShownText(QStringLiteral("Moves:"), StatusValues{12, 5, 0, false, false}),
              QStringLiteral("Moves: 7"));
    EXPECT_EQ(MovesShownText(QStringLiteral("Züge:"), StatusValues{3, 5, 0, false, false}),
              QStringLiteral("Züge: -2"));
    EXPECT_EQ(MovesShownText(QStringLiteral("Moves:"), StatusValues{0, 150, 0, false, false}),
              QStringLiteral("Moves: -99"));

    // The panel made a window of its own, as the game's windows are made straight from QWidget.
    StatusPanel panel{QImage(300, 20, QImage::Format_RGB32)};
    panel.MovesLabel()->setText(QStringLiteral("Moves:"));
    panel.setSource([] { return StatusValues{10, 4, 0, false, false}; });
    panel.movesboxPaint();
    EXPECT_EQ(Interface(panel.timbox())->text(QAccessible::Name), QStringLiteral("Moves: 6"));
    EXPECT_EQ(Interface(&panel)->role(), QAccessible::Window);
    // A part of a window stays what Qt makes of it.
    EXPECT_NE(Interface(panel.MovesLabel())->role(), QAccessible::Window);
}
