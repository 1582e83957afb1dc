// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "TestPictures.h"
#include "view/Raster.h"
#include "view/Sprites.h"

namespace {

// A canvas like the board area, the peg pictures of the test background, and a sprite on it.
struct SpriteFixture {
    QImage pictures = testpics::MakeBackground();
    QImage canvas = pictures.copy(0, 0, 500, 333);
    const QImage original = canvas;
    std::vector<QRect> changes;
    tSprite sprite{canvas, 24, 24, [this](const QRect& r) {
                       changes.push_back(r);
                   }};

    SpriteFixture() {
        sprite.SetMask(&pictures, 788, 272);
        sprite.SetImage(&pictures, 500 + 24 * 5, 272);
    }

    // The original canvas with the sprite drawn at its corner: (under AND mask) OR image.
    QImage expectedWithSprite() const {
        QImage expected = original;
        for (int v = 0; v < 24; ++v)
            for (int u = 0; u < 24; ++u) {
                const int x = sprite.x() + u, y = sprite.y() + v;
                if (!expected.rect().contains(x, y))
                    continue;
                const QRgb mask = testpics::MaskColour(u, v, 24);
                const QRgb image = testpics::PegColour(5, u, v, 24);
                expected.setPixel(x, y, (original.pixel(x, y) & mask) | image);
            }
        return expected;
    }
};

} // namespace

TEST(Sprite, ShowDrawsTheMaskedPegAndHideRestoresTheCanvas) {
    SpriteFixture f;
    ASSERT_TRUE(f.sprite.IsReady());
    f.sprite.MoveTo(100, 50);
    EXPECT_EQ(f.canvas, f.original); // invisible: moving draws nothing
    f.sprite.Show();
    EXPECT_TRUE(f.sprite.isVisible());
    EXPECT_EQ(f.canvas, f.expectedWithSprite());
    ASSERT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.changes[0], QRect(100, 50, 24, 24));
    f.sprite.Show(); // a second Show draws nothing more
    EXPECT_EQ(f.changes.size(), 1u);
    f.sprite.Hide();
    EXPECT_FALSE(f.sprite.isVisible());
    EXPECT_EQ(f.canvas, f.original);
    f.sprite.Hide(); // hiding an invisible sprite does nothing
    EXPECT_EQ(f.changes.size(), 2u);
}

TEST(Sprite, NearMovesRedrawTheUnionInOneCopy) {
    SpriteFixture f;
    f.sprite.MoveTo(100, 100);
    f.sprite.Show();
    ASSERT_TRUE(f.sprite.Grab(112, 112));
    f.changes.clear();
    f.sprite.DragTo(115, 110); // a usual mouse step
    ASSERT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.changes[0], QRect(100, 98, 27, 26));
    EXPECT_EQ(QPoint(f.sprite.x(), f.sprite.y()), QPoint(103, 98));
    EXPECT_EQ(f.canvas, f.expectedWithSprite());

    f.changes.clear();
    f.sprite.DragTo(215, 113); // 100 to the right and 3 down is still a near move
    ASSERT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.changes[0].size(), QSize(124, 27));
    EXPECT_EQ(f.canvas, f.expectedWithSprite());

    f.changes.clear();
    f.sprite.DragTo(215 + 23, 113 + 40); // less than 24 across: near
    EXPECT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.canvas, f.expectedWithSprite());
}

TEST(Sprite, FarMovesRestoreThenDraw) {
    SpriteFixture f;
    f.sprite.MoveTo(10, 10);
    f.sprite.Show();
    f.changes.clear();
    f.sprite.MoveTo(34, 34); // 24 both ways: far
    ASSERT_EQ(f.changes.size(), 2u);
    EXPECT_EQ(f.changes[0], QRect(10, 10, 24, 24));
    EXPECT_EQ(f.changes[1], QRect(34, 34, 24, 24));
    EXPECT_EQ(f.canvas, f.expectedWithSprite());
    f.sprite.Hide();
    EXPECT_EQ(f.canvas, f.original);
}

TEST(Sprite, ARandomDragOverEveryEdgeLeavesTheCanvasAsItWas) {
    SpriteFixture f;
    f.sprite.MoveTo(200, 150);
    f.sprite.Show();
    ASSERT_TRUE(f.sprite.Grab(212, 162));
    std::mt19937 random(99);
    std::uniform_int_distribution<int> step(-30, 30);
    std::uniform_int_distribution<int> jump(-80, 580);
    int px = 212, py = 162;
    for (int n = 0; n < 400; ++n) {
        if (n % 25 == 0) {
            px = jump(random);
            py = jump(random) * 333 / 500;
        } else {
            px += step(random);
            py += step(random);
        }
        f.sprite.DragTo(px, py);
        ASSERT_EQ(QPoint(f.sprite.x(), f.sprite.y()), QPoint(px - 12, py - 12));
        ASSERT_EQ(f.canvas, f.expectedWithSprite()) << "step " << n << " at " << px << "," << py;
    }
    f.sprite.Release();
    f.sprite.Hide();
    EXPECT_EQ(f.canvas, f.original);
}

