// SPDX-License-Identifier: GPL-3.0-or-later
// A player's whole way with a board of their own, through the real windows only: design it in the
// editor, play and solve it, store the solution, export it, delete it, import it again, save, and
// find it after a restart with its solution replayed by Step.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "GameFixture.h"
#include "windows/EditorIntroWindow.h"
#include "windows/EditorWindow.h"
#include "windows/FileLists.h"
#include "windows/ImportWindow.h"
#include "windows/ExportWindow.h"
#include "view/BoardArea.h"
#include "view/ToolButton.h"

namespace {

void clickWidget(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

// Typed key by key, characters beyond ASCII included.
void type(QWidget* widget, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray recordBytes(const LevelRecord& record) {
    const auto bytes = record.toBytes();
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())};
}

// The program started from another directory: the export window opens there the first time.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& path) : m_before(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingDirectory() { QDir::setCurrent(m_before); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    QString m_before;
};

// The editor introduction read and closed with its check box left alone.
ModalScript::Step readIntro(bool& boxWasClear) {
    return [&boxWasClear](QWidget* window) {
        auto* intro = qobject_cast<TEditInfoDlg*>(window);
        ASSERT_NE(intro, nullptr);
        boxWasClear = !intro->NomoreCheck()->isChecked();
        clickWidget(intro->OKBtn());
    };
}

} // namespace

