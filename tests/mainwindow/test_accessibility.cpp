// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as assistive technology reads it: a window, every button named in the player's
// language by its hint, the two toggles with their state, the counter with what it shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>

#include "GameFixture.h"
#include "view/Accessibility.h"
#include "view/BoardArea.h"
#include "view/StatusPanel.h"

namespace {

// Every button's accessible name, in the order the window holds them.
QStringList ButtonNames(TMainForm& form) {
    QStringList names;
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&form))
            names << QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
    }
    return names;
}

QAccessibleInterface* Interface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

TEST_F(GameFixture, EveryButtonOfTheMainWindowIsNamedInThePlayersLanguage) {
    InstallAccessibleInterfaces();
    QStringList english;
    {
        auto form = startEnglishGame();
        EXPECT_EQ(Interface(form.get())->role(), QAccessible::Window);
        EXPECT_EQ(Interface(form->box())->text(QAccessible::Name), form->windowTitle());
        EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Tolvar Pegs 1")));
        english = ButtonNames(*form);
        EXPECT_GE(english.size(), 10);
        EXPECT_FALSE(english.contains(QString())) << english.join(" | ").toStdString();
        EXPECT_TRUE(english.contains(QStringLiteral("Edit game"))) << english.join(" | ").toStdString();

        // Sound and Edit are toggles and say whether they are down.
        QAccessibleInterface* sound = nullptr;
        QAccessibleInterface* edit = nullptr;
        for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
            const QString name = Interface(button)->text(QAccessible::Name);
            if (name == QStringLiteral("I don't like the sound."))
                sound = Interface(button);
            if (name == QStringLiteral("Edit game"))
                edit = Interface(button);
        }
        ASSERT_NE(sound, nullptr) << english.join(" | ").toStdString();
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(sound->state().checkable);
        EXPECT_TRUE(sound->state().checked);
        EXPECT_TRUE(edit->state().checkable);
        EXPECT_FALSE(edit->state().checked);

        // The counter tells the moves it shows, and follows a jump.
        QWidget* counter = form->findChild<StatusPanel*>()->timbox();
        const QString before = Interface(counter)->text(QAccessible::Name);
        EXPECT_TRUE(before.startsWith(form->findChild<StatusPanel*>()->MovesLabel()->text()))
            << before.toStdString();
        drag(*form, cellCentre(0), {}, cellCentre(2));
        EXPECT_NE(Interface(counter)->text(QAccessible::Name), before);
    }
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=1\n"));
    ModalScript none;
    auto german = startGame();
    const QStringList names = ButtonNames(*german);
    EXPECT_EQ(names.size(), english.size());
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_TRUE(names.contains(QStringLiteral("Spiel verändern"))) << names.join(" | ").toStdString();
}
