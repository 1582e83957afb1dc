// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a player drives it: start-up, dragging pegs, the status display, the
// appearance choices, the editor button and the close sequence, with pixels read back.
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "GameFixture.h"
#include "app/HelpWindow.h"
#include "storage/LevelCollection.h"
#include "windows/EditorIntroWindow.h"
#include "windows/EditorWindow.h"
#include "windows/AboutWindow.h"
#include "view/BoardArea.h"
#include "view/Sprites.h"
#include "view/StatusPanel.h"
#include "view/ToolButton.h"

namespace {

QImage picture(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The digit d of the status display comes from numbs column 11 d.
constexpr int UnitsPlace = 24;
int digitColumn(int digit) {
    return 11 * digit;
}

void clickButton(QWidget* button, Qt::MouseButton which = Qt::LeftButton) {
    QTest::mouseClick(button, which, {}, button->rect().center());
}

} // namespace

TEST_F(GameFixture, FirstStartWithoutSettingsShowsBoardOneThenAsksForTheLanguage) {
    ModalScript script;
    TMainForm* started = nullptr;
    bool boardShownBeforeTheQuestion = false;
    QString titleAtTheQuestion;
    script.then(ModalScript::inspect(
        [&](QWidget* window) {
            TMainForm* form = qobject_cast<TMainForm*>(window->parentWidget());
            ASSERT_NE(form, nullptr);
            started = form;
            titleAtTheQuestion = form->windowTitle();
            boardShownBeforeTheQuestion = form->box()->image() == freshBoard(*form);
        },
        ModalScript::german()));
    auto form = startGame();

    EXPECT_EQ(script.seen(), QStringList{"TTongueDlg"});
    EXPECT_EQ(started, form.get());
    EXPECT_TRUE(boardShownBeforeTheQuestion);
    EXPECT_EQ(titleAtTheQuestion, "Tolvar Pegs 1");
    EXPECT_EQ(form->size(), QSize(500, 366));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->pos(), QPoint(100, 50));
    EXPECT_TRUE(form->SoundBtn()->Down());
    EXPECT_EQ(form->session().firstDesign(), 1);
    EXPECT_EQ(form->session().secondDesign(), 2);
    EXPECT_EQ(form->session().background(), 0);
    EXPECT_EQ(form->backgroundPicture(), picture(programPath() + "b1.bmp"));
    EXPECT_EQ(form->session().collection().currentNumber(), 1);
    EXPECT_EQ(form->levelscroll()->minimum(), 1);
    EXPECT_EQ(form->levelscroll()->maximum(), 2);
    EXPECT_EQ(form->levelscroll()->value(), 1);
    EXPECT_EQ(form->session().mode(), ModeReady);
    // The German choice shows at once in the hints and the moves label.
    EXPECT_EQ(form->session().language(), 1);
    EXPECT_EQ(form->RestartBtn()->toolTip(), "Ich probier's nochmal.");
    EXPECT_EQ(form->statusPanel()->MovesLabel()->text(), QString::fromUtf8("Züge:"));
    EXPECT_EQ(form->BackShape()->toolTip(), QString::fromUtf8("Das Steinbrett wär mir lieber."));
    // Par 2 with no move made.
    EXPECT_TRUE(displayShows(*form, UnitsPlace, digitColumn(2), 11));
    EXPECT_FALSE(QFile::exists(settingsPath())) << "nothing is written before the close";
}

