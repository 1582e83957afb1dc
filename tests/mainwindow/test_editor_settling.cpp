// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's edits settled through the real windows: on leaving the editor and on moving the
// board selector while editing (accepted, dropped, refused on an original board), on closing, and
// board files of the wrong length or with hostile contents imported through the import window.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <random>

#include "GameFixture.h"
#include "storage/LevelCollection.h"
#include "windows/EditorWindow.h"
#include "windows/ImportWindow.h"
#include "view/BoardArea.h"
#include "view/BoardPainter.h"
#include "view/ToolButton.h"

namespace {

void clickWidget(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

enum class Leaving { ByEditButton, BySelector };
enum class Outcome { Accepted, Declined, RefusedAsOriginal };

struct SettlingCase {
    Leaving way;
    Outcome outcome;
};

std::string describe(const SettlingCase& settling) {
    const std::string way = settling.way == Leaving::ByEditButton ? "EditButton" : "Selector";
    switch (settling.outcome) {
    case Outcome::Accepted:
        return way + "Accepted";
    case Outcome::Declined:
        return way + "Declined";
    case Outcome::RefusedAsOriginal:
        return way + "OriginalBoard";
    }
    return way;
}

std::string caseName(const testing::TestParamInfo<SettlingCase>& info) {
    return describe(info.param);
}

// For the test's name in the test listing.
void PrintTo(const SettlingCase& settling, std::ostream* out) {
    *out << describe(settling);
}

} // namespace

class Settling : public GameFixture, public testing::WithParamInterface<SettlingCase> {};

// Board 1 (with a stored solution) gets a peg on its start cell 2 and a peg on its target cell 4, then
// the editor leaves it.
TEST_P(Settling, EditsOfTheBoardLeftAreAcceptedOrDroppedAsAnswered) {
    const SettlingCase params = GetParam();
    LevelRecord board = solvedBoardOne();
    board.Original = params.outcome == Outcome::RefusedAsOriginal ? 1 : 0;
    writeCollection({board, boardTwo()});
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    const Session& session = form->session();
    clickWidget(form->EditBtn());
    ASSERT_EQ(session.mode(), ModeEditing);
    EXPECT_EQ(form->editDlg()->isVisible(), true);
    clickBoard(*form, cellCentre(2));
    clickBoard(*form, targetCellCentre(board, 4));
    ASSERT_EQ(session.play().Cells[2], FirstColourPeg);
    ASSERT_EQ(session.currentRecord().TargetCells[4], FirstColourPeg);

    switch (params.outcome) {
    case Outcome::Accepted:
        script.then(ModalScript::yes());
        break;
    case Outcome::Declined:
        script.then(ModalScript::no());
        break;
    case Outcome::RefusedAsOriginal:
        script.then(ModalScript::ok());
        break;
    }
    if (params.way == Leaving::ByEditButton)
        clickWidget(form->EditBtn());
    else
        form->levelscroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.seen(),
              QStringList{params.outcome == Outcome::RefusedAsOriginal ? "TOKDialog 3" : "TYesNoDialog 5"});

    // Leaving the editor settles the current record; a selection has written it back into its slot.
    const LevelRecord& settled =
        params.way == Leaving::ByEditButton ? session.currentRecord() : session.collection().slot(1);
    const bool accepted = params.outcome == Outcome::Accepted;
    EXPECT_EQ(settled.StartCells[2], accepted ? FirstColourPeg : EmptyHole);
    EXPECT_EQ(settled.TargetCells[4], accepted ? FirstColourPeg : EmptyHole);
    EXPECT_EQ(settled.SolutionMoves, accepted ? 0 : 2) << "a cell edit accepted drops the solution";
    EXPECT_EQ(session.collection().changed(), accepted);
    EXPECT_FALSE(session.pendingCellEdit());
    EXPECT_FALSE(session.pendingPropertyEdit());

