// SPDX-License-Identifier: GPL-3.0-or-later
// The flat tool button: glyph choice per state, the bsWin97 frame by state and pointer, toggle groups.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <array>

#include "view/Pictures.h"
#include "view/ToolButton.h"

namespace {

const std::array<QColor, 4> GlyphColours{QColor(200, 0, 0), QColor(0, 160, 0), QColor(0, 0, 220),
                                         QColor(230, 200, 0)};

// Four solid 16 x 16 glyphs side by side: up, disabled, pressed, down.
QImage fourGlyphStrip() {
    QImage strip(64, 16, QImage::Format_ARGB32);
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixel(16 * k + x, y, GlyphColours[static_cast<std::size_t>(k)].rgba());
    }
    return strip;
}

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A system colour as it lands in 8-bit pixels.
QColor paletteColour(const QWidget& widget, QPalette::ColorRole role) {
    return widget.palette().color(role).rgb();
}

void pointerEnters(QWidget& widget) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&widget, &enter);
}

void pointerLeaves(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

// A tool panel with buttons like the game's: 24 x 25, bsWin97.
struct Panel {
    QWidget window;
    TStyleSpeedButton* add(int left) {
        auto* button = new TStyleSpeedButton(&window);
        button->setGeometry(left, 4, 24, 25);
        button->setStyle(bsWin97);
        return button;
    }
    // Shown with the pointer known to be elsewhere, wherever earlier tests left it.
    void show() {
        window.resize(200, 33);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (auto* button : window.findChildren<TStyleSpeedButton*>())
            pointerLeaves(*button);
    }
};

struct FrameColours {
    QColor outerUpperLeft;
    QColor innerUpperLeft;
    QColor innerLowerRight;
    QColor outerLowerRight;
};

// Samples each of the four frame lines in its middle.
FrameColours frameOf(TStyleSpeedButton& button) {
    const QImage image = grabbed(button);
    const int w = button.width();
    const int h = button.height();
    return {image.pixel(0, h / 2), image.pixel(1, h / 2), image.pixel(w - 2, h / 2),
            image.pixel(w - 1, h / 2)};
}

} // namespace

TEST(StyleSpeedButton, GlyphIndexFallsBackToTheFirstGlyph) {
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsUp, 4), 0);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsDisabled, 4), 1);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsDown, 4), 2);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsExclusive, 4), 3);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsDisabled, 2), 1);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsDown, 2), 0);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsExclusive, 2), 0);
    EXPECT_EQ(GlyphIndexFor(TButtonState::bsDisabled, 1), 0);
}

TEST(StyleSpeedButton, NewButtonAndGlyphCount) {
    TStyleSpeedButton button;
    EXPECT_EQ(button.geometry(), QRect(0, 0, 22, 23));
    EXPECT_EQ(button.Style(), bsAutoDetect);
    EXPECT_FALSE(button.pointerInside());
    button.setGlyph(fourGlyphStrip());
    EXPECT_EQ(button.NumGlyphs(), 4);
    button.setGlyph(QImage(36, 18, QImage::Format_RGB32));
    EXPECT_EQ(button.NumGlyphs(), 2);
    button.setGlyph(QImage(26, 20, QImage::Format_RGB32));
    EXPECT_EQ(button.NumGlyphs(), 1);
    button.setGlyph(QImage(160, 16, QImage::Format_RGB32));
    EXPECT_EQ(button.NumGlyphs(), 4);
    button.setGlyph(QImage(64, 16, QImage::Format_RGB32), 2);
    EXPECT_EQ(button.NumGlyphs(), 2);
}

TEST(StyleSpeedButton, EachStateShowsItsGlyph) {
    Panel panel;
    auto* sound = panel.add(52);
    sound->setGlyph(fourGlyphStrip());
    sound->setGroupIndex(1);
    sound->setAllowAllUp(true);
    panel.show();
    const auto centre = [&] {
        return QColor(grabbed(*sound).pixel(12, 12));
    };

    EXPECT_EQ(centre(), GlyphColours[0]);
    sound->setEnabled(false);
    EXPECT_EQ(centre(), GlyphColours[1]);
    sound->setEnabled(true);
    QTest::mousePress(sound, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(sound->state(), TButtonState::bsDown);
    EXPECT_EQ(centre(), GlyphColours[2]);
    QTest::mouseRelease(sound, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_TRUE(sound->Down());
    EXPECT_EQ(centre(), GlyphColours[3]);
}

// The glyph is centred and shifted by one pixel while sunk; without alpha, the strip's
// bottom-left colour is transparent.
TEST(StyleSpeedButton, GlyphPlacementAndTransparentColour) {
    Panel panel;
    auto* button = panel.add(4);
    QImage glyph(18, 18, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    for (int y = 2; y < 16; ++y)
        for (int x = 2; x < 16; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 128));
    button->setGlyph(glyph);
    panel.show();
    const QColor face = paletteColour(*button, QPalette::Button);

    QImage image = grabbed(*button);
    // (24 - 18 + 1) / 2 = 3 and (25 - 18 + 1) / 2 = 4.
    EXPECT_EQ(QColor(image.pixel(3 + 2, 4 + 2)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(3 + 1, 4 + 1)), face);
    EXPECT_EQ(QColor(image.pixel(3 + 15, 4 + 15)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(3 + 16, 4 + 16)), face);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(12, 12));
    image = grabbed(*button);
    EXPECT_EQ(QColor(image.pixel(3 + 16, 4 + 16)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(3 + 2, 4 + 2)), face);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 12));
}

