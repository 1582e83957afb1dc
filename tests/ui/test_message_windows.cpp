// SPDX-License-Identifier: GPL-3.0-or-later
// The question and notice windows: answers, texts and captions by language, placement over the
// main window, background and figure from the atlas.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>

#include "windows/NoticeWindow.h"
#include "windows/QuestionWindow.h"
#include "view/GradientButton.h"

namespace {

const QColor Background(190, 200, 210);

QColor figureColour(int k) {
    return QColor(40 * k + 20, 100, 255 - 40 * k);
}

// An atlas of the game's layout: a light background, five figures of one colour each with a
// black surround, and a mask that is black under the figures' body (10..49, 10..87).
QImage testAtlas(int width = 420, int height = 248) {
    QImage atlas(width, height, QImage::Format_RGB32);
    atlas.fill(QColor(7, 7, 7));
    for (int y = 0; y < 150 && y < height; ++y)
        for (int x = 0; x < 300 && x < width; ++x)
            atlas.setPixel(x, y, Background.rgb());
    const auto body = [](int x, int y) {
        return x >= 10 && x < 50 && y >= 10 && y < 88;
    };
    for (int y = 0; y < 98 && 150 + y < height; ++y) {
        for (int x = 0; x < 60; ++x) {
            for (int k = 0; k < 5 && 60 * k + x < width; ++k)
                atlas.setPixel(60 * k + x, 150 + y, body(x, y) ? figureColour(k).rgb() : qRgb(0, 0, 0));
            if (360 + x < width)
                atlas.setPixel(360 + x, 150 + y, body(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return atlas;
}

// Runs `check` on the modal window once it is up; the check must close the window.
void whenModal(std::function<void(QWidget*)> check, int triesLeft = 200) {
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [check, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible())
            check(modal);
        else if (triesLeft > 0)
            whenModal(check, triesLeft - 1);
    });
}

void clickButton(TGradButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 14));
}

QImage grabbed(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The top row of the label area that holds dark text.
int firstTextRow(const QImage& image) {
    for (int y = 8; y < 105; ++y)
        for (int x = 96; x < 281; ++x)
            if (qGray(image.pixel(x, y)) < 60)
                return y;
    return -1;
}

struct MainWindow {
    QWidget window;
    MainWindow() {
        window.setGeometry(123, 77, 500, 366);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST(MessageWindows, PlaceOverCentresOnTheOuterRectangle) {
    EXPECT_EQ(PlaceOver(QRect(100, 50, 508, 395), QSize(300, 150)), QPoint(204, 172));
    EXPECT_EQ(PlaceOver(QRect(0, 0, 500, 366), QSize(300, 150)), QPoint(100, 108));
    // Truncation toward zero: (201 - 300) / 2 is -49 and (101 - 150) / 2 is -24.
    EXPECT_EQ(PlaceOver(QRect(-400, -300, 201, 101), QSize(300, 150)), QPoint(-449, -324));
}

TEST(MessageWindows, YesAndNoAnswerSixAndSeven) {
    MainWindow main;
    TYesNoDialog dialog(testAtlas(), &main.window);
    EXPECT_EQ(dialog.size(), QSize(300, 150));

    whenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, &dialog);
        clickButton(dialog.YesBtn());
    });
    EXPECT_EQ(dialog.ShowModal(3, LanguageEnglish, &main.window), mrYes);
    EXPECT_EQ(dialog.answer(), 6);
    EXPECT_EQ(dialog.code(), 3);

    whenModal([&](QWidget*) { clickButton(dialog.NoBtn()); });
    EXPECT_EQ(dialog.ShowModal(4, LanguageEnglish, &main.window), mrNo);

    whenModal([&](QWidget*) { clickButton(dialog.YesBtn()); });
    EXPECT_EQ(dialog.ShowModal(4, LanguageEnglish, &main.window), 6);
}

TEST(MessageWindows, OnlyTheButtonsAnswer) {
    MainWindow main;
    TYesNoDialog question(testAtlas(), &main.window);
    TOKDialog notice(testAtlas(), &main.window);

    // Keys and close requests leave the window up; the button pressed afterwards gives the answer.
    whenModal([&](QWidget* modal) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_N})
            QTest::keyClick(modal, key);
        EXPECT_FALSE(modal->close());
        EXPECT_TRUE(modal->isVisible());
        clickButton(question.YesBtn());
    });
    EXPECT_EQ(question.ShowModal(4, LanguageEnglish, &main.window), mrYes);

    whenModal([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        EXPECT_FALSE(modal->close());
        EXPECT_TRUE(notice.isVisible());
        clickButton(notice.OKBtn());
    });
    notice.ShowModal(1, LanguageEnglish, &main.window);
    EXPECT_FALSE(notice.isVisible());
}