    if (params.way == Leaving::ByEditButton) {
        EXPECT_EQ(session.mode(), ModeReady);
        EXPECT_FALSE(form->editDlg()->isVisible());
        EXPECT_EQ(session.play().Cells, settled.StartCells);
        EXPECT_EQ(form->StepBtn()->isEnabled(), !accepted);
        EXPECT_TRUE(form->RestartBtn()->isEnabled());
    } else {
        // The editor stays open on board 2, its controls showing that board.
        EXPECT_EQ(session.mode(), ModeEditing);
        EXPECT_TRUE(form->editDlg()->isVisible());
        EXPECT_EQ(session.collection().currentNumber(), 2);
        EXPECT_EQ(form->levelscroll()->value(), 2);
        EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Second");
        EXPECT_EQ(form->editDlg()->NameEdit()->text(), "Second");
        EXPECT_TRUE(form->editDlg()->NameEdit()->isEnabled());
        EXPECT_FALSE(form->editDlg()->UpBtn()->isEnabled());
        EXPECT_TRUE(form->editDlg()->DownBtn()->isEnabled());
        EXPECT_EQ(session.play().Cells, boardTwo().StartCells);
    }
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}

INSTANTIATE_TEST_SUITE_P(LeavingTheBoard, Settling,
                         testing::Values(SettlingCase{Leaving::ByEditButton, Outcome::Accepted},
                                         SettlingCase{Leaving::ByEditButton, Outcome::Declined},
                                         SettlingCase{Leaving::ByEditButton, Outcome::RefusedAsOriginal},
                                         SettlingCase{Leaving::BySelector, Outcome::Accepted},
                                         SettlingCase{Leaving::BySelector, Outcome::Declined},
                                         SettlingCase{Leaving::BySelector, Outcome::RefusedAsOriginal}),
                         caseName);

TEST_F(GameFixture, AnAcceptedNameKeepsTheSolutionAndAnOriginalBoardOffersNoNameField) {
    LevelRecord original = boardTwo();
    original.Original = 1;
    writeCollection({solvedBoardOne(), original});
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    TEditDlg* editor = form->editDlg();
    clickWidget(form->EditBtn());
    ASSERT_TRUE(editor->NameEdit()->isEnabled());
    editor->NameEdit()->selectAll();
    QTest::keyClicks(editor->NameEdit(), "Renamed");
    EXPECT_EQ(form->session().currentRecord().Names[0].text(), "Renamed");

    script.then(ModalScript::yes());
    form->levelscroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(script.seen(), QStringList{"TYesNoDialog 5"});
    EXPECT_EQ(form->session().collection().slot(1).Names[0].text(), "Renamed");
    EXPECT_EQ(form->session().collection().slot(1).SolutionMoves, 2);

    // Board 2 is an original: no name field, no shape or size, no export or delete; the window says so.
    EXPECT_EQ(editor->windowTitle(), "Original board - no editing");
    EXPECT_FALSE(editor->NameEdit()->isEnabled());
    EXPECT_FALSE(editor->shapeItem(1)->isEnabled());
    EXPECT_FALSE(editor->sizeItem(4)->isEnabled());
    EXPECT_FALSE(editor->diagbox()->isEnabled());
    EXPECT_FALSE(editor->SaveBtn()->isEnabled());
    EXPECT_FALSE(editor->DeleteBtn()->isEnabled());
    EXPECT_TRUE(editor->LoadBtn()->isEnabled());
    EXPECT_TRUE(editor->InsertBtn()->isEnabled());
    clickWidget(editor->shapeItem(1));
    EXPECT_EQ(form->session().currentRecord().Shape, ShapeSquare);
    EXPECT_TRUE(script.finished());
}

TEST_F(GameFixture, ClosingWhileEditingSettlesTheShortWayThenSaves) {
    writeCollection({solvedBoardOne(), boardTwo()});
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    {
        auto form = startGame();
        clickWidget(form->EditBtn());
        clickBoard(*form, cellCentre(2));
        script.then(ModalScript::yes()).then(ModalScript::yes()).then(ModalScript::yes());
        EXPECT_TRUE(form->close());
        EXPECT_EQ(script.seen(), (QStringList{"TYesNoDialog 4", "TYesNoDialog 5", "TYesNoDialog 6"}));
    }
    LevelCollection saved;
    ASSERT_TRUE(saved.load(QFile::encodeName(programPath() + "vorn.dat").toStdString()).ok);
    EXPECT_EQ(saved.slot(1).StartCells[2], FirstColourPeg);
    EXPECT_EQ(saved.slot(1).SolutionMoves, 2) << "the short way keeps the solution";
}

