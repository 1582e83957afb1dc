// SPDX-License-Identifier: GPL-3.0-or-later
// Window places read from the settings file: a place from which no part of the window would be on
// any screen (a damaged or hostile file, or a screen since removed) gives way to the default place.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "GameFixture.h"
#include "windows/EditorWindow.h"
#include "view/ToolButton.h"

namespace {

bool onAScreen(const QWidget& window) {
    return QGuiApplication::primaryScreen()->availableGeometry().intersects(window.frameGeometry());
}

} // namespace

TEST_F(GameFixture, PlacesOffEveryScreenGiveWayToTheDefaultPlaces) {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\nleft=2147483647\ntop=-2147483648\n"
                                 "eleft=-2147483648\netop=2147483647\n"));
    ModalScript script;
    auto form = startGame();
    EXPECT_TRUE(onAScreen(*form)) << form->pos().x() << "," << form->pos().y();
    QTest::mouseClick(form->EditBtn(), Qt::LeftButton);
    EXPECT_TRUE(form->editDlg()->isVisible());
    EXPECT_EQ(form->editDlg()->pos(), DefaultEditorPosition(form->frameGeometry()));

    // The question window stands over the main window, wherever that is now.
    script.then(ModalScript::inspect(
        [&](QWidget* window) {
            EXPECT_TRUE(form->frameGeometry().contains(window->frameGeometry().center()));
        },
        ModalScript::no()));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(script.finished());
}

TEST_F(GameFixture, PlacesPartlyOnAScreenAreKept) {
    writeSettings(
        QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\nleft=650\ntop=20\neleft=700\netop=500\n"));
    ModalScript script;
    auto form = startGame();
    EXPECT_EQ(form->pos(), QPoint(650, 20));
    QTest::mouseClick(form->EditBtn(), Qt::LeftButton);
    EXPECT_EQ(form->editDlg()->pos(), QPoint(700, 500));
}