TEST(MessageWindows, AQuestionAskedWhileShowingAnswersNoAndTheFirstKeepsItsOwnAnswer) {
    MainWindow main;
    TYesNoDialog dialog(testAtlas(), &main.window);

    whenModal([&](QWidget*) { clickButton(dialog.YesBtn()); });
    ASSERT_EQ(dialog.ShowModal(3, LanguageEnglish, &main.window), mrYes);

    // The earlier yes is not the answer to a question asked from inside the next one.
    int nested = -1;
    whenModal([&](QWidget*) {
        nested = dialog.ShowModal(5, LanguageEnglish, &main.window);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.code(), 3);
        clickButton(dialog.NoBtn());
    });
    EXPECT_EQ(dialog.ShowModal(3, LanguageEnglish, &main.window), mrNo);
    EXPECT_EQ(nested, mrNo);
}

TEST(MessageWindows, TextsAndCaptionsFollowTheLanguageOfEachShowing) {
    MainWindow main;
    TYesNoDialog dialog(testAtlas(), &main.window);

    for (const int language : {LanguageUnset, LanguageGerman, LanguageEnglish}) {
        whenModal([&](QWidget*) {
            const bool german = language == LanguageGerman;
            EXPECT_EQ(dialog.YesBtn()->Caption(), german ? "Ja" : "Yes");
            EXPECT_EQ(dialog.NoBtn()->Caption(), german ? "Nein" : "No");
            EXPECT_EQ(dialog.messageLabel()->text(),
                      german ? QString::fromUtf8("\nWillst Du das Spiel wirklich beenden?")
                             : QString::fromUtf8("\nDo you really want to end the game?"));
            clickButton(dialog.NoBtn());
        });
        dialog.ShowModal(4, language, &main.window);
    }

    TOKDialog notice(testAtlas(), &main.window);
    for (const int language : {LanguageGerman, LanguageEnglish}) {
        whenModal([&](QWidget*) {
            EXPECT_EQ(notice.OKBtn()->Caption(), "OK");
            EXPECT_EQ(notice.messageLabel()->text(), language == LanguageGerman
                                                         ? QString::fromUtf8("\nLeider, das war's wohl!")
                                                         : QString::fromUtf8("\nSorry, that was it!"));
            clickButton(notice.OKBtn());
        });
        EXPECT_EQ(notice.ShowModal(1, language, &main.window), QDialog::Accepted);
    }
}