TEST(StyleSpeedButton, SingleGlyphLooksEtchedWhenDisabled) {
    Panel panel;
    auto* restart = panel.add(4);
    QImage glyph(18, 18, QImage::Format_ARGB32);
    glyph.fill(QColor(200, 0, 0));
    restart->setGlyph(glyph);
    panel.show();
    restart->setEnabled(false);
    const QImage image = grabbed(*restart);
    EXPECT_EQ(image.pixel(12, 12), paletteColour(*restart, QPalette::Button).darker(150).rgb());
    EXPECT_NE(QColor(image.pixel(12, 12)), QColor(200, 0, 0));
}

// On the game's silver tool panel every shipped glyph, disabled, shows the same symbol in grey: most of
// the enabled symbol's pixels are clearly darker than the face, and none keeps a colour.
TEST(StyleSpeedButton, EveryDisabledGlyphReadsAsTheSameSymbolGreyed) {
    Panel panel;
    QPalette silver = panel.window.palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    silver.setColor(QPalette::Button, QColor(192, 192, 192));
    panel.window.setPalette(silver);
    auto* button = panel.add(4);
    panel.show();
    const int face = 192;
    for (const pictures::GlyphStrip& strip : pictures::AllGlyphStrips) {
        const QImage glyphs(QString::fromLatin1(strip.path));
        ASSERT_FALSE(glyphs.isNull()) << strip.name;
        button->setGeometry(4, 4, std::max(24, strip.width + 2), 25); // the Tolvar button is wider
        button->setGlyph(glyphs, strip.count);
        button->setEnabled(false);
        const QImage disabled = grabbed(*button);
        const QImage normal = glyphs.copy(0, 0, strip.width, strip.height);
        const QPoint at((button->width() - strip.width + 1) / 2, (button->height() - strip.height + 1) / 2);
        int symbol = 0;
        int greyed = 0;
        for (int y = 0; y < strip.height; ++y) {
            for (int x = 0; x < strip.width; ++x) {
                const QRgb shown = disabled.pixel(at.x() + x, at.y() + y);
                EXPECT_LE(std::max({qRed(shown), qGreen(shown), qBlue(shown)}) -
                              std::min({qRed(shown), qGreen(shown), qBlue(shown)}),
                          8)
                    << strip.name << " keeps a colour at " << x << "," << y;
                if (qAlpha(normal.pixel(x, y)) < 160)
                    continue;
                ++symbol;
                greyed += qGray(shown) <= face - 40;
            }
        }
        ASSERT_GT(symbol, 0) << strip.name;
        EXPECT_GE(greyed * 10, symbol * 8) << strip.name << ": " << greyed << " of " << symbol << " greyed";
        button->setEnabled(true);
    }
}

TEST(StyleSpeedButton, FlatUntilThePointerIsOver) {
    Panel panel;
    auto* button = panel.add(4);
    panel.show();
    const QColor light = paletteColour(*button, QPalette::Light);
    const QColor face = paletteColour(*button, QPalette::Button);
    const QColor dark = paletteColour(*button, QPalette::Dark);

    FrameColours frame = frameOf(*button);
    EXPECT_EQ(frame.outerUpperLeft, face);
    EXPECT_EQ(frame.outerLowerRight, face);

    pointerEnters(*button);
    EXPECT_TRUE(button->pointerInside());
    frame = frameOf(*button);
    EXPECT_EQ(frame.outerUpperLeft, light);
    EXPECT_EQ(frame.innerUpperLeft, face);
    EXPECT_EQ(frame.innerLowerRight, face);
    EXPECT_EQ(frame.outerLowerRight, dark);

    // Each line ends exactly at the three points that describe it.
    const QImage image = grabbed(*button);
    EXPECT_EQ(QColor(image.pixel(0, 0)), light);
    EXPECT_EQ(QColor(image.pixel(22, 0)), light);
    EXPECT_EQ(QColor(image.pixel(23, 0)), dark);
    EXPECT_EQ(QColor(image.pixel(0, 23)), light);
    EXPECT_EQ(QColor(image.pixel(0, 24)), dark);

    pointerLeaves(*button);
    EXPECT_EQ(frameOf(*button).outerUpperLeft, face);
}