// --- Board files through the import window

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray recordBytes(const LevelRecord& record) {
    const auto bytes = record.toBytes();
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())};
}

// The import window's answer: the file double-clicked in the program directory's list.
ModalScript::Step importFile(const QString& name, bool& opened) {
    return [name, &opened](QWidget* window) {
        auto* load = qobject_cast<Tloaddlg*>(window);
        ASSERT_NE(load, nullptr);
        opened = file_list::doubleClickEntry(load->FileListBox(), name);
        if (!opened)
            load->reject();
    };
}

} // namespace

TEST_F(GameFixture, AShortBoardFileIsRefusedAndALongOneGivesItsFirstRecord) {
    LevelRecord imported = boardTwo();
    imported.Names[0].setText("From a file");
    imported.Solved = 1;
    const QByteArray record = recordBytes(imported);
    writeFile(programPath() + "short.vrn", record.left(700));
    writeFile(programPath() + "long.vrn", record + QByteArray(1000 - record.size(), '\x5A'));
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    const Session& session = form->session();
    clickWidget(form->EditBtn());
    // A pending cell edit stays pending through a refused import.
    clickBoard(*form, cellCentre(2));

    bool opened = false;
    script.then(importFile("short.vrn", opened)).then(ModalScript::ok());
    clickWidget(form->editDlg()->LoadBtn());
    ASSERT_TRUE(opened);
    EXPECT_EQ(script.seen(), (QStringList{"Tloaddlg", "TOKDialog 5"}));
    EXPECT_EQ(session.collection().count(), 2);
    EXPECT_EQ(session.collection().currentNumber(), 1);
    EXPECT_TRUE(session.pendingCellEdit());
    EXPECT_EQ(session.play().Cells[2], FirstColourPeg);

    // The long file: the pending edit is settled the short way first, then the board follows board 1.
    opened = false;
    script.then(importFile("long.vrn", opened)).then(ModalScript::no());
    clickWidget(form->editDlg()->LoadBtn());
    ASSERT_TRUE(opened);
    EXPECT_EQ(script.seen().mid(2), (QStringList{"Tloaddlg", "TYesNoDialog 5"}));
    ASSERT_EQ(session.collection().count(), 3);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    imported.Solved = 0;
    EXPECT_EQ(session.currentRecord(), imported);
    EXPECT_EQ(session.collection().slot(2), imported);
    EXPECT_EQ(session.collection().slot(1).StartCells[2], EmptyHole) << "declined: board 1 as it was";
    EXPECT_EQ(session.mode(), ModeEditing);
    EXPECT_EQ(form->levelscroll()->maximum(), 3);
    EXPECT_EQ(form->levelscroll()->value(), 2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - From a file");
    EXPECT_EQ(form->editDlg()->NameEdit()->text(), "From a file");
    EXPECT_TRUE(session.collection().changed());
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}

// Every byte of the board file random: imported, edited with every mouse button and the editor's
// controls, played by the mouse all over the board area, replayed by Step to its end, moved and
// deleted, and the board area always shows what a full repaint draws.
class HostileBoardFile : public GameFixture, public testing::WithParamInterface<unsigned> {};

TEST_P(HostileBoardFile, IsImportedEditedAndPlayedThroughTheWindows) {
    std::mt19937 random(GetParam());
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray hostile(static_cast<int>(RecordBytes), 0);
    for (char& value : hostile)
        value = static_cast<char>(byte(random));
    writeFile(programPath() + "hostile.vrn", hostile);
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    const Session& session = form->session();
    TEditDlg* editor = form->editDlg();
    clickWidget(form->EditBtn());
    bool opened = false;
    script.then(importFile("hostile.vrn", opened));
    clickWidget(editor->LoadBtn());
    ASSERT_TRUE(opened);
    ASSERT_EQ(session.collection().count(), 3);
    LevelRecord expected = LevelRecord::fromBytes(reinterpret_cast<const std::uint8_t*>(hostile.constData()));
    expected.Solved = 0;
    EXPECT_EQ(session.currentRecord(), expected);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // From here on every question is answered yes and every notice read.
    script.otherwise(ModalScript::agree());
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    int press = 0;
    for (int y = 1; y < 333; y += 11)
        for (int x = 2; x < 500; x += 13)
            clickBoard(*form, {x, y}, buttons[press++ % 3]);
    clickWidget(editor->sizeItem(4));
    clickWidget(editor->shapeItem(1));
    clickWidget(editor->diagbox());
    editor->NameEdit()->selectAll();
    QTest::keyClicks(editor->NameEdit(), QString(60, QLatin1Char('x')));
    clickWidget(editor->TongBtn());
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    clickWidget(form->EditBtn());
    ASSERT_EQ(session.mode(), ModeReady);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // Play: presses, moves and releases all over the board area, then every peg tried toward every
    // cell two steps away, where those cells are drawn.
    for (int y = 3; y < 333; y += 29) {
        for (int x = 5; x < 500; x += 31) {
            QTest::mousePress(form->box(), buttons[press % 2], {}, {x, y});
            QTest::mouseMove(form->box(), {(x * 7) % 500, (y * 5) % 333});
            QTest::mouseRelease(form->box(), buttons[press++ % 2], {}, {(x * 3) % 500, (y * 11) % 333});
        }
    }
    const auto drawnAt = [&](int cell) {
        return PlaceOf(session.currentRecord(), cell).bigField().center();
    };
    for (int from = 0; from < CellCount; ++from) {
        for (const int step : {2, -2, 18, -18, 20, -20, 16, -16}) {
            const int to = from + step;
            if (to < 0 || to >= CellCount || !HoldsPeg(session.play().Cells[from]))
                continue;
            if (session.mode() != ModeReady && session.mode() != ModePlaying)
                break;
            drag(*form, drawnAt(from), {drawnAt(to)}, drawnAt(to));
        }
    }
    EXPECT_EQ(form->dragSprite(), nullptr);
    EXPECT_LE(session.play().JumpCount, HistoryJumps);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // Step through the stored solution, however little of it fits.
    clickWidget(form->RestartBtn());
    for (int step = 0; step <= HistoryJumps && form->StepBtn()->isEnabled(); ++step)
        clickWidget(form->StepBtn());
    EXPECT_FALSE(form->StepBtn()->isEnabled());
    EXPECT_LE(session.play().JumpCount, HistoryJumps);
    clickWidget(form->BackmoveBtn());
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    // The list commands on it, ending with its deletion.
    clickWidget(form->EditBtn());
    clickWidget(editor->DownBtn());
    clickWidget(editor->UpBtn());
    clickWidget(editor->DeleteBtn());
    clickWidget(form->EditBtn());
    EXPECT_GE(session.collection().count(), 2);
    EXPECT_LE(session.collection().currentNumber(), session.collection().count());
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}

INSTANTIATE_TEST_SUITE_P(Seeds, HostileBoardFile, testing::Values(3u, 17u, 2024u));

// A damaged size above 9 is drawn as a 9 x 9 board; every cell answers the mouse where it is drawn,
// on the big board in play and in the editor, and on the small board.
TEST_F(GameFixture, ABoardOfDamagedSizeAnswersTheMouseWhereItIsDrawn) {
    LevelRecord damaged = boardOne();
    damaged.Size = 40;
    for (int cell = 0; cell < CellCount; ++cell)
        damaged.StartCells[cell] = damaged.TargetCells[cell] = EmptyHole;
    damaged.StartCells[78] = damaged.StartCells[79] = FirstColourPeg;
    writeCollection({damaged});
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    const Session& session = form->session();
    const auto drawnAt = [&](int cell) {
        return PlaceOf(session.currentRecord(), cell).bigField().center();
    };
    script.then(ModalScript::no());
    drag(*form, drawnAt(78), {}, drawnAt(80));
    EXPECT_EQ(session.play().Cells[80], FirstColourPeg);
    EXPECT_EQ(session.play().Cells[79], EmptyHole);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));

    clickWidget(form->EditBtn());
    ASSERT_EQ(session.mode(), ModeEditing);
    for (const int cell : {0, 40, 72}) {
        clickBoard(*form, drawnAt(cell));
        EXPECT_EQ(session.play().Cells[cell], FirstColourPeg) << cell;
        clickBoard(*form, PlaceOf(session.currentRecord(), cell).smallField().center());
        EXPECT_EQ(session.currentRecord().TargetCells[cell], FirstColourPeg) << cell;
    }
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
}

