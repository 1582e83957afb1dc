// SPDX-License-Identifier: GPL-3.0-or-later
// The appearance choices, the language and the editor introduction seen in the real main window:
// peg designs by mouse button, the two backgrounds, the language window's close box, the editor's
// and the about box's language buttons, and the introduction's check box.
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "GameFixture.h"
#include "windows/EditorIntroWindow.h"
#include "windows/EditorWindow.h"
#include "windows/AboutWindow.h"
#include "windows/LanguageWindow.h"
#include "view/BoardArea.h"
#include "view/BoardPainter.h"
#include "view/StatusPanel.h"
#include "view/ToolButton.h"

namespace {

void clickWidget(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

void pressPegButton(TMainForm& form, Qt::MouseButton button) {
    QTest::mousePress(form.PegBtn(), button);
    QTest::mouseRelease(form.PegBtn(), button);
}

QImage part(const QImage& image, const QRect& rect) {
    return image.copy(rect);
}

QImage picture(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// A board with a name in both languages.
LevelRecord namedBoard() {
    LevelRecord record;
    MakeNewBoard(record);
    record.Size = 5;
    for (int cell = 0; cell < CellCount; ++cell)
        record.StartCells[cell] = cell % GridWidth < 5 && cell / GridWidth < 5 ? EmptyHole : NoHole;
    record.TargetCells = record.StartCells;
    record.StartCells[0] = record.StartCells[1] = FirstColourPeg;
    record.Names[NameSlotForLanguage(LanguageEnglish)].setText("Corner");
    record.Names[NameSlotForLanguage(LanguageGerman)].setText("Ecke");
    return record;
}

} // namespace

TEST_F(GameFixture, ElevenLeftPressesBringTheFirstDesignBackAndEachShowsOnThePegs) {
    auto form = startEnglishGame();
    const QRect peg = PlaceOf(boardOne(), 0).bigField();
    QImage before = part(form->box()->image(), peg);
    const int expected[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1};
    for (const int design : expected) {
        pressPegButton(*form, Qt::LeftButton);
        EXPECT_EQ(form->session().firstDesign(), design);
        EXPECT_EQ(form->session().secondDesign(), 2);
        const QImage now = part(form->box()->image(), peg);
        EXPECT_NE(now, before) << "design " << design << " looks like the one before";
        EXPECT_EQ(form->box()->image(), freshBoard(*form)) << "design " << design;
        before = now;
    }
}

TEST_F(GameFixture, EqualDesignsFromTheSettingsPartOnlyByLeftOrRightAndTheMiddleButtonRedrawsTheCells) {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\nfig1=5\nfig2=5\n"));
    ModalScript none;
    auto form = startGame();
    ASSERT_EQ(form->session().firstDesign(), 5);
    ASSERT_EQ(form->session().secondDesign(), 5);

    // Scribbled over a peg and over the background: the middle button redraws every cell as it was
    // and leaves the rest of the board area alone.
    const QRect peg = PlaceOf(boardOne(), 0).bigField();
    const QRect target = PlaceOf(boardOne(), 3).smallField();
    const QRect background(240, 300, 10, 10);
    QImage& shown = form->box()->image();
    for (const QRect& rect : {peg, target, background})
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                shown.setPixel(x, y, qRgb(255, 0, 255));
    pressPegButton(*form, Qt::MiddleButton);
    EXPECT_EQ(form->session().firstDesign(), 5);
    EXPECT_EQ(form->session().secondDesign(), 5);
    const QImage fresh = freshBoard(*form);
    EXPECT_EQ(part(shown, peg), part(fresh, peg));
    EXPECT_EQ(part(shown, target), part(fresh, target));
    EXPECT_EQ(shown.pixel(background.topLeft()), qRgb(255, 0, 255));

    pressPegButton(*form, Qt::LeftButton);
    EXPECT_EQ(form->session().firstDesign(), 6);
    pressPegButton(*form, Qt::RightButton);
    EXPECT_EQ(form->session().secondDesign(), 7) << "6 belongs to the first colour";
    EXPECT_TRUE(none.seen().isEmpty());
}

TEST_F(GameFixture, EachBackgroundSwitchLoadsThePictureFileAgain) {
    auto form = startEnglishGame();
    const QPoint corner(400, 320);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, corner);
    ASSERT_EQ(form->session().background(), 1);

    // The wooden board's file changes while the stone board shows; switching back shows the new file.
    QImage changed = picture(programPath() + "b1.bmp");
    changed.invertPixels();
    ASSERT_TRUE(changed.save(programPath() + "b1.bmp", "BMP"));
    QTest::mouseClick(form->windowHandle(), Qt::MiddleButton, {}, corner);
    EXPECT_EQ(form->session().background(), 0);
    EXPECT_EQ(form->backgroundPicture(), picture(programPath() + "b1.bmp"));
    EXPECT_EQ(form->box()->image(), freshBoard(*form));
    EXPECT_EQ(form->BackShape()->toolTip(), "I prefer the stone board.");
}

TEST_F(GameFixture, EditorIntroShowsWithAClearBoxEveryTimeAndOnlyATickEndsIt) {
    auto form = startEnglishGame();
    ModalScript script;
    QStringList boxes;
    const auto intro = [&boxes](std::function<void(TEditInfoDlg*)> player) {
        return [&boxes, player](QWidget* window) {
            auto* dialog = qobject_cast<TEditInfoDlg*>(window);
            ASSERT_NE(dialog, nullptr);
            boxes << (dialog->NomoreCheck()->isChecked() ? "ticked" : "clear");
            player(dialog);
        };
    };
    const auto enterAndLeave = [&] {
        clickWidget(form->EditBtn());
        EXPECT_EQ(form->session().mode(), ModeEditing);
        clickWidget(form->EditBtn());
        EXPECT_EQ(form->session().mode(), ModeReady);
    };

    // Ticked and unticked again before OK: still wanted.
    script.then(intro([](TEditInfoDlg* dialog) {
        clickWidget(dialog->NomoreCheck());
        clickWidget(dialog->NomoreCheck());
        clickWidget(dialog->OKBtn());
    }));
    enterAndLeave();
    EXPECT_TRUE(form->editorIntroWanted());
    // Ticked and closed by the close box: the tick counts.
    script.then(intro([](TEditInfoDlg* dialog) {
        clickWidget(dialog->NomoreCheck());
        dialog->close();
    }));
    enterAndLeave();
    EXPECT_FALSE(form->editorIntroWanted());
    // Not shown any more.
    enterAndLeave();
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.seen(), (QStringList{"TEditInfoDlg", "TEditInfoDlg"}));
    EXPECT_EQ(boxes, (QStringList{"clear", "clear"}));

