// SPDX-License-Identifier: GPL-3.0-or-later
// The gradient button: MulDiv, the gradient bands, border and bevel, the pressed look and the click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

#include "view/GradientButton.h"

namespace {

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour of band k worked out with floating point, independently of MulDiv.
QColor expectedBand(QColor top, QColor bottom, int band) {
    const auto part = [band](int a, int b) {
        return a + static_cast<int>(std::lround(band * (b - a) / 255.0));
    };
    return {part(top.red(), bottom.red()), part(top.green(), bottom.green()),
            part(top.blue(), bottom.blue())};
}

// The band that covers row y of a gradient of the given height, or -1 when none does.
int bandOfRow(int y, int height) {
    for (int band = 0; band < 256; ++band) {
        const long first = std::lround(band * height / 256.0);
        const long end = std::lround((band + 1) * height / 256.0);
        if (y >= first && y < end)
            return band;
    }
    return -1;
}

void showAndWait(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

} // namespace

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(1, 3, 4), 1);
    EXPECT_EQ(MulDiv(1, 1, 4), 0);
    EXPECT_EQ(MulDiv(7, 3, 2), 11);
    EXPECT_EQ(MulDiv(254, -255, 255), -254);
    EXPECT_EQ(MulDiv(3, -1, 2), -2);
    EXPECT_EQ(MulDiv(100000, 100000, 1000), 10000000); // the product does not fit 32 bits
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(GradButton, DefaultsAsAFreshButton) {
    TGradButton button;
    EXPECT_EQ(button.size(), QSize(100, 30));
    EXPECT_EQ(button.Caption(), "TGradButton");
    EXPECT_EQ(button.GradColor(), QColor(0, 0, 255));
    EXPECT_EQ(button.FaceColor(), QColor(0, 0, 0));
    EXPECT_EQ(button.HighlightColor(), QColor(255, 255, 255));
    EXPECT_EQ(button.ShadowColor(), QColor(0, 0, 0));
    EXPECT_EQ(button.BevelWidth(), 1);
    EXPECT_EQ(button.BorderWidth(), 1);
    EXPECT_EQ(button.FontColor(), QColor(255, 255, 255));
    EXPECT_TRUE(button.Transparent());
}

// With 256 rows inside the border every band has exactly one row, so each row shows its band.
TEST(GradButton, EveryBandGetsItsColourWhenTheHeightIs256) {
    TGradButton button;
    button.setCaption({});
    button.setBevelWidth(0);
    button.setGradColor(QColor(10, 200, 40));
    button.setFaceColor(QColor(250, 0, 130));
    button.resize(20, 258);
    const QImage image = grabbed(button);
    for (int band = 0; band < 256; ++band)
        ASSERT_EQ(QColor(image.pixel(10, 1 + band)),
                  expectedBand(button.GradColor(), button.FaceColor(), band))
            << "band " << band;
    EXPECT_EQ(QColor(image.pixel(10, 1)), QColor(10, 200, 40));
    EXPECT_EQ(QColor(image.pixel(10, 256)), QColor(250, 0, 130));
}

// Short buttons skip most bands; each row holds the one band that starts on or before it.
TEST(GradButton, ShortGradientRowsFollowTheBandFormula) {
    TGradButton button;
    button.setCaption({});
    button.setBevelWidth(0);
    button.setGradColor(QColor(0, 255, 0));
    button.setFaceColor(QColor(255, 0, 255));
    for (const int height : {30, 29, 7}) {
        button.resize(40, height);
        const QImage image = grabbed(button);
        for (int y = 0; y < height - 2; ++y) {
            const int band = bandOfRow(y, height - 2);
            ASSERT_GE(band, 0);
            EXPECT_EQ(QColor(image.pixel(20, 1 + y)),
                      expectedBand(button.GradColor(), button.FaceColor(), band))
                << "height " << height << " row " << y;
        }
        EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black));
        EXPECT_EQ(QColor(image.pixel(39, height - 1)), QColor(Qt::black));
    }
}

