// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window: its controls at their places, its texts in both languages, UpdateControls
// refreshing without a single change signal, the enabled states, and the player's actions
// arriving as signals.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "windows/Codepage.h"
#include "windows/EditorWindow.h"
#include "view/ToolButton.h"

namespace {

LevelRecord editableBoard() {
    LevelRecord r;
    r.Size = 7;
    r.Shape = ShapeSquare;
    r.Diagonal = 1;
    r.Names[0].setText("Cross");
    r.Names[1].setText(std::string("Kreuz \xE4\x80", 8));
    return r;
}

// Every change signal of the window, counted together.
struct ChangeSpies {
    explicit ChangeSpies(TEditDlg& dlg)
        : shape(&dlg, &TEditDlg::shapeChanged), size(&dlg, &TEditDlg::sizeChanged),
          diagonal(&dlg, &TEditDlg::diagonalChanged), name(&dlg, &TEditDlg::nameEdited) {}
    int total() const { return int(shape.count() + size.count() + diagonal.count() + name.count()); }
    QSignalSpy shape;
    QSignalSpy size;
    QSignalSpy diagonal;
    QSignalSpy name;
};

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(widget->width() / 2, widget->height() / 2));
}

} // namespace

TEST(EditWindow, IsAFixedToolWindowWithoutCloseBoxOrSystemMenu) {
    TEditDlg dlg;
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dlg.isModal());
    EXPECT_EQ(dlg.size(), QSize(186, 214));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(dlg.font().pixelSize(), 11);
}

TEST(EditWindow, ControlsStandAtTheirPlaces) {
    TEditDlg dlg;
    EXPECT_EQ(dlg.Panel1()->geometry(), QRect(0, 0, 186, 33));
    const std::array<std::pair<TStyleSpeedButton*, int>, 7> buttons{{{dlg.LoadBtn(), 4},
                                                                     {dlg.SaveBtn(), 28},
                                                                     {dlg.InsertBtn(), 52},
                                                                     {dlg.DeleteBtn(), 76},
                                                                     {dlg.DownBtn(), 100},
                                                                     {dlg.UpBtn(), 124},
                                                                     {dlg.TongBtn(), 148}}};
    for (const auto& [button, left] : buttons) {
        EXPECT_EQ(button->parentWidget(), dlg.Panel1());
        EXPECT_EQ(button->geometry(), QRect(left, 4, 24, 25));
        EXPECT_EQ(button->Style(), bsWin97);
    }
    EXPECT_EQ(dlg.ShapeGrp()->geometry(), QRect(4, 36, 177, 37));
    EXPECT_EQ(dlg.SizeGrp()->geometry(), QRect(4, 76, 177, 37));
    EXPECT_EQ(dlg.MoveBox()->geometry(), QRect(4, 116, 177, 45));
    EXPECT_EQ(dlg.NameBox()->geometry(), QRect(4, 164, 177, 45));
    EXPECT_EQ(dlg.diagbox()->parentWidget(), dlg.MoveBox());
    EXPECT_EQ(dlg.diagbox()->geometry(), QRect(8, 20, 157, 17));
    EXPECT_EQ(dlg.NameEdit()->parentWidget(), dlg.NameBox());
    EXPECT_EQ(dlg.NameEdit()->geometry(), QRect(8, 16, 161, 21));
    EXPECT_FALSE(dlg.diagbox()->focusPolicy() & Qt::TabFocus) << "not a tab stop";
    EXPECT_FALSE(dlg.NameEdit()->focusPolicy() & Qt::TabFocus) << "not a tab stop";
}

TEST(EditWindow, RadioGroupsLayTheirItemsOutInColumns) {
    TEditDlg dlg;
    // Two columns for the shape, five for the size, one row each, all inside their group.
    EXPECT_LT(dlg.shapeItem(0)->x(), dlg.shapeItem(1)->x());
    EXPECT_EQ(dlg.shapeItem(0)->y(), dlg.shapeItem(1)->y());
    for (int item = 0; item < 5; ++item) {
        QRadioButton* radio = dlg.sizeItem(item);
        EXPECT_EQ(radio->text(), QString::number(5 + item));
        EXPECT_TRUE(QRect(QPoint(0, 0), dlg.SizeGrp()->size()).contains(radio->geometry())) << item;
        if (item > 0) {
            EXPECT_GT(radio->x(), dlg.sizeItem(item - 1)->geometry().right());
        }
    }
}

TEST(EditWindow, UpdateControlsShowsTheRecordWithoutEmittingAnything) {
    TEditDlg dlg;
    ChangeSpies spies(dlg);
    LevelRecord record = editableBoard();
    dlg.UpdateControls(record, 0, 3, 10);
    EXPECT_TRUE(dlg.shapeItem(0)->isChecked());
    EXPECT_TRUE(dlg.sizeItem(2)->isChecked());
    EXPECT_TRUE(dlg.diagbox()->isChecked());
    EXPECT_EQ(dlg.NameEdit()->text(), "Cross");

    record.Shape = ShapeHexagon;
    record.Size = 9;
    record.Diagonal = 0;
    dlg.UpdateControls(record, 1, 3, 10);
    EXPECT_TRUE(dlg.shapeItem(1)->isChecked());
    EXPECT_TRUE(dlg.sizeItem(4)->isChecked());
    EXPECT_FALSE(dlg.diagbox()->isChecked());
    EXPECT_EQ(dlg.NameEdit()->text(), QString::fromUtf8("Kreuz ä€")) << "the German slot, decoded";
    EXPECT_EQ(spies.total(), 0);
}