    script.then(ModalScript::yes());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(settingsText().contains("edinf=0")) << settingsText().toStdString();
}

TEST_F(GameFixture, LanguageWindowClosedByItsCloseBoxLeavesEnglishAndAsksAgainNextTime) {
    writeCollection({namedBoard()});
    {
        ModalScript script;
        script.then([](QWidget* window) {
            ASSERT_NE(qobject_cast<TTongueDlg*>(window), nullptr);
            window->close();
        });
        auto form = startGame();
        EXPECT_EQ(script.seen(), QStringList{"TTongueDlg"});
        EXPECT_EQ(form->session().language(), LanguageUnset);
        EXPECT_EQ(form->RestartBtn()->toolTip(), "I try it again.");
        EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1 - Corner");
        script.then(ModalScript::yes());
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(settingsText().contains("tongue=-1")) << settingsText().toStdString();
    }
    ModalScript script;
    script.then(ModalScript::german());
    auto form = startGame();
    EXPECT_EQ(script.seen(), QStringList{"TTongueDlg"});
    EXPECT_EQ(form->session().language(), LanguageGerman);
    EXPECT_EQ(form->RestartBtn()->toolTip(), "Ich probier's nochmal.");
}

TEST_F(GameFixture, EditorLanguageButtonTurnsUnsetIntoEnglishThenGermanEverywhere) {
    writeCollection({namedBoard()});
    ModalScript script;
    script.then([](QWidget* window) { window->close(); });
    auto form = startGame();
    ASSERT_EQ(form->session().language(), LanguageUnset);
    TEditDlg* editor = form->editDlg();
    QString greeting;
    const auto readIntro = [&greeting](QWidget* window) {
        auto* intro = qobject_cast<TEditInfoDlg*>(window);
        ASSERT_NE(intro, nullptr);
        greeting = intro->l1()->text();
        clickWidget(intro->OKBtn());
    };
    script.then(readIntro);
    clickWidget(form->EditBtn());
    EXPECT_EQ(greeting, "Hello, friend of Tolvar Pegs!");

    // Unset becomes English: nothing to see changes.
    clickWidget(editor->TongBtn());
    EXPECT_EQ(form->session().language(), LanguageEnglish);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1 - Corner");
    EXPECT_EQ(form->EditBtn()->toolTip(), "Edit game");
    EXPECT_EQ(editor->ShapeGrp()->title(), "Shape");

    // English becomes German: the editor, the hints and the title's name at once.
    clickWidget(editor->TongBtn());
    EXPECT_EQ(form->session().language(), LanguageGerman);
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1 - Ecke");
    EXPECT_EQ(form->EditBtn()->toolTip(), QString::fromUtf8("Spiel verändern"));
    EXPECT_EQ(form->statusPanel()->MovesLabel()->text(), QString::fromUtf8("Züge:"));
    EXPECT_EQ(editor->ShapeGrp()->title(), "Form");
    EXPECT_EQ(editor->TongBtn()->toolTip(), "English");
    EXPECT_EQ(editor->NameEdit()->text(), "Ecke");
    EXPECT_FALSE(form->session().pendingCellEdit()) << "a language switch is no edit";
    EXPECT_FALSE(form->session().pendingPropertyEdit());

    // Leaving asks nothing; the introduction greets in German next time.
    clickWidget(form->EditBtn());
    script.then(readIntro);
    clickWidget(form->EditBtn());
    EXPECT_EQ(greeting, "Hallo, Tolvar Pegs - Freund!");
    EXPECT_EQ(script.seen(), (QStringList{"TTongueDlg", "TEditInfoDlg", "TEditInfoDlg"}));
}

TEST_F(GameFixture, AboutBoxLanguageChoiceShowsInTheTitleOnceTheBoxCloses) {
    writeCollection({namedBoard()});
    auto form = startEnglishGame();
    ModalScript script;
    script.then([](QWidget* window) {
        auto* about = qobject_cast<TInfoDialog*>(window);
        ASSERT_NE(about, nullptr);
        QTimer::singleShot(0, about->TongBtn(), &QPushButton::click);
    });
    script.then(ModalScript::german());
    script.then([&](QWidget* window) {
        auto* about = qobject_cast<TInfoDialog*>(window);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(form->ExitBtn()->toolTip(), "Ich hab genug!") << "the hints follow at once";
        clickWidget(about->OKBtn());
    });
    clickWidget(form->InfoBtn());
    EXPECT_TRUE(script.finished()) << script.seen().join(", ").toStdString();
    EXPECT_EQ(form->windowTitle(), "Tolvar Pegs 1 - Ecke");
}