TEST_F(GameFixture, MovingABoardUpAndDownFollowsItAndSettlesItsEditsOnTheWay) {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nedinf=0\n"));
    ModalScript script;
    auto form = startGame();
    const Session& session = form->session();
    TEditDlg* editor = form->editDlg();
    clickWidget(form->EditBtn());
    EXPECT_FALSE(editor->DownBtn()->isEnabled());
    ASSERT_TRUE(editor->UpBtn()->isEnabled());

    // Board 1 with an edited cell moves to place 2; its edits are settled on arrival.
    clickBoard(*form, cellCentre(2));
    script.then(ModalScript::yes());
    clickWidget(editor->UpBtn());
    EXPECT_EQ(script.seen(), QStringList{"TYesNoDialog 5"});
    EXPECT_EQ(session.collection().currentNumber(), 2);
    EXPECT_EQ(form->levelscroll()->value(), 2);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2");
    EXPECT_EQ(session.collection().slot(1).Names[0].text(), "Second");
    EXPECT_EQ(session.collection().slot(2).StartCells[2], FirstColourPeg);
    EXPECT_TRUE(editor->DownBtn()->isEnabled());
    EXPECT_FALSE(editor->UpBtn()->isEnabled());
    EXPECT_EQ(session.mode(), ModeEditing);

    clickWidget(editor->DownBtn());
    EXPECT_EQ(session.collection().currentNumber(), 1);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1");
    EXPECT_EQ(session.collection().slot(2).Names[0].text(), "Second");
    EXPECT_EQ(session.play().Cells[2], FirstColourPeg);
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    EXPECT_TRUE(script.finished());
}

