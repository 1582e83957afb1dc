// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>

#include <random>

#include "TestPictures.h"
#include "view/BoardArea.h"
#include "view/BoardPainter.h"
#include "view/Raster.h"
#include "view/Sprites.h"
#include "view/StatusPanel.h"

namespace {

// Counts the paint events a widget receives and remembers the last rectangle.
class PaintCounter : public QObject {
public:
    int count = 0;
    QRect lastRect;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            lastRect = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

QImage Shown(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(BoardArea, ShowsItsPictureAndRepaintsAtOnce) {
    BoardArea box;
    EXPECT_EQ(box.size(), QSize(500, 333));
    EXPECT_TRUE(box.testAttribute(Qt::WA_OpaquePaintEvent));
    box.image() = testpics::MakeBackground().copy(0, 0, 500, 333);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(Shown(box), box.image());

    PaintCounter counter;
    box.installEventFilter(&counter);
    raster::SetPixelAt(box.image(), 40, 30, 0xFFFF00FFu);
    box.repaintRect(QRect(35, 25, 10, 10));
    EXPECT_EQ(counter.count, 1); // synchronous: no event loop ran in between
    EXPECT_EQ(counter.lastRect, QRect(35, 25, 10, 10));
    box.repaintRect(QRect(600, 600, 10, 10)); // outside: nothing to paint
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(Shown(box).pixel(40, 30), 0xFFFF00FFu);
}

TEST(BoardArea, ReportsMouseDownMoveAndUpWithPositionAndButton) {
    BoardArea box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy down(&box, &BoardArea::mouseDown);
    QSignalSpy moved(&box, &BoardArea::mouseMoved);
    QSignalSpy up(&box, &BoardArea::mouseUp);
    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseMove(&box, QPoint(33, 44));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, QPoint(35, 47));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].toPoint(), QPoint(30, 40));
    EXPECT_EQ(down[0][1].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(down[0][2].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    ASSERT_GE(moved.count(), 1);
    EXPECT_EQ(moved.last()[0].toPoint(), QPoint(33, 44));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up[0][0].toPoint(), QPoint(35, 47));
    EXPECT_EQ(up[0][1].value<Qt::MouseButton>(), Qt::RightButton);
}

TEST(BoardArea, ADragOnTheRealWidgetLeavesTheBoardAsItWas) {
    BoardArea box;
    QImage background = testpics::MakeBackground();
    BoardPainter painter(box.image(), [&box](const QRect& r) { box.repaintRect(r); });
    painter.setBackground(background);
    LevelRecord record;
    Position cells{};
    cells.fill(1);
    cells[24] = 2;
    const BoardInputs in{cells, record, false, 1, 2};
    painter.boxPaint(in);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    // Pick: the cell becomes a hole first, so the save-under holds the hole.
    cells[24] = 1;
    painter.DrawCell(in, 24);
    const QImage board = box.image();
    tSprite sprite(box.image(), 24, 24, [&box](const QRect& r) { box.repaintRect(r); });
    sprite.SetMask(&painter.background(), 788, 272);
    sprite.SetImage(&painter.background(), 500 + 24 * 1, 272);
    sprite.MoveTo(200 - 12, 150 - 12);
    sprite.Show();
    ASSERT_TRUE(sprite.Grab(200, 150));
    EXPECT_NE(Shown(box), board);
    for (int step = 1; step <= 30; ++step)
        sprite.DragTo(200 + 3 * step, 150 + 2 * step);
    EXPECT_EQ(Shown(box), box.image()); // every change reached the screen
    sprite.Release();
    sprite.Hide();
    EXPECT_EQ(box.image(), board);
    EXPECT_EQ(Shown(box), board);
}

TEST(BoardArea, TheRemovalEffectShowsItsProgressWhileItPauses) {
    BoardArea box;
    QImage background = testpics::MakeBackground();
    BoardPainter painter(box.image(), [&box](const QRect& r) { box.repaintRect(r); });
    painter.setBackground(background);
    LevelRecord record;
    Position cells{};
    cells.fill(2);
    const BoardInputs in{cells, record, false, 1, 2};
    painter.boxPaint(in);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    cells[20] = 1;
    int pauses = 0;
    std::mt19937 random(5);
    painter.RemovalEffect(in, 20, random, {{}, [&](int) {
                                               ++pauses;
                                               // What the player sees is what has been written so far.
                                               ASSERT_EQ(Shown(box), box.image());
                                           }});
    EXPECT_EQ(pauses, 28);
    EXPECT_EQ(Shown(box), box.image());
}

namespace {

// The numbs column a timbox pixel was copied from, or -1 when it is not from numbs.
int SourceColumn(QRgb pixel) {
    if (qBlue(pixel) != 0x99)
        return -1;
    return qRed(pixel) | ((qGreen(pixel) >> 6) << 8);
}

// The six places of the display as the numbs columns they show, checked pixel by pixel.
struct Places {
    int first, second, third, diagonal, original, solved;
};

::testing::AssertionResult ShowsPlaces(const QImage& timbox, const Places& expected) {
    const struct {
        int x, width, source;
    } places[] = {{0, 11, expected.first},     {12, 11, expected.second},   {24, 11, expected.third},
                  {38, 20, expected.diagonal}, {62, 13, expected.original}, {80, 12, expected.solved}};
    QImage want(TimboxWidth, TimboxHeight, QImage::Format_RGB32);
    want.fill(Qt::black);
    for (const auto& place : places)
        for (int y = 0; y < 20; ++y)
            for (int u = 0; u < place.width; ++u)
                want.setPixel(place.x + u, y, testpics::NumbsColour(place.source + u, y));
    for (int y = 0; y < TimboxHeight; ++y)
        for (int x = 0; x < TimboxWidth; ++x)
            if (timbox.pixel(x, y) != want.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "at " << x << "," << y << " source column " << SourceColumn(timbox.pixel(x, y))
                       << " expected " << SourceColumn(want.pixel(x, y));
    return ::testing::AssertionSuccess();
}

QImage DrawnDisplay(const StatusValues& values) {
    QImage timbox = raster::MakePicture(TimboxWidth, TimboxHeight);
    DrawMovesDisplay(timbox, testpics::MakeNumbs(), values);
    return timbox;
}

StatusValues Left(int par, int moves) {
    StatusValues v;
    v.Par = static_cast<std::uint8_t>(par);
    v.MoveCount = static_cast<std::uint8_t>(moves);
    return v;
}

} // namespace

TEST(MovesDisplay, CounterDigitsAndSign) {
    const int blank = 110, minus = 150, noDiag = 110, noPadlock = 114, worried = 201;
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(9, 2)), {blank, blank, 77, noDiag, noPadlock, worried})); // 7
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(12, 0)), {blank, 11, 22, noDiag, noPadlock, worried}));   // 12
    EXPECT_TRUE(
        ShowsPlaces(DrawnDisplay(Left(10, 13)), {blank, minus, 33, noDiag, noPadlock, worried}));       // -3
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(2, 14)), {minus, 11, 22, noDiag, noPadlock, worried}));   // -12
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(5, 5)), {blank, blank, 0, noDiag, noPadlock, worried}));  // 0
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(5, 6)), {blank, minus, 11, noDiag, noPadlock, worried})); // -1
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(0, 10)), {minus, 11, 0, noDiag, noPadlock, worried}));    // -10
    // Beyond two digits the display stops at 99 instead of reading past the digits.
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(255, 0)), {blank, 99, 99, noDiag, noPadlock, worried}));
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(Left(0, 255)), {minus, 99, 99, noDiag, noPadlock, worried}));
}