TEST_F(GameFixture, LegalJumpLandsRemovesThePegAndCountsTheMove) {
    auto form = startEnglishGame();
    drag(*form, cellCentre(0), {cellCentre(0) + QPoint(6, 2), cellCentre(1), cellCentre(2) + QPoint(3, 3)},
         cellCentre(2));

    const PlayState& play = form->session().play();
    EXPECT_EQ(play.JumpCount, 1);
    EXPECT_EQ(play.Cells[0], EmptyHole);
    EXPECT_EQ(play.Cells[1], EmptyHole);
    EXPECT_EQ(play.Cells[2], FirstColourPeg);
    EXPECT_EQ(form->session().mode(), ModePlaying);
    EXPECT_EQ(form->sounds().lastStarted(), 7) << "the removal effect plays last";
    EXPECT_FALSE(form->StepBtn()->isEnabled());
    EXPECT_EQ(form->dragSprite(), nullptr);
    // The whole board area, the jumped cell's 28 x 28 effect square included, is exactly what a full
    // repaint draws: the jumped cell an empty hole, the landing cell a peg, no trace of the sprite.
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    EXPECT_TRUE(displayShows(*form, UnitsPlace, digitColumn(1), 11));
}

// The pause between a jump's landing and the removal sleeps in an event loop: timers and painting go
// on, and it never ends early (a coarse timer may fire up to 5 % before its time).
TEST_F(GameFixture, APauseLastsItsFullTimeWhileTheEventLoopRuns) {
    auto form = startEnglishGame();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(5);
    for (const int ms : {100, 1, 0}) {
        QElapsedTimer clock;
        clock.start();
        form->pause(ms);
        EXPECT_GE(clock.nsecsElapsed(), qint64(ms) * 1000000) << ms;
    }
    EXPECT_GT(ticks, 0) << "timers run while the game pauses";
}

TEST_F(GameFixture, RefusedDropPutsThePegBackAndTheSpriteLeavesNoTrace) {
    auto form = startEnglishGame();
    const QImage before = form->box()->image();
    const QPoint from = cellCentre(0);
    QTest::mousePress(form->box(), Qt::RightButton, {}, from);
    ASSERT_NE(form->dragSprite(), nullptr);
    EXPECT_EQ(form->sounds().lastStarted(), 2);
    EXPECT_EQ(QPoint(form->dragSprite()->x(), form->dragSprite()->y()), from - QPoint(12, 12));

    // Near moves, then a far one; everything outside the sprite is the board with the peg lifted.
    for (const QPoint& step : {QPoint(5, 1), QPoint(30, 4), QPoint(90, 70), QPoint(91, 72)}) {
        const QPoint at = from + step;
        QTest::mouseMove(form->box(), at);
        const QRect sprite(at - QPoint(12, 12), QSize(24, 24));
        EXPECT_EQ(QPoint(form->dragSprite()->x(), form->dragSprite()->y()), sprite.topLeft());
        const QImage lifted = freshBoard(*form);
        const QImage& shown = form->box()->image();
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (!sprite.contains(x, y) && shown.pixel(x, y) != lifted.pixel(x, y))
                    ++differing;
        EXPECT_EQ(differing, 0) << "after moving to " << at.x() << "," << at.y();
    }
    // Cell 4 lies two holes beyond cell 2: no jump.
    QTest::mouseRelease(form->box(), Qt::RightButton, {}, cellCentre(4));

    EXPECT_EQ(form->sounds().lastStarted(), 3);
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_EQ(form->session().play().Cells[0], FirstColourPeg);
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_EQ(form->box()->image(), before);
    EXPECT_TRUE(displayShows(*form, UnitsPlace, digitColumn(2), 11));
}

TEST_F(GameFixture, RestartInAGameAsksAndAStuckBoardEndsWithTheNotice) {
    auto form = startEnglishGame();
    drag(*form, cellCentre(0), {}, cellCentre(2));
    ModalScript script;
    script.then(ModalScript::no()).then(ModalScript::yes());
    clickButton(form->RestartBtn());
    EXPECT_EQ(form->session().play().JumpCount, 1) << "no keeps the game";
    clickButton(form->RestartBtn());
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 3", "TYesNoDialog 3"}));

    // Board 2 is stuck after one jump.
    form->levelscroll()->setValue(2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Second");
    script.then(ModalScript::ok());
    drag(*form, cellCentre(0), {}, cellCentre(2));
    EXPECT_EQ(form->session().mode(), ModeStuck);
    EXPECT_EQ(form->sounds().lastStarted(), 4);
    clickButton(form->BackmoveBtn());
    EXPECT_EQ(form->session().play().JumpCount, 1) << "no undo after the end";
    clickButton(form->RestartBtn());
    EXPECT_EQ(form->session().play().JumpCount, 0);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.seen().mid(2), (QStringList{"TOKDialog 1"}));
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}