TEST(StyleSpeedButton, HeldDownButtonIsSunkenOnlyUnderThePointer) {
    Panel panel;
    auto* sound = panel.add(52);
    sound->setGroupIndex(1);
    sound->setAllowAllUp(true);
    sound->setDown(true);
    panel.show();
    const QColor light = paletteColour(*sound, QPalette::Light);
    const QColor face = paletteColour(*sound, QPalette::Button);
    const QColor dark = paletteColour(*sound, QPalette::Dark);

    EXPECT_EQ(frameOf(*sound).outerUpperLeft, face);
    pointerEnters(*sound);
    const FrameColours frame = frameOf(*sound);
    EXPECT_EQ(frame.outerUpperLeft, dark);
    EXPECT_EQ(frame.outerLowerRight, light);
    pointerLeaves(*sound);
    EXPECT_EQ(frameOf(*sound).outerLowerRight, face);
}

TEST(StyleSpeedButton, BeingPressedIsSunkenAndDisabledIsFlat) {
    Panel panel;
    auto* button = panel.add(4);
    panel.show();
    const QColor face = paletteColour(*button, QPalette::Button);
    const QColor dark = paletteColour(*button, QPalette::Dark);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(frameOf(*button).outerUpperLeft, dark);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 12));

    button->setEnabled(false);
    pointerEnters(*button);
    const FrameColours frame = frameOf(*button);
    EXPECT_EQ(frame.outerUpperLeft, face);
    EXPECT_EQ(frame.outerLowerRight, face);
}

TEST(StyleSpeedButton, ClassicStylesAlwaysShowAFrame) {
    Panel panel;
    auto* button = panel.add(4);
    button->setStyle(bsWin31);
    panel.show();
    EXPECT_EQ(frameOf(*button).outerUpperLeft, paletteColour(*button, QPalette::Light));
}

TEST(StyleSpeedButton, GroupOfOneThatMayNotBeAllUp) {
    Panel panel;
    auto* a = panel.add(4);
    auto* b = panel.add(28);
    auto* other = panel.add(52);
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    other->setGroupIndex(2);
    other->setAllowAllUp(true);
    other->setDown(true);
    panel.show();
    QSignalSpy clicksOfB(b, &QAbstractButton::clicked);

    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(a->Down());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(other->Down()); // another group is left alone

    // A group that may not be all up keeps its button down, and the click is still reported.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicksOfB.count(), 2);
    b->setDown(false);
    EXPECT_TRUE(b->Down());
}

TEST(StyleSpeedButton, ToggleThatMayBeUpAndPushButtons) {
    Panel panel;
    auto* edit = panel.add(76);
    auto* restart = panel.add(4);
    edit->setGroupIndex(2);
    edit->setAllowAllUp(true);
    panel.show();
    QSignalSpy clicks(edit, &QAbstractButton::clicked);

    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(edit->Down());
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(edit->Down());
    EXPECT_EQ(clicks.count(), 2);

    restart->setDown(true);
    EXPECT_FALSE(restart->Down());
    QTest::mouseClick(restart, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(restart->Down());
    EXPECT_EQ(restart->state(), TButtonState::bsUp);
}

TEST(StyleSpeedButton, MouseDownReportsEveryButtonButOnlyTheLeftOneClicks) {
    Panel panel;
    auto* peg = panel.add(100);
    panel.show();
    QSignalSpy downs(peg, &TStyleSpeedButton::mouseDown);
    QSignalSpy clicks(peg, &QAbstractButton::clicked);

    QTest::mouseClick(peg, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseClick(peg, Qt::MiddleButton, {}, QPoint(10, 10));
    QTest::mouseClick(peg, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(downs.count(), 3);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(downs.at(1).at(0).value<Qt::MouseButton>(), Qt::MiddleButton);
    EXPECT_EQ(clicks.count(), 1);

    // Released away from the button: no click.
    QTest::mousePress(peg, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(peg, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(clicks.count(), 1);
}