TEST(MessageWindows, LayoutOfTextAreaAndButtons) {
    TYesNoDialog question(testAtlas());
    TOKDialog notice(testAtlas());
    EXPECT_EQ(question.messageLabel()->geometry(), QRect(96, 8, 185, 93));
    EXPECT_EQ(notice.messageLabel()->geometry(), QRect(96, 8, 185, 97));
    EXPECT_EQ(question.YesBtn()->geometry(), QRect(116, 108, 69, 29));
    EXPECT_EQ(question.NoBtn()->geometry(), QRect(192, 108, 69, 29));
    EXPECT_EQ(notice.OKBtn()->geometry(), QRect(152, 108, 69, 29));
    EXPECT_EQ(question.YesBtn()->GradColor(), QColor(0, 255, 0));
    EXPECT_EQ(question.NoBtn()->GradColor(), QColor(255, 0, 0));
    EXPECT_EQ(notice.OKBtn()->GradColor(), QColor(162, 81, 0));
    EXPECT_EQ(notice.OKBtn()->BevelWidth(), 0);
    EXPECT_EQ(notice.OKBtn()->FontColor(), QColor(255, 255, 0));
    EXPECT_TRUE(notice.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(MessageWindows, PlacedOverTheMainWindowWhereverItIs) {
    MainWindow main;
    TOKDialog notice(testAtlas(), &main.window);
    for (const QPoint place : {QPoint(123, 77), QPoint(600, 10), QPoint(-50, 300)}) {
        main.window.move(place);
        QApplication::processEvents();
        const QPoint expected = PlaceOver(main.window.frameGeometry(), QSize(300, 150));
        whenModal([&](QWidget*) {
            EXPECT_EQ(notice.pos(), expected);
            clickButton(notice.OKBtn());
        });
        notice.ShowModal(0, LanguageEnglish, &main.window);
    }
}

TEST(MessageWindows, BackgroundAndFigureOfTheCodeFromTheAtlas) {
    MainWindow main;
    TYesNoDialog question(testAtlas(), &main.window);
    TOKDialog notice(testAtlas(), &main.window);
    // Question 0 and notice 0 share figure 2; notice 5 shows figure 4; question 2 figure 1. The check
    // runs after checkFigure has returned, so it keeps copies of the arguments.
    const auto checkFigure = [](TMessageWindow& window, TGradButton* close, int code, int figure) {
        whenModal([&window, close, code, figure](QWidget*) {
            const QImage image = grabbed(&window);
            EXPECT_EQ(QColor(image.pixel(5, 5)), Background);
            EXPECT_EQ(QColor(image.pixel(20 + 30, 25 + 49)), figureColour(figure)) << "code " << code;
            EXPECT_EQ(QColor(image.pixel(20 + 10, 25 + 10)), figureColour(figure));
            EXPECT_EQ(QColor(image.pixel(20 + 49, 25 + 87)), figureColour(figure));
            // Around the figure's body the background shows through the mask.
            EXPECT_EQ(QColor(image.pixel(20 + 9, 25 + 50)), Background);
            EXPECT_EQ(QColor(image.pixel(20 + 50, 25 + 50)), Background);
            EXPECT_EQ(QColor(image.pixel(20 + 59, 25 + 97)), Background);
            clickButton(close);
        });
    };
    checkFigure(question, question.NoBtn(), 0, 2);
    question.ShowModal(0, LanguageEnglish, &main.window);
    checkFigure(notice, notice.OKBtn(), 0, 2);
    notice.ShowModal(0, LanguageEnglish, &main.window);
    checkFigure(notice, notice.OKBtn(), 5, 4);
    notice.ShowModal(5, LanguageGerman, &main.window);
    checkFigure(question, question.NoBtn(), 2, 1);
    question.ShowModal(2, LanguageGerman, &main.window);
}

TEST(MessageWindows, LeadLinesLowerShortTexts) {
    MainWindow main;
    TOKDialog notice(testAtlas(), &main.window);
    TYesNoDialog question(testAtlas(), &main.window);
    int withoutLead = -1;
    int withTwoLines = -1;
    whenModal([&](QWidget*) {
        withoutLead = firstTextRow(grabbed(&question));
        clickButton(question.NoBtn());
    });
    question.ShowModal(1, LanguageEnglish, &main.window);
    whenModal([&](QWidget*) {
        withTwoLines = firstTextRow(grabbed(&notice));
        clickButton(notice.OKBtn());
    });
    notice.ShowModal(0, LanguageEnglish, &main.window);
    ASSERT_GE(withoutLead, 8);
    EXPECT_LT(withoutLead, 20);
    EXPECT_GE(withTwoLines, withoutLead + 30);
}

// A short or missing atlas must not be read past its edges; what is missing stays black.
TEST(MessageWindows, ShortOrMissingAtlasIsDrawnSafely) {
    MainWindow main;
    TOKDialog notice(testAtlas(200, 160), &main.window);
    whenModal([&](QWidget*) {
        const QImage image = grabbed(&notice);
        EXPECT_EQ(QColor(image.pixel(5, 5)), Background);
        EXPECT_EQ(QColor(image.pixel(250, 5)), QColor(Qt::black));
        clickButton(notice.OKBtn());
    });
    notice.ShowModal(2, LanguageEnglish, &main.window);

    TYesNoDialog question(QImage(), &main.window);
    whenModal([&](QWidget*) {
        EXPECT_EQ(QColor(grabbed(&question).pixel(50, 70)), QColor(Qt::black));
        clickButton(question.YesBtn());
    });
    EXPECT_EQ(question.ShowModal(QuestionCount, LanguageEnglish, &main.window), mrYes);
    EXPECT_TRUE(question.messageLabel()->text().isEmpty());
}
