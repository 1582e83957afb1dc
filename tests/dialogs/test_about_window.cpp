// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/AboutWindow.h"
#include "windows/LanguageWindow.h"

#include "Modal.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, TextsFollowTheLanguage) {
    TInfoDialog about;
    struct Case {
        int language;
        const char* caption;
        const char* tong;
    };
    const Case cases[] = {{-1, "Tolvar Games - Info about ...", "Tongue"},
                          {1, "Tolvar Games - Info über ...", "Sprache"},
                          {0, "Tolvar Games - Info about ...", "Tongue"},
                          {7, "Tolvar Games - Info about ...", "Tongue"}};
    for (const Case& c : cases) {
        about.setLanguage(c.language);
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8(c.caption)) << c.language;
        EXPECT_EQ(about.TongBtn()->text(), QString::fromUtf8(c.tong)) << c.language;
        // Name, version and OK are the same in both languages.
        EXPECT_EQ(about.progname()->text(), QStringLiteral("Tolvar Pegs"));
        EXPECT_EQ(about.version()->text(), QStringLiteral("Version  V1.0"));
        EXPECT_EQ(about.OKBtn()->text(), QStringLiteral("OK"));
    }
}

TEST(AboutBox, MakerLinesChangeLanguageWithTheRest) {
    TInfoDialog about;
    auto visibleTexts = [&] {
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        return texts;
    };
    about.setLanguage(0);
    const QStringList english = visibleTexts();
    about.setLanguage(1);
    const QStringList german = visibleTexts();
    EXPECT_EQ(english.size(), german.size());
    EXPECT_NE(english, german);
    EXPECT_TRUE(german.join(' ').contains(QStringLiteral("Tolvar Games")));
    EXPECT_FALSE(german.join(' ').contains(QStringLiteral("about")));
    EXPECT_TRUE(english.join(' ').contains(QStringLiteral("Tolvar Games")));
}

TEST(AboutBox, LayoutFontsAndPictures) {
    TInfoDialog about;
    EXPECT_EQ(about.size(), QSize(309, 334));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_EQ(about.TongBtn()->geometry(), QRect(76, 304, 77, 27));
    EXPECT_EQ(about.OKBtn()->geometry(), QRect(160, 304, 77, 27));
    EXPECT_TRUE(about.OKBtn()->isDefault());
    EXPECT_EQ(about.progname()->geometry(), QRect(112, 8, 189, 25));
    EXPECT_EQ(about.progname()->font().pixelSize(), 19);
    EXPECT_TRUE(about.progname()->font().bold());
    EXPECT_EQ(about.progname()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(about.version()->geometry(), QRect(112, 32, 189, 13));
    EXPECT_EQ(about.version()->font().pixelSize(), 11);
    EXPECT_FALSE(about.version()->font().bold());
    EXPECT_EQ(about.Image1()->geometry(), QRect(8, 8, 101, 77));
    EXPECT_EQ(about.Image4()->geometry(), QRect(36, 96, 37, 37));
    // Every label lies inside the window above the buttons: nothing is cut off at the edges.
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        EXPECT_TRUE(QRect(0, 0, 309, 300).contains(label->geometry())) << label->text().toStdString();
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        } else if (!label->text().isEmpty()) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        }
    }
}

TEST(AboutBox, LanguageButtonSignalsAndTheBoxStaysOpen) {
    TInfoDialog about;
    QSignalSpy pressed(&about, &TInfoDialog::TongBtnClicked);
    bool openAfterPress = false;
    modal::WhenShown(&about, [&] {
        QTest::mouseClick(about.TongBtn(), Qt::LeftButton);
        openAfterPress = about.isVisible();
        QTest::mouseClick(about.OKBtn(), Qt::LeftButton);
    });
    EXPECT_EQ(about.showFor(0, nullptr), QDialog::Accepted);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_TRUE(openAfterPress);
}

// The owner's wiring: the language button runs the language window; its answer relabels the box
// while it is still open.
TEST(AboutBox, ChoosingGermanFromTheBoxRelabelsItAtOnce) {
    TInfoDialog about;
    TTongueDlg tongue;
    int language = 0;
    QObject::connect(&about, &TInfoDialog::TongBtnClicked, [&] {
        language = tongue.chooseLanguage(language);
        about.setLanguage(language);
    });
    QString tongWhileOpen;
    QString captionWhileOpen;
    modal::WhenShown(&about, [&] {
        modal::WhenShown(&tongue, [&] { QTest::mouseClick(tongue.GermanBtn(), Qt::LeftButton); });
        QTest::mouseClick(about.TongBtn(), Qt::LeftButton);
        tongWhileOpen = about.TongBtn()->text();
        captionWhileOpen = about.windowTitle();
        about.close();
    });
    about.showFor(language, nullptr);
    EXPECT_EQ(language, 1);
    EXPECT_EQ(tongWhileOpen, QStringLiteral("Sprache"));
    EXPECT_EQ(captionWhileOpen, QStringLiteral("Tolvar Games - Info über ..."));
}

TEST(AboutBox, ShowForSetsTheTextsOfTheGivenLanguage) {
    TInfoDialog about;
    about.setLanguage(0);
    QString tong;
    modal::WhenShown(&about, [&] {
        tong = about.TongBtn()->text();
        about.close();
    });
    EXPECT_EQ(about.showFor(1, nullptr), QDialog::Rejected);
    EXPECT_EQ(tong, QStringLiteral("Sprache"));
}

TEST(AboutBoxPlacement, CentredOverTheMainWindowAndItsClientArea) {
    // Main window frame at (100, 50), 510 x 395 with a 366 pixel high client area; box 315 x 360.
    EXPECT_EQ(PlaceAboutBox({100, 50, 510, 395}, 366, {315, 360}), QPoint(197, 82));
    // Odd differences truncate toward zero, also when they are negative.
    EXPECT_EQ(PlaceAboutBox({0, 0, 300, 101}, 100, {315, 301}), QPoint(-7, -99));
    EXPECT_EQ(PlaceAboutBox({-300, -40, 511, 396}, 367, {316, 360}), QPoint(-203, -7));
}

TEST(AboutBoxPlacement, ShowForPlacesTheBoxOverTheOwner) {
    QWidget owner;
    owner.setGeometry(130, 70, 500, 366);
    owner.show();
    TInfoDialog about;
    QPoint placed;
    modal::WhenShown(&about, [&] {
        placed = about.frameGeometry().topLeft();
        about.close();
    });
    about.showFor(0, &owner);
    EXPECT_EQ(placed, PlaceAboutBox(owner.frameGeometry(), owner.height(), about.frameGeometry().size()));
}

} // namespace