TEST_F(GameFixture, PlayerDesignsPlaysExportsDeletesImportsAndFindsTheBoardAfterARestart) {
    const QString boards = programPath() + "boards";
    ASSERT_TRUE(QDir().mkpath(boards));
    const WorkingDirectory startedIn(boards);
    QByteArray exported;
    {
        auto form = startEnglishGame();
        TEditDlg* editor = form->editDlg();
        const Session& session = form->session();
        ModalScript script;

        // Into the editor, past its introduction, and a new blank board after board 1.
        bool introBoxClear = false;
        script.then(readIntro(introBoxClear));
        clickWidget(form->EditBtn());
        EXPECT_TRUE(introBoxClear);
        ASSERT_EQ(session.mode(), ModeEditing);
        clickWidget(editor->InsertBtn());
        ASSERT_EQ(session.collection().count(), 3);
        ASSERT_EQ(session.collection().currentNumber(), 2);
        EXPECT_EQ(form->levelscroll()->value(), 2);
        EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2");
        EXPECT_TRUE(editor->DownBtn()->isEnabled());
        EXPECT_TRUE(editor->UpBtn()->isEnabled());

        // Shape, size, diagonal rule and name through the editor window's controls.
        clickWidget(editor->sizeItem(0));
        EXPECT_EQ(session.currentRecord().Size, 5);
        clickWidget(editor->shapeItem(1));
        EXPECT_EQ(session.currentRecord().Shape, ShapeHexagon);
        EXPECT_FALSE(editor->diagbox()->isEnabled());
        clickWidget(editor->shapeItem(0));
        EXPECT_EQ(session.currentRecord().Shape, ShapeSquare);
        ASSERT_TRUE(editor->diagbox()->isEnabled());
        clickWidget(editor->diagbox());
        EXPECT_EQ(session.currentRecord().Diagonal, 1);
        editor->NameEdit()->setFocus();
        type(editor->NameEdit(), QString::fromUtf8("Zickzack ✓"));
        EXPECT_EQ(session.currentRecord().Names[0].text(), "Zickzack ?")
            << "a character the code page lacks is stored as a question mark";
        EXPECT_EQ(form->box()->image(), freshBoard(*form)) << "the blank 5 x 5 board with its markers";

        // The cell cycle on the big board: four left clicks on a no-hole cell come back to it, each
        // with the sound of its new code; the target cell follows as far as the linking rule says.
        const LevelRecord& record = session.currentRecord();
        const QPoint cell4 = cellCentre(record, 4);
        const int cycle[][3] = {{EmptyHole, EmptyHole, 12},
                                {FirstColourPeg, EmptyHole, 13},
                                {SecondColourPeg, EmptyHole, 14},
                                {NoHole, NoHole, 11}};
        for (const auto& step : cycle) {
            clickBoard(*form, cell4);
            EXPECT_EQ(session.play().Cells[4], step[0]);
            EXPECT_EQ(record.TargetCells[4], step[1]);
            EXPECT_EQ(form->sounds().lastStarted(), step[2]);
        }

        // The start position: first-colour pegs on 0 and 1, a hole on 2, and a right click on a
        // no-hole cell makes cell 3 a second-colour peg at once. Each peg puts a hole under itself in
        // the target.
        for (const int cell : {0, 0, 1, 1, 2})
            clickBoard(*form, cellCentre(record, cell));
        clickBoard(*form, cellCentre(record, 3), Qt::RightButton);
        EXPECT_EQ(form->sounds().lastStarted(), 14);
        // The target: cell 1 cycled to a second-colour peg on the small board; the start keeps its peg.
        clickBoard(*form, targetCellCentre(record, 1));
        EXPECT_EQ(form->sounds().lastStarted(), 13);
        clickBoard(*form, targetCellCentre(record, 1));
        EXPECT_EQ(form->sounds().lastStarted(), 14);
        const std::array<int, 5> start{FirstColourPeg, FirstColourPeg, EmptyHole, SecondColourPeg, NoHole};
        const std::array<int, 5> target{EmptyHole, SecondColourPeg, EmptyHole, EmptyHole, NoHole};
        for (int cell = 0; cell < 5; ++cell) {
            EXPECT_EQ(session.play().Cells[cell], start[cell]) << cell;
            EXPECT_EQ(record.TargetCells[cell], target[cell]) << cell;
        }
        EXPECT_EQ(form->box()->image(), freshBoard(*form));

        // Leaving the editor accepts the design.
        script.then(ModalScript::yes());
        clickWidget(form->EditBtn());
        EXPECT_EQ(script.seen().mid(1), QStringList{"TYesNoDialog 5"});
        ASSERT_EQ(session.mode(), ModeReady);
        EXPECT_FALSE(editor->isVisible());
        for (int cell = 0; cell < 5; ++cell)
            EXPECT_EQ(session.currentRecord().StartCells[cell], start[cell]) << cell;

        // Played by dragging: 0 over 1 to 2, then the second colour 3 over 2 to 1 is the target.
        script.then(ModalScript::yes());
        drag(*form, cellCentre(record, 0), {cellCentre(record, 1)}, cellCentre(record, 2));
        EXPECT_EQ(session.mode(), ModePlaying);
        drag(*form, cellCentre(record, 3), {cellCentre(record, 2)}, cellCentre(record, 1), Qt::RightButton);
        ASSERT_EQ(session.mode(), ModeSolved);
        EXPECT_EQ(form->sounds().lastStarted(), 5);
        EXPECT_EQ(script.seen().mid(2), QStringList{"TYesNoDialog 2"});
        EXPECT_EQ(session.collection().slot(2).SolutionMoves, 2);
        EXPECT_EQ(session.collection().slot(2).Solved, 1);
        EXPECT_EQ(form->box()->image(), freshBoard(*form));
        clickWidget(form->RestartBtn());
        EXPECT_TRUE(form->StepBtn()->isEnabled()) << "the stored solution can be replayed";

        // Back in the editor (the introduction again, its box clear again): export under a name of the
        // player's, which takes the board extension.
        introBoxClear = false;
        script.then(readIntro(introBoxClear));
        clickWidget(form->EditBtn());
        EXPECT_TRUE(introBoxClear);
        QString exportDirectory;
        QString nameAtFirst;
        script.then([&](QWidget* window) {
            auto* save = qobject_cast<TSaveDlg*>(window);
            ASSERT_NE(save, nullptr);
            exportDirectory = save->directory();
            nameAtFirst = save->FileEdit()->text();
            save->FileEdit()->selectAll();
            QTest::keyClicks(save->FileEdit(), "zigzag.txt");
            clickWidget(save->OKBtn());
        });
        clickWidget(editor->SaveBtn());
        EXPECT_EQ(exportDirectory, QDir(boards).canonicalPath());
        EXPECT_EQ(nameAtFirst, "noname.vrn");
        exported = fileBytes(boards + "/zigzag.vrn");
        EXPECT_EQ(exported, recordBytes(session.currentRecord()));
        EXPECT_FALSE(QFile::exists(boards + "/zigzag.txt"));

        // Deleted after the question; the board after it takes its number.
        script.then(ModalScript::yes());
        clickWidget(editor->DeleteBtn());
        EXPECT_EQ(script.seen().last(), "TYesNoDialog 0");
        EXPECT_EQ(session.collection().count(), 2);
        EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Second");
        EXPECT_EQ(editor->NameEdit()->text(), "Second");

        // The selector back to board 1, then the import window: from the program directory into the
        // boards folder, and a double-click on the file.
        form->levelscroll()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(session.collection().currentNumber(), 1);
        EXPECT_EQ(session.mode(), ModeEditing);
        QString importDirectory;
        bool fileOpened = false;
        script.then([&](QWidget* window) {
            auto* load = qobject_cast<Tloaddlg*>(window);
            ASSERT_NE(load, nullptr);
            importDirectory = load->lists()->directory();
            ASSERT_TRUE(file_list::doubleClickEntry(load->DirectoryListBox(), "boards"));
            fileOpened = file_list::doubleClickEntry(load->FileListBox(), "zigzag.vrn");
            if (!fileOpened)
                load->reject();
        });
        clickWidget(editor->LoadBtn());
        EXPECT_EQ(importDirectory, QDir::cleanPath(m_program.path()));
        ASSERT_TRUE(fileOpened);
        ASSERT_EQ(session.collection().count(), 3);
        ASSERT_EQ(session.collection().currentNumber(), 2);
        LevelRecord expected =
            LevelRecord::fromBytes(reinterpret_cast<const std::uint8_t*>(exported.constData()));
        expected.Solved = 0;
        EXPECT_EQ(session.currentRecord(), expected) << "byte for byte, but not marked solved";
        EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 2 - Zickzack ?");
        EXPECT_EQ(editor->NameEdit()->text(), "Zickzack ?");
        EXPECT_EQ(form->box()->image(), freshBoard(*form));

        // Out of the editor (nothing pending: no question), and closed with the collection saved.
        clickWidget(form->EditBtn());
        EXPECT_EQ(session.mode(), ModeReady);
        script.then(ModalScript::yes()).then(ModalScript::yes());
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(script.seen().mid(script.seen().size() - 2),
                  (QStringList{"TYesNoDialog 4", "TYesNoDialog 6"}));
    }

    // The next start comes back to the board, and Step replays the stored solution to its end.
    ModalScript script;
    auto again = startGame();
    EXPECT_TRUE(script.seen().isEmpty()) << script.seen().join(", ").toStdString();
    const Session& session = again->session();
    ASSERT_EQ(session.collection().count(), 3);
    EXPECT_EQ(session.collection().currentNumber(), 2);
    EXPECT_EQ(again->windowTitle(), "Tolvar Pegs 2 - Zickzack ?");
    LevelRecord expected =
        LevelRecord::fromBytes(reinterpret_cast<const std::uint8_t*>(exported.constData()));
    expected.Solved = 0;
    EXPECT_EQ(session.currentRecord(), expected);
    ASSERT_TRUE(again->StepBtn()->isEnabled());
    clickWidget(again->StepBtn());
    EXPECT_EQ(session.mode(), ModeReplaying);
    EXPECT_EQ(session.play().Cells[2], FirstColourPeg);
    script.then(ModalScript::ok());
    clickWidget(again->StepBtn());
    EXPECT_EQ(script.seen(), QStringList{"TOKDialog 0"});
    EXPECT_EQ(session.mode(), ModeSolved);
    EXPECT_EQ(session.play().Cells[1], SecondColourPeg);
    EXPECT_FALSE(again->StepBtn()->isEnabled());
    EXPECT_EQ(again->box()->image(), freshBoard(*again));
}