TEST(GradButton, BevelLinesSitInsideTheBorder) {
    TGradButton button;
    button.setCaption({});
    button.setHighlightColor(QColor(255, 255, 255));
    button.setShadowColor(QColor(0, 128, 0));
    button.setBevelWidth(2);
    const QImage image = grabbed(button);
    EXPECT_EQ(QColor(image.pixel(0, 10)), QColor(Qt::black)); // border
    EXPECT_EQ(QColor(image.pixel(1, 10)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(2, 10)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(50, 1)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(98, 10)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(97, 10)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(50, 28)), QColor(0, 128, 0));
    // The far ends of the upper and left lines belong to the lower-right colour.
    EXPECT_EQ(QColor(image.pixel(98, 1)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(1, 28)), QColor(0, 128, 0));
    EXPECT_NE(QColor(image.pixel(3, 10)), QColor(255, 255, 255)); // only two lines
}

TEST(GradButton, ColourChangesRefillTheGradientAndResizingRefitsIt) {
    TGradButton button;
    button.setCaption({});
    button.setBevelWidth(0);
    // At 28 rows band 0 covers no row; the first row shows band 4.
    ASSERT_EQ(bandOfRow(0, 28), 4);
    EXPECT_EQ(QColor(grabbed(button).pixel(50, 1)), expectedBand(QColor(0, 0, 255), QColor(0, 0, 0), 4));
    button.setGradColor(QColor(200, 100, 0));
    EXPECT_EQ(QColor(grabbed(button).pixel(50, 1)), expectedBand(QColor(200, 100, 0), QColor(0, 0, 0), 4));
    button.setFaceColor(QColor(0, 0, 200));
    button.resize(60, 258);
    const QImage image = grabbed(button);
    EXPECT_EQ(QColor(image.pixel(58, 256)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(image.pixel(58, 128)), expectedBand(QColor(200, 100, 0), QColor(0, 0, 200), 127));
}

// No border and no bevel: only gradient and caption, and pressing shifts both by one pixel.
TEST(GradButton, PressingShiftsGradientAndCaptionByOnePixel) {
    QWidget window;
    auto* button = new TGradButton(&window);
    button->setGeometry(0, 0, 69, 29);
    button->setBorderWidth(0);
    button->setBevelWidth(0);
    button->setCaption("Ja");
    button->setFontColor(QColor(255, 255, 0));
    showAndWait(window);

    const QImage up = grabbed(*button);
    EXPECT_EQ(QColor(up.pixel(0, 0)), expectedBand(QColor(0, 0, 255), QColor(0, 0, 0), bandOfRow(0, 29)));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 15));
    ASSERT_TRUE(button->isPressed());
    const QImage down = grabbed(*button);
    int yellow = 0;
    for (int y = 1; y < 29; ++y) {
        for (int x = 1; x < 69; ++x) {
            ASSERT_EQ(down.pixel(x, y), up.pixel(x - 1, y - 1)) << x << "," << y;
            const QColor colour(up.pixel(x - 1, y - 1));
            yellow += colour.red() > 150 && colour.green() > 150; // the caption, smoothed or not
        }
    }
    EXPECT_GT(yellow, 10);
    EXPECT_EQ(QColor(down.pixel(0, 10)), QColor(Qt::black));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 15));
}

TEST(GradButton, ClicksOnlyWhenReleasedOverTheButton) {
    QWidget window;
    window.resize(200, 100);
    auto* button = new TGradButton(&window);
    showAndWait(window);
    QSignalSpy clicks(button, &TGradButton::clicked);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(button, QPoint(150, 60));
    QMouseEvent moveOut(QEvent::MouseMove, QPointF(150, 60), button->mapToGlobal(QPointF(150, 60)),
                        Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(button, &moveOut);
    EXPECT_FALSE(button->isPressed());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
}
