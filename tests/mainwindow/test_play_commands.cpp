// The tool panel's game commands on the screen: undo, and the board selector during a game.
#include <QScrollBar>
#include <QTest>

#include "GameFixture.h"
#include "view/BoardArea.h"
#include "view/stylesb.h"

TEST_F(GameFixture, UndoTakesTheJumpBackOnTheScreenAndTheSelectorAsksBeforeGivingUp) {
    auto form = startEnglishGame();
    const QImage start = form->box()->image();
    drag(*form, cellCentre(0), {}, cellCentre(2));
    ASSERT_EQ(form->session().play().JumpCount, 1);

    QTest::mouseClick(form->BackmoveBtn(), Qt::LeftButton);
    EXPECT_EQ(form->sounds().lastStarted(), 8);
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_EQ(form->box()->image(), start);
    EXPECT_TRUE(displayShows(*form, 24, 2 * 11, 11)) << "par 2, no move made";

    // Still a game in progress after the undo: leaving it asks, and no keeps the selector in place.
    ASSERT_EQ(form->session().mode(), ModePlaying);
    ModalScript script;
    script.then(ModalScript::no()).then(ModalScript::yes());
    form->levelscroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form->levelscroll()->value(), 1);
    EXPECT_EQ(form->session().collection().currentNumber(), 1);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1");
    form->levelscroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form->levelscroll()->value(), 2);
    EXPECT_EQ(form->session().collection().currentNumber(), 2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Second");
    EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 3", "TYesNoDialog 3"}));
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}