// A collection file of random bytes: every board selected, its pegs dragged toward every cell two
// steps away, its stored solution stepped through, all on the screen without harm.
TEST_F(GameFixture, ACollectionOfHostileRecordsIsPlayedBoardByBoard) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    constexpr int Boards = 4;
    QByteArray hostile(static_cast<int>(RecordBytes) * Boards, 0);
    for (char& value : hostile)
        value = static_cast<char>(byte(random));
    writeFile(programPath() + "vorn.dat", hostile);
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nlevel=3\n"));
    ModalScript script;
    script.otherwise(ModalScript::agree());
    auto form = startGame();
    const Session& session = form->session();
    ASSERT_EQ(session.collection().count(), Boards);
    EXPECT_EQ(session.collection().currentNumber(), 3);
    const auto drawnAt = [&](int cell) {
        return PlaceOf(session.currentRecord(), cell).bigField().center();
    };
    for (int board = 1; board <= Boards; ++board) {
        form->levelscroll()->setValue(board);
        ASSERT_EQ(session.collection().currentNumber(), board);
        EXPECT_EQ(form->box()->image(), freshBoard(*form)) << board;
        for (int from = 0; from < CellCount; ++from) {
            for (const int step : {2, -2, 18, -18, 20, -20, 16, -16}) {
                const int to = from + step;
                if (to >= 0 && to < CellCount && HoldsPeg(session.play().Cells[from]) &&
                    (session.mode() == ModeReady || session.mode() == ModePlaying))
                    drag(*form, drawnAt(from), {drawnAt(to)}, drawnAt(to));
            }
        }
        EXPECT_LE(session.play().JumpCount, HistoryJumps);
        EXPECT_EQ(form->box()->image(), freshBoard(*form)) << board;
        clickWidget(form->RestartBtn());
        for (int step = 0; step <= HistoryJumps && form->StepBtn()->isEnabled(); ++step)
            clickWidget(form->StepBtn());
        EXPECT_FALSE(form->StepBtn()->isEnabled()) << board;
        EXPECT_EQ(form->box()->image(), freshBoard(*form)) << board;
        clickWidget(form->RestartBtn());
    }
}