TEST(Sprite, GrabAndMoveToFollowTheirRules) {
    SpriteFixture f;
    EXPECT_TRUE(f.sprite.Grab(5, 5)); // invisible: true, but nothing grabbed
    EXPECT_FALSE(f.sprite.isGrabbed());
    f.sprite.MoveTo(50, 60);
    f.sprite.Show();
    EXPECT_FALSE(f.sprite.Grab(49, 60)); // outside
    EXPECT_FALSE(f.sprite.Grab(74, 60));
    EXPECT_FALSE(f.sprite.isGrabbed());
    f.sprite.DragTo(100, 100); // no grab: nothing
    EXPECT_EQ(QPoint(f.sprite.x(), f.sprite.y()), QPoint(50, 60));

    EXPECT_TRUE(f.sprite.Grab(73, 83)); // the last pixel inside
    EXPECT_EQ(f.sprite.grabOffset(), QPoint(23, 23));
    EXPECT_TRUE(f.sprite.Grab(0, 0)); // already grabbed: true, unchanged
    EXPECT_EQ(f.sprite.grabOffset(), QPoint(23, 23));
    f.sprite.MoveTo(50, 60); // the corner it has: nothing, the grab stays
    EXPECT_TRUE(f.sprite.isGrabbed());
    f.sprite.MoveTo(51, 60); // another corner ends the grab
    EXPECT_FALSE(f.sprite.isGrabbed());
    EXPECT_EQ(f.sprite.grabOffset(), QPoint(0, 0));
    EXPECT_EQ(f.canvas, f.expectedWithSprite());
    EXPECT_TRUE(f.sprite.HitTest(51, 60));
    EXPECT_FALSE(f.sprite.HitTest(75, 60));
}

TEST(Sprite, APickAtTwelveTwelveShowsAtTheCornerItAlreadyHas) {
    SpriteFixture f;
    f.sprite.MoveTo(12 - 12, 12 - 12);
    f.sprite.Show();
    EXPECT_TRUE(f.sprite.Grab(12, 12));
    EXPECT_EQ(QPoint(f.sprite.x(), f.sprite.y()), QPoint(0, 0));
    EXPECT_EQ(f.canvas, f.expectedWithSprite());
}

TEST(Sprite, ASpriteThatIsNotReadyDoesNothing) {
    QImage canvas = testpics::MakeBackground().copy(0, 0, 100, 100);
    const QImage original = canvas;
    QImage pictures = testpics::MakeBackground();
    tSprite noMask(canvas, 24, 24);
    noMask.SetImage(&pictures, 500, 272);
    EXPECT_FALSE(noMask.IsReady());
    noMask.MoveTo(10, 10);
    noMask.Show();
    EXPECT_FALSE(noMask.Grab(0, 0));
    EXPECT_EQ(QPoint(noMask.x(), noMask.y()), QPoint(0, 0));
    EXPECT_FALSE(noMask.isVisible());

    tSprite empty(canvas, 0, 24); // no save-under can be made
    empty.SetImage(&pictures, 500, 272);
    empty.SetMask(&pictures, 788, 272);
    EXPECT_FALSE(empty.IsReady());
    empty.Show();
    EXPECT_EQ(canvas, original);

    tSprite negative(canvas, -24, -24); // sizes are taken as absolute values
    EXPECT_EQ(QSize(negative.width(), negative.height()), QSize(24, 24));
}

TEST(Sprite, PicturesTooSmallForTheSpriteAreClippedNotOverread) {
    QImage canvas = testpics::MakeBackground().copy(0, 0, 60, 60);
    const QImage original = canvas;
    QImage tiny(5, 5, QImage::Format_RGB32);
    tiny.fill(Qt::white);
    tSprite sprite(canvas, 24, 24);
    sprite.SetImage(&tiny, 3, 3);
    sprite.SetMask(&tiny, -100, 0);
    sprite.MoveTo(40, 40);
    sprite.Show();
    sprite.MoveTo(45, 41);
    sprite.Hide();
    EXPECT_EQ(canvas, original);
}
