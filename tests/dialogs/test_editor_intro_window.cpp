// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/EditorIntroWindow.h"

#include "Modal.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr QRgb FigureZero = 0xFF20C040u;
constexpr QRgb OtherFigure = 0xFFC02020u;
constexpr QRgb AtlasBackground = 0xFF3050A0u;

bool InsideFigure(int u, int v) {
    return std::hypot(u - 30, v - 49) < 25;
}

// A 420 x 248 atlas: figure 0 a green disc at (0, 150), other figures red, the shared mask at
// (360, 150) black under the disc and white around it, everything else a plain colour.
QImage MakeAtlas() {
    QImage atlas(420, 248, QImage::Format_RGB32);
    atlas.fill(AtlasBackground);
    for (int v = 0; v < 98; ++v)
        for (int u = 0; u < 60; ++u) {
            const bool inside = InsideFigure(u, v);
            atlas.setPixel(u, 150 + v, inside ? FigureZero : 0xFF000000u);
            for (int k = 1; k < 5; ++k)
                atlas.setPixel(60 * k + u, 150 + v, inside ? OtherFigure : 0xFF000000u);
            atlas.setPixel(360 + u, 150 + v, inside ? 0xFF000000u : 0xFFFFFFFFu);
        }
    return atlas;
}

QImage BoxPixels(TEditInfoDlg& dialog) {
    return dialog.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(EditorIntro, CheckBoxIsClearedAtEveryShowingAndTheTickIsReported) {
    TEditInfoDlg intro;
    bool clearedAtOpen = false;
    modal::WhenShown(&intro, [&] {
        clearedAtOpen = !intro.NomoreCheck()->isChecked();
        QTest::mouseClick(intro.NomoreCheck(), Qt::LeftButton);
        QTest::mouseClick(intro.OKBtn(), Qt::LeftButton);
    });
    EXPECT_FALSE(intro.showFor(0, nullptr)); // ticked: the intro is no longer wanted
    EXPECT_TRUE(clearedAtOpen);
    EXPECT_TRUE(intro.NomoreTicked());

    clearedAtOpen = false;
    modal::WhenShown(&intro, [&] {
        clearedAtOpen = !intro.NomoreCheck()->isChecked();
        QTest::mouseClick(intro.OKBtn(), Qt::LeftButton);
    });
    EXPECT_TRUE(intro.showFor(0, nullptr));
    EXPECT_TRUE(clearedAtOpen);
}

TEST(EditorIntro, TickingAndUntickingKeepsTheIntro) {
    TEditInfoDlg intro;
    modal::WhenShown(&intro, [&] {
        QTest::mouseClick(intro.NomoreCheck(), Qt::LeftButton);
        QTest::mouseClick(intro.NomoreCheck(), Qt::LeftButton);
        QTest::mouseClick(intro.OKBtn(), Qt::LeftButton);
    });
    EXPECT_TRUE(intro.showFor(1, nullptr));
}

TEST(EditorIntro, TickedBoxCountsAlsoWhenClosedWithTheCloseBox) {
    TEditInfoDlg intro;
    modal::WhenShown(&intro, [&] {
        QTest::mouseClick(intro.NomoreCheck(), Qt::LeftButton);
        intro.close();
    });
    EXPECT_FALSE(intro.showFor(0, nullptr));
}

TEST(EditorIntro, OKHasTheFocusSoReturnCloses) {
    TEditInfoDlg intro;
    bool okFocused = false;
    modal::WhenShown(&intro, [&] {
        okFocused = intro.OKBtn()->hasFocus();
        QTest::keyClick(intro.focusWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(intro.showFor(0, nullptr));
    EXPECT_TRUE(okFocused);
    EXPECT_EQ(intro.result(), QDialog::Accepted);
}

TEST(EditorIntro, TextsInBothLanguages) {
    TEditInfoDlg intro;
    struct Seen {
        QString l1, l2, check, title;
    };
    auto showIn = [&](int language) {
        Seen seen;
        modal::WhenShown(&intro, [&] {
            seen = {intro.l1()->text(), intro.l2()->text(), intro.NomoreCheck()->text(), intro.windowTitle()};
            intro.close();
        });
        intro.showFor(language, nullptr);
        return seen;
    };
    const Seen german = showIn(1);
    EXPECT_EQ(german.l1, QStringLiteral("Hallo, Tolvar Pegs - Freund!"));
    EXPECT_TRUE(
        german.l2.startsWith(QStringLiteral("Du bist gerade dabei, den Tolvar Pegs -Editor zu starten.")));
    EXPECT_TRUE(german.l2.endsWith(QString::fromUtf8("sein Dasein fristen würde.")));
    EXPECT_EQ(german.check, QStringLiteral("Diesen Dialog nicht mehr anzeigen."));
    EXPECT_EQ(german.title, QStringLiteral("Tolvar Pegs - Info"));

    for (const int english : {0, -1}) {
        const Seen seen = showIn(english);
        EXPECT_EQ(seen.l1, QStringLiteral("Hello, friend of Tolvar Pegs!"));
        EXPECT_EQ(seen.l2, QStringLiteral("You are starting the Tolvar Pegs - editor. If you have success in "
                                          "discovering a new interesting board plus solution, it would be a "
                                          "pity, if this board vegatates only on your computer."));
        EXPECT_EQ(seen.check, QStringLiteral("Do not show this dialog once more."));
        EXPECT_EQ(seen.title, QStringLiteral("Tolvar Pegs - Info"));
    }
    EXPECT_NE(showIn(1).l2, showIn(0).l2);
}

TEST(EditorIntro, LayoutAndFonts) {
    TEditInfoDlg intro;
    EXPECT_EQ(intro.size(), QSize(415, 296));
    EXPECT_EQ(intro.minimumSize(), intro.maximumSize());
    EXPECT_EQ(intro.box()->geometry(), QRect(24, 36, 69, 117));
    EXPECT_EQ(intro.l1()->geometry(), QRect(96, 20, 297, 13));
    EXPECT_EQ(intro.l2()->geometry(), QRect(96, 44, 297, 57));
    EXPECT_EQ(intro.l3()->geometry(), QRect(96, 108, 297, 81));
    EXPECT_EQ(intro.NomoreCheck()->geometry(), QRect(96, 232, 265, 17));
    EXPECT_EQ(intro.OKBtn()->geometry(), QRect(164, 264, 77, 27));
    EXPECT_TRUE(intro.l1()->font().bold());
    EXPECT_FALSE(intro.l2()->font().bold());
    EXPECT_FALSE(intro.l3()->font().bold());
    EXPECT_FALSE(intro.NomoreCheck()->font().bold());
    EXPECT_TRUE(intro.l2()->wordWrap());
    EXPECT_TRUE(intro.l3()->wordWrap());
}

TEST(EditorIntro, FigureZeroIsDrawnThroughTheMaskOnTheBoxBackground) {
    TEditInfoDlg intro(MakeAtlas());
    const QRgb background = intro.box()->palette().color(QPalette::Window).rgb();
    const QImage box = BoxPixels(intro);
    ASSERT_EQ(box.size(), QSize(69, 117));
    int figurePixels = 0;
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x) {
            const bool inFigure = x < 60 && y < 98 && InsideFigure(x, y);
            const QRgb expected = inFigure ? FigureZero : background;
            ASSERT_EQ(box.pixel(x, y), expected) << x << "," << y;
            figurePixels += inFigure;
        }
    EXPECT_GT(figurePixels, 1000);
}

TEST(EditorIntro, MissingOrTooSmallAtlasShowsOnlyTheBackground) {
    TEditInfoDlg intro;
    const QRgb background = intro.box()->palette().color(QPalette::Window).rgb();
    auto onlyBackground = [&] {
        const QImage box = BoxPixels(intro);
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                if (box.pixel(x, y) != background)
                    return false;
        return true;
    };
    EXPECT_TRUE(onlyBackground());
    // An atlas that ends above the figures has nothing to draw there.
    QImage shortAtlas(420, 150, QImage::Format_RGB32);
    shortAtlas.fill(Qt::black);
    intro.setAtlas(shortAtlas);
    EXPECT_TRUE(onlyBackground());
    // An atlas of another depth is used after conversion.
    intro.setAtlas(MakeAtlas().convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(BoxPixels(intro).pixel(30, 49), FigureZero);
}

TEST(EditorIntroPlacement, CentredByClientSizeOverTheMainWindow) {
    EXPECT_EQ(PlaceIntro({100, 50, 510, 395}, {415, 296}), QPoint(147, 99));
    EXPECT_EQ(PlaceIntro({-300, 0, 400, 297}, {415, 296}), QPoint(-307, 0));
}

TEST(EditorIntroPlacement, FollowsTheMovedOwner) {
    QWidget owner;
    owner.setGeometry(10, 20, 500, 366);
    owner.show();
    TEditInfoDlg intro;
    auto placedAt = [&] {
        QPoint placed;
        modal::WhenShown(&intro, [&] {
            placed = intro.frameGeometry().topLeft();
            intro.close();
        });
        intro.showFor(0, &owner);
        return placed;
    };
    EXPECT_EQ(placedAt(), PlaceIntro(owner.frameGeometry(), intro.size()));
    owner.move(400, 300);
    EXPECT_EQ(placedAt(), PlaceIntro(owner.frameGeometry(), intro.size()));
}

} // namespace

namespace {

// Every text of the window, in either language, fits its place without being cut off.
TEST(EditorIntro, TextsFitTheirPlaces) {
    TEditInfoDlg intro;
    for (const int language : {0, 1}) {
        modal::WhenShown(&intro, [&] {
            for (const QLabel* label : intro.findChildren<QLabel*>()) {
                if (label->wordWrap()) {
                    EXPECT_LE(label->heightForWidth(label->width()), label->height())
                        << language << ": " << label->text().toStdString();
                } else {
                    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                        << language << ": " << label->text().toStdString();
                }
            }
            const QCheckBox* check = intro.NomoreCheck();
            EXPECT_LE(check->sizeHint().width(), check->width()) << language;
            intro.close();
        });
        intro.showFor(language, nullptr);
    }
}

} // namespace