TEST_F(GameFixture, CloseAsksWritesInOrderAndTheNextStartRemembers) {
    const QByteArray storedCollection = fileBytes(programPath() + "vorn.dat");
    {
        ModalScript script;
        script.then(ModalScript::english());
        auto form = startGame();
        // Solve board 1 in two moves and store the solution.
        script.then(ModalScript::yes());
        drag(*form, cellCentre(0), {}, cellCentre(2));
        drag(*form, cellCentre(3), {}, cellCentre(1));
        EXPECT_EQ(form->session().mode(), ModeSolved);
        EXPECT_EQ(form->sounds().lastStarted(), 5);
        QTest::mousePress(form->PegBtn(), Qt::LeftButton);
        QTest::mouseRelease(form->PegBtn(), Qt::LeftButton);
        clickButton(form->SoundBtn());
        EXPECT_FALSE(form->SoundBtn()->Down());
        EXPECT_EQ(form->SoundBtn()->toolTip(), "I like the sound.");
        form->levelscroll()->setValue(2);

        script.then(ModalScript::no());
        clickButton(form->ExitBtn());
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(QFile::exists(settingsPath()));

        script.then(ModalScript::yes()).then(ModalScript::yes());
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(script.seen(), (QStringList{"TTongueDlg", "TYesNoDialog 2", "TYesNoDialog 4",
                                              "TYesNoDialog 4", "TYesNoDialog 6"}));
    }
    EXPECT_NE(fileBytes(programPath() + "vorn.dat"), storedCollection);
    LevelCollection saved;
    ASSERT_TRUE(saved.load(QFile::encodeName(programPath() + "vorn.dat").toStdString()).ok);
    EXPECT_EQ(saved.slot(1).Solved, 1);
    EXPECT_EQ(saved.slot(1).SolutionMoves, 2);

    const QString text = settingsText();
    int last = -1;
    for (const char* line :
         {"sound=0", "left=100", "top=50", "tongue=0", "level=2", "back=0", "fig1=3", "fig2=2", "edinf=1"}) {
        const int at = text.indexOf(QString::fromLatin1(line));
        EXPECT_GT(at, last) << line << " in\n" << text.toStdString();
        last = at;
    }

    ModalScript none;
    auto again = startGame();
    EXPECT_TRUE(none.seen().isEmpty()) << none.seen().join(", ").toStdString();
    EXPECT_EQ(again->session().collection().currentNumber(), 2);
    EXPECT_EQ(again->levelscroll()->value(), 2);
    EXPECT_FALSE(again->SoundBtn()->Down());
    EXPECT_EQ(again->session().firstDesign(), 3);
    EXPECT_EQ(again->windowTitle(), "Tolvar Pegs 2 - Second");
}