TEST(MovesDisplay, Indicators) {
    StatusValues v = Left(3, 0);
    v.Diagonal = 1;
    v.Original = true;
    v.Solved = true;
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(v), {110, 110, 33, 130, 213, 189}));
    v.Diagonal = 200; // a damaged flag still means "allowed" and reads the arrows, nothing beyond
    v.Original = false;
    EXPECT_TRUE(ShowsPlaces(DrawnDisplay(v), {110, 110, 33, 130, 114, 189}));
}

TEST(StatusPanel, LaysOutTheDisplayAndDrawsFromTheCurrentValues) {
    QWidget panel1;
    panel1.resize(500, 33);
    StatusPanel status(testpics::MakeNumbs(), &panel1);
    StatusValues values = Left(9, 2);
    status.setSource([&values] { return values; });
    status.MovesLabel()->setText(QStringLiteral("Moves:"));
    panel1.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel1));

    auto inPanel1 = [&](QWidget* w) {
        return QRect(w->mapTo(&panel1, QPoint(0, 0)), w->size());
    };
    EXPECT_EQ(inPanel1(status.timbox()), QRect(224, 7, 113, 20));
    EXPECT_EQ(inPanel1(status.MovesLabel()), QRect(184, 10, 37, 16));
    EXPECT_EQ(inPanel1(status.movshape()), QRect(216, 4, 45, 25));
    EXPECT_EQ(inPanel1(status.DiagShape()), QRect(260, 4, 25, 25));
    EXPECT_EQ(inPanel1(status.OrigShape()), QRect(284, 4, 21, 25));
    EXPECT_EQ(inPanel1(status.SolvShape()), QRect(304, 4, 17, 25));
    EXPECT_EQ(status.MovesLabel()->font().pixelSize(), 12);
    EXPECT_EQ(status.MovesLabel()->palette().color(QPalette::WindowText), QColor(0, 255, 0));

    QImage shown = Shown(panel1);
    EXPECT_TRUE(ShowsPlaces(shown.copy(224, 7, 113, 20), {110, 110, 77, 110, 114, 201}));
    // The black `tim` shows round the timbox and between the label and the numbers.
    EXPECT_EQ(shown.pixel(181, 6), 0xFF000000u);
    EXPECT_EQ(shown.pixel(222, 8), 0xFF000000u);
    EXPECT_EQ(shown.pixel(336, 28), 0xFF000000u);
    // The lowered frame `Bevel1` (181, 4, 158 x 26): its light edges are its last column and row.
    const QRgb light = status.palette().color(QPalette::Light).rgb();
    const QRgb dark = status.palette().color(QPalette::Dark).rgb();
    ASSERT_NE(light, dark);
    for (int y = 4; y <= 29; ++y)
        EXPECT_EQ(shown.pixel(338, y), light) << "right edge, y = " << y;
    for (int x = 181; x <= 338; ++x)
        EXPECT_EQ(shown.pixel(x, 29), light) << "bottom edge, x = " << x;
    for (int x = 181; x < 338; ++x)
        EXPECT_EQ(shown.pixel(x, 4), dark) << "top edge, x = " << x;
    // Some lime text is drawn for the label.
    int lime = 0;
    for (int y = 10; y < 26; ++y)
        for (int x = 184; x < 221; ++x)
            lime += qGreen(shown.pixel(x, y)) > 128 && qRed(shown.pixel(x, y)) < 100;
    EXPECT_GT(lime, 10);

    values = Left(2, 14);
    values.Solved = true;
    status.movesboxPaint();
    EXPECT_TRUE(ShowsPlaces(Shown(*status.timbox()), {150, 11, 22, 110, 114, 189}));
}
