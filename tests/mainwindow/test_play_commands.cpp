// SPDX-License-Identifier: GPL-3.0-or-later
// The tool panel's game commands on the screen: undo, and the board selector during a game.
#include <QScrollBar>
#include <QTest>

#include "GameFixture.h"
#include "view/BoardArea.h"
#include "view/ToolButton.h"

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

namespace {

// A 9 x 9 board whose rows are "PPoPPoPPo": 27 jumps by 27 different pegs, one move each, with a
// stored solution of `par` moves (only its length matters here).
LevelRecord rowsOfPairs(int par) {
    LevelRecord record;
    MakeNewBoard(record);
    record.Size = 9;
    for (int cell = 0; cell < CellCount; ++cell) {
        record.StartCells[cell] = cell % 3 == 2 ? EmptyHole : FirstColourPeg;
        record.TargetCells[cell] = EmptyHole;
    }
    record.SolutionFrom[0] = 0;
    record.SolutionTo[0] = 2;
    record.SolutionMoves = static_cast<std::uint8_t>(par);
    return record;
}

constexpr int Blank = 110;
constexpr int Minus = 150;

} // namespace

TEST_F(GameFixture, TheCounterShowsMovesLeftAndMovesBeyondThePar) {
    writeCollection({rowsOfPairs(7), rowsOfPairs(12), rowsOfPairs(1)});
    auto form = startEnglishGame();
    EXPECT_TRUE(displayShowsColumns(*form, Blank, Blank, 77)) << "7";
    form->levelscroll()->setValue(2);
    EXPECT_TRUE(displayShowsColumns(*form, Blank, 11, 22)) << "12";
    form->levelscroll()->setValue(3);
    const LevelRecord record = rowsOfPairs(1);
    const auto jumpInTriple = [&](int triple) {
        const int from = 3 * triple;
        drag(*form, cellCentre(record, from), {}, cellCentre(record, from + 2));
    };
    for (int triple = 0; triple < 4; ++triple)
        jumpInTriple(triple);
    ASSERT_EQ(form->session().play().MoveCount, 4);
    EXPECT_TRUE(displayShowsColumns(*form, Blank, Minus, 33)) << "-3";
    for (int triple = 4; triple < 13; ++triple)
        jumpInTriple(triple);
    ASSERT_EQ(form->session().play().MoveCount, 13);
    EXPECT_TRUE(displayShowsColumns(*form, Minus, 11, 22)) << "-12";
}