TEST(EditWindow, OutOfRangeRecordValuesSelectNoItem) {
    TEditDlg dlg;
    LevelRecord hostile = LevelRecord::fromBytes(LevelRecord::Bytes{});
    hostile.Size = 200;
    hostile.Shape = 7;
    dlg.UpdateControls(editableBoard(), 0, 1, 1);
    dlg.UpdateControls(hostile, 0, 1, 1);
    for (QAbstractButton* button : dlg.findChildren<QRadioButton*>())
        EXPECT_FALSE(button->isChecked()) << button->text().toStdString();
    EXPECT_FALSE(dlg.diagbox()->isEnabled()) << "a shape other than 0 is not square";
}

TEST(EditWindow, TextsInBothLanguages) {
    TEditDlg dlg;
    dlg.UpdateControls(editableBoard(), 1, 1, 1);
    EXPECT_EQ(dlg.windowTitle(), "");
    EXPECT_EQ(dlg.ShapeGrp()->title(), "Form");
    EXPECT_EQ(dlg.shapeItem(0)->text(), "Quadrat");
    EXPECT_EQ(dlg.shapeItem(1)->text(), "Sechseck");
    EXPECT_EQ(dlg.SizeGrp()->title(), QString::fromUtf8("Größe"));
    EXPECT_EQ(dlg.MoveBox()->title(), QString::fromUtf8("Züge"));
    EXPECT_EQ(dlg.diagbox()->text(), QString::fromUtf8("schräge Züge erlaubt"));
    EXPECT_EQ(dlg.NameBox()->title(), "Bezeichnung");
    EXPECT_EQ(dlg.TongBtn()->toolTip(), "English");
    EXPECT_EQ(dlg.DeleteBtn()->toolTip(), "Brett entfernen");
    EXPECT_EQ(dlg.InsertBtn()->toolTip(), QString::fromUtf8("Neues Brett einfügen"));
    EXPECT_EQ(dlg.DownBtn()->toolTip(), QString::fromUtf8("Brett zurückreihen"));
    EXPECT_EQ(dlg.UpBtn()->toolTip(), "Brett vorreihen");
    EXPECT_EQ(dlg.LoadBtn()->toolTip(), "Brett importieren");
    EXPECT_EQ(dlg.SaveBtn()->toolTip(), "Brett exportieren");

    LevelRecord original = editableBoard();
    original.Original = 1;
    dlg.UpdateControls(original, 1, 1, 1);
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Originalbrett - keine Änderungen"));

    // Any language but German is English, also "not chosen yet".
    for (const int language : {0, -1}) {
        dlg.UpdateControls(original, language, 1, 1);
        EXPECT_EQ(dlg.windowTitle(), "Original board - no editing");
        EXPECT_EQ(dlg.ShapeGrp()->title(), "Shape");
        EXPECT_EQ(dlg.shapeItem(0)->text(), "Square");
        EXPECT_EQ(dlg.shapeItem(1)->text(), "Hexagon");
        EXPECT_EQ(dlg.SizeGrp()->title(), "Size");
        EXPECT_EQ(dlg.MoveBox()->title(), "Moves");
        EXPECT_EQ(dlg.diagbox()->text(), "diagonal moves allowed");
        EXPECT_EQ(dlg.NameBox()->title(), "Name");
        EXPECT_EQ(dlg.TongBtn()->toolTip(), "Deutsch");
        EXPECT_EQ(dlg.DeleteBtn()->toolTip(), "Delete board");
        EXPECT_EQ(dlg.InsertBtn()->toolTip(), "Insert new board");
        EXPECT_EQ(dlg.DownBtn()->toolTip(), "Rank board backwards");
        EXPECT_EQ(dlg.UpBtn()->toolTip(), "Rank board forewards");
        EXPECT_EQ(dlg.LoadBtn()->toolTip(), "Import board");
        EXPECT_EQ(dlg.SaveBtn()->toolTip(), "Export board");
    }
}

TEST(EditWindow, AnOriginalBoardOffersNoChangesButTheListCommands) {
    TEditDlg dlg;
    LevelRecord original = editableBoard();
    original.Original = 1;
    dlg.UpdateControls(original, 0, 2, 3);
    EXPECT_FALSE(dlg.editable());
    for (QWidget* off : std::initializer_list<QWidget*>{dlg.SaveBtn(), dlg.DeleteBtn(), dlg.ShapeGrp(),
                                                        dlg.SizeGrp(), dlg.NameEdit(), dlg.diagbox()})
        EXPECT_FALSE(off->isEnabled()) << off->metaObject()->className();
    for (QWidget* on : std::initializer_list<QWidget*>{dlg.LoadBtn(), dlg.InsertBtn(), dlg.TongBtn(),
                                                       dlg.DownBtn(), dlg.UpBtn()})
        EXPECT_TRUE(on->isEnabled());

    dlg.UpdateControls(editableBoard(), 0, 2, 3);
    EXPECT_TRUE(dlg.SaveBtn()->isEnabled());
    EXPECT_TRUE(dlg.DeleteBtn()->isEnabled());
    EXPECT_TRUE(dlg.NameEdit()->isEnabled());
    EXPECT_TRUE(dlg.diagbox()->isEnabled());
}