TEST_F(GameFixture, MissingSpriteAtlasEndsAfterTheMemoryMessage) {
    removeProgramFile("b5.bmp");
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    auto form = std::make_unique<TMainForm>(programPath());
    form->createOtherWindows();
    QSignalSpy ending(form.get(), &TMainForm::programEnding);
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(script.seen(), QStringList{"QMessageBox Not enough memory! Program aborted."});
    EXPECT_EQ(ending.count(), 1);
    EXPECT_TRUE(form->programAborted());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(GameFixture, MissingBackgroundGivesTheGermanMemoryMessage) {
    removeProgramFile("b1.bmp");
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=1\n"));
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    auto form = startGame();
    EXPECT_EQ(script.seen(), QStringList{"QMessageBox Zuwenig Speicher! Programm wird beendet."});
    EXPECT_TRUE(form->programAborted());
}

TEST_F(GameFixture, PegButtonChangesDesignsByMouseButton) {
    auto form = startEnglishGame();
    const auto press = [&](Qt::MouseButton button) {
        QTest::mousePress(form->PegBtn(), button);
        QTest::mouseRelease(form->PegBtn(), button);
    };
    press(Qt::LeftButton);
    EXPECT_EQ(form->session().firstDesign(), 3) << "2 is the second colour's";
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    press(Qt::RightButton);
    EXPECT_EQ(form->session().secondDesign(), 4) << "3 is the first colour's";
    const QImage before = form->box()->image();
    press(Qt::MiddleButton);
    EXPECT_EQ(form->session().firstDesign(), 3);
    EXPECT_EQ(form->session().secondDesign(), 4);
    EXPECT_EQ(form->box()->image(), before);
    EXPECT_EQ(before, freshBoard(*form));
}

TEST_F(GameFixture, BackShapeSwitchesTheBackgroundWithoutReachingTheBoard) {
    auto form = startEnglishGame();
    QSignalSpy boardPresses(form->box(), &BoardArea::mouseDown);
    const QPoint corner(400, 320); // in the window's client area
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, corner);
    EXPECT_EQ(form->session().background(), 1);
    EXPECT_EQ(form->backgroundPicture(), picture(programPath() + "b2.bmp"));
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    EXPECT_EQ(form->BackShape()->toolTip(), "I take the wooden board.");

    QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, corner);
    EXPECT_EQ(form->session().background(), 0);
    EXPECT_EQ(form->backgroundPicture(), picture(programPath() + "b1.bmp"));
    EXPECT_EQ(form->BackShape()->toolTip(), "I prefer the stone board.");
    EXPECT_EQ(boardPresses.count(), 0);

    // A picture that cannot be loaded is reported; the old background and its setting stay.
    removeProgramFile("b2.bmp");
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, corner);
    ASSERT_EQ(script.seen().size(), 1);
    EXPECT_TRUE(script.seen().front().endsWith("b2.bmp.")) << script.seen().front().toStdString();
    EXPECT_EQ(form->session().background(), 0);
    EXPECT_EQ(form->backgroundPicture(), picture(programPath() + "b1.bmp"));
}

TEST_F(GameFixture, EditButtonOpensTheIntroAndTheEditorBesideTheWindow) {
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::inspect(
        [](QWidget* window) {
            auto* intro = qobject_cast<TEditInfoDlg*>(window);
            ASSERT_NE(intro, nullptr);
            intro->NomoreCheck()->setChecked(true);
        },
        [](QWidget* window) { qobject_cast<TEditInfoDlg*>(window)->accept(); }));
    clickButton(form->EditBtn());
    EXPECT_EQ(script.seen(), QStringList{"TEditInfoDlg"});
    EXPECT_FALSE(form->editorIntroWanted());
    EXPECT_EQ(form->session().mode(), ModeEditing);
    EXPECT_TRUE(form->editDlg()->isVisible());
    EXPECT_EQ(form->editDlg()->pos(), DefaultEditorPosition(form->frameGeometry()));
    EXPECT_FALSE(form->RestartBtn()->isEnabled());
    EXPECT_FALSE(form->BackmoveBtn()->isEnabled());
    EXPECT_FALSE(form->StepBtn()->isEnabled());

    clickButton(form->EditBtn());
    EXPECT_EQ(script.seen().size(), 1) << "no pending edits: no question";
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_FALSE(form->editDlg()->isVisible());
    EXPECT_TRUE(form->RestartBtn()->isEnabled());
}

TEST_F(GameFixture, EditorWindowDrivesTheSessionAndKeepsItsPlace) {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\neleft=300\netop=40\n"));
    ModalScript script;
    auto form = startGame();
    TEditDlg* editor = form->editDlg();
    clickButton(form->EditBtn());
    EXPECT_TRUE(script.seen().isEmpty()) << "edinf=0: no introduction";
    EXPECT_EQ(editor->pos(), QPoint(300, 40));

    // A left click on an empty hole of the big board makes it a peg of the first colour.
    QTest::mouseClick(form->box(), Qt::LeftButton, {}, cellCentre(2));
    EXPECT_EQ(form->session().play().Cells[2], FirstColourPeg);
    EXPECT_EQ(form->sounds().lastStarted(), 13);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    editor->shapeItem(1)->click();
    EXPECT_EQ(form->session().currentRecord().Shape, ShapeHexagon);
    EXPECT_EQ(form->box()->image(), freshBoard(*form)) << "the board shown in its new shape";

    // Insert settles the pending edits the short way first.
    script.then(ModalScript::no());
    clickButton(editor->InsertBtn());
    EXPECT_EQ(script.seen(), QStringList{"TYesNoDialog 5"});
    EXPECT_EQ(form->session().collection().count(), 3);
    EXPECT_EQ(form->session().collection().currentNumber(), 2);
    EXPECT_EQ(form->levelscroll()->maximum(), 3);
    EXPECT_EQ(form->levelscroll()->value(), 2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2");

    clickButton(editor->TongBtn());
    EXPECT_EQ(form->session().language(), 1);
    EXPECT_EQ(form->EditBtn()->toolTip(), QString::fromUtf8("Spiel verändern"));

    // Losing activation stores the editor's place.
    editor->move(320, 60);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(editor, &deactivate);
    EXPECT_TRUE(settingsText().contains("eleft=320")) << settingsText().toStdString();
    EXPECT_TRUE(settingsText().contains("etop=60"));

    clickButton(form->EditBtn());
    EXPECT_EQ(form->session().mode(), ModeReady);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(script.finished());
}

TEST_F(GameFixture, AboutBoxLanguageAndHelpButtons) {
    auto form = startEnglishGame();
    ModalScript script;
    script.then(ModalScript::inspect(
        [](QWidget* window) {
            auto* about = qobject_cast<TInfoDialog*>(window);
            ASSERT_NE(about, nullptr);
            // The language window opens over the about box; the script answers it in turn.
            QTimer::singleShot(0, about->TongBtn(), &QPushButton::click);
        },
        [](QWidget*) {}));
    script.then(ModalScript::german());
    script.then([](QWidget* window) {
        auto* about = qobject_cast<TInfoDialog*>(window);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->TongBtn()->text(), "Sprache");
        about->OKBtn()->click();
    });
    clickButton(form->InfoBtn());
    EXPECT_TRUE(script.finished()) << script.seen().join(", ").toStdString();
    EXPECT_EQ(form->session().language(), 1);
    EXPECT_EQ(form->RestartBtn()->toolTip(), "Ich probier's nochmal.");

    clickButton(form->TolvarBtn());
    EXPECT_TRUE(form->helpWindow()->isVisible());
    EXPECT_EQ(form->helpWindow()->currentFile(), programPath() + "VSER.HLP");
    EXPECT_EQ(form->helpWindow()->currentTopic(), "Tolvar_Games_d");
    clickButton(form->HelpBtn());
    EXPECT_EQ(form->helpWindow()->currentFile(), programPath() + "VORN.HLP");
    EXPECT_EQ(form->helpWindow()->currentTopic(), "Das_Spiel");
}

TEST_F(GameFixture, MissingCollectionIsReportedAndOneBlankBoardIsPlayed) {
    removeProgramFile("vorn.dat");
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nlevel=7\n"));
    ModalScript script;
    script.then(ModalScript::messageBoxOk());
    auto form = startGame();
    ASSERT_EQ(script.seen().size(), 1);
    EXPECT_TRUE(script.seen().front().startsWith("QMessageBox Fileerror 2 with file "));
    EXPECT_TRUE(script.seen().front().endsWith("vorn.dat."));
    EXPECT_FALSE(form->programAborted());
    EXPECT_EQ(form->session().collection().count(), 1);
    EXPECT_EQ(form->levelscroll()->maximum(), 1);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1");
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}