TEST(EditWindow, DownAndUpFollowTheBoardsPlace) {
    TEditDlg dlg;
    dlg.UpdateControls(editableBoard(), 0, 1, 5);
    EXPECT_FALSE(dlg.DownBtn()->isEnabled());
    EXPECT_TRUE(dlg.UpBtn()->isEnabled());
    dlg.UpdateControls(editableBoard(), 0, 5, 5);
    EXPECT_TRUE(dlg.DownBtn()->isEnabled());
    EXPECT_FALSE(dlg.UpBtn()->isEnabled());
    dlg.UpdateControls(editableBoard(), 0, 1, 1);
    EXPECT_FALSE(dlg.DownBtn()->isEnabled());
    EXPECT_FALSE(dlg.UpBtn()->isEnabled());
}

TEST(EditWindow, ThePlayersChangesArriveAsSignals) {
    TEditDlg dlg;
    dlg.UpdateControls(editableBoard(), 0, 2, 3);
    dlg.show();
    ChangeSpies spies(dlg);

    click(dlg.shapeItem(0));
    EXPECT_EQ(spies.shape.count(), 0) << "the item already chosen is no change";
    click(dlg.shapeItem(1));
    ASSERT_EQ(spies.shape.count(), 1);
    EXPECT_EQ(spies.shape.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(dlg.diagbox()->isEnabled()) << "no diagonal jumps on a hexagon";
    click(dlg.shapeItem(0));
    EXPECT_TRUE(dlg.diagbox()->isEnabled());

    click(dlg.sizeItem(4));
    ASSERT_EQ(spies.size.count(), 1);
    EXPECT_EQ(spies.size.at(0).at(0).toInt(), 9);

    click(dlg.diagbox());
    ASSERT_EQ(spies.diagonal.count(), 1);
    EXPECT_FALSE(spies.diagonal.at(0).at(0).toBool());

    dlg.NameEdit()->setFocus();
    dlg.NameEdit()->selectAll();
    QTest::keyClicks(dlg.NameEdit(), QString::fromUtf8("Öl"));
    ASSERT_EQ(spies.name.count(), 2);
    EXPECT_EQ(spies.name.last().at(0).toByteArray(), QByteArray("\xD6l"));
}

TEST(EditWindow, CommandButtonsEmitTheirSignals) {
    TEditDlg dlg;
    dlg.UpdateControls(editableBoard(), 0, 2, 3);
    dlg.show();
    const std::array<std::pair<TStyleSpeedButton*, void (TEditDlg::*)()>, 7> commands{{
        {dlg.LoadBtn(), &TEditDlg::loadClicked},
        {dlg.SaveBtn(), &TEditDlg::saveClicked},
        {dlg.InsertBtn(), &TEditDlg::insertClicked},
        {dlg.DeleteBtn(), &TEditDlg::deleteClicked},
        {dlg.DownBtn(), &TEditDlg::downClicked},
        {dlg.UpBtn(), &TEditDlg::upClicked},
        {dlg.TongBtn(), &TEditDlg::tongueClicked},
    }};
    for (const auto& [button, signal] : commands) {
        QSignalSpy spy(&dlg, signal);
        click(button);
        EXPECT_EQ(spy.count(), 1) << button->toolTip().toStdString();
    }

    LevelRecord original = editableBoard();
    original.Original = 1;
    dlg.UpdateControls(original, 0, 2, 3);
    QSignalSpy deleted(&dlg, &TEditDlg::deleteClicked);
    click(dlg.DeleteBtn());
    EXPECT_EQ(deleted.count(), 0) << "a disabled button does nothing";
}

TEST(EditWindow, ActivationAndDeactivationAreReported) {
    TEditDlg dlg;
    dlg.UpdateControls(editableBoard(), 0, 1, 1);
    QSignalSpy activated(&dlg, &TEditDlg::activated);
    QSignalSpy deactivated(&dlg, &TEditDlg::deactivated);
    QObject::connect(&dlg, &TEditDlg::activated, &dlg, [&dlg] { dlg.move(120, 80); });
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_GE(activated.count(), 1);
    EXPECT_EQ(dlg.pos(), QPoint(120, 80));
    EXPECT_TRUE(dlg.NameEdit()->hasFocus()) << "an editable board gets the name field focused";

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_GE(deactivated.count(), 1);
    EXPECT_EQ(deactivated.last().at(0).toPoint(), QPoint(120, 80));
}

TEST(EditWindow, DefaultPositionIsFlushRightOfTheMainWindow) {
    EXPECT_EQ(DefaultEditorPosition(QRect(100, 50, 506, 395)), QPoint(606, 50));
}
