// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "TestPictures.h"
#include "view/Raster.h"

namespace {

QImage Patterned(int w, int h, QRgb salt) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, testpics::PlaceColour(x, y) ^ salt);
    return image;
}

// The obvious version, pixel by pixel over the destination, so any size can be checked.
QImage ReferenceBlit(QImage dst, long long dx, long long dy, const QImage& src, long long sx, long long sy,
                     long long w, long long h, raster::Op op) {
    for (int ty = 0; ty < dst.height(); ++ty)
        for (int tx = 0; tx < dst.width(); ++tx) {
            const long long u = tx - dx, v = ty - dy;
            if (u < 0 || v < 0 || u >= w || v >= h)
                continue;
            const long long fx = sx + u, fy = sy + v;
            if (fx < 0 || fy < 0 || fx >= src.width() || fy >= src.height())
                continue;
            const QRgb from = src.pixel(int(fx), int(fy));
            const QRgb to = dst.pixel(tx, ty);
            const QRgb result = op == raster::Op::Copy  ? from
                                : op == raster::Op::And ? (to & from)
                                                        : (to | from);
            dst.setPixel(tx, ty, result);
        }
    return dst;
}

} // namespace

TEST(Raster, OperationsAreExactBitwiseCombinations) {
    QImage dst(4, 1, QImage::Format_RGB32);
    QImage src(4, 1, QImage::Format_RGB32);
    const QRgb a = 0xFFF0F00Fu, b = 0xFF3C3CC3u;
    dst.fill(a);
    src.fill(b);
    QImage anded = dst, ored = dst, copied = dst;
    raster::Blit(anded, 0, 0, src, 0, 0, 4, 1, raster::Op::And);
    raster::Blit(ored, 0, 0, src, 0, 0, 4, 1, raster::Op::Or);
    raster::Blit(copied, 0, 0, src, 0, 0, 4, 1, raster::Op::Copy);
    EXPECT_EQ(anded.pixel(2, 0), a & b);
    EXPECT_EQ(ored.pixel(2, 0), a | b);
    EXPECT_EQ(copied.pixel(2, 0), b);
    // The destination's own copy must not leak into the implicitly shared original.
    EXPECT_EQ(dst.pixel(2, 0), a);
}

TEST(Raster, ClipsAgainstBothPicturesAtEveryEdge) {
    const QImage src = Patterned(37, 23, 0x00A5A5A5u);
    const QImage dst = Patterned(29, 31, 0x005A5A5Au);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> place(-45, 45);
    std::uniform_int_distribution<int> size(-3, 60);
    for (int round = 0; round < 3000; ++round) {
        const int dx = place(random), dy = place(random), sx = place(random), sy = place(random);
        const int w = size(random), h = size(random);
        const auto op = static_cast<raster::Op>(round % 3);
        QImage ours = dst;
        const QRect written = raster::Blit(ours, dx, dy, src, sx, sy, w, h, op);
        const QImage expected = ReferenceBlit(dst, dx, dy, src, sx, sy, w, h, op);
        ASSERT_EQ(ours, expected) << "dst " << dx << "," << dy << " src " << sx << "," << sy << " size " << w
                                  << "x" << h;
        ASSERT_TRUE(written.isEmpty() || dst.rect().contains(written));
    }
}

TEST(Raster, ExtremeCoordinatesTouchNothingOutside) {
    const QImage src = Patterned(40, 40, 0);
    const QImage dst = Patterned(40, 40, 0x00FFFFFFu);
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000, -1, 0, 39, 40, 1000000, INT_MAX - 1, INT_MAX};
    for (int a : extremes)
        for (int b : extremes) {
            QImage ours = dst;
            raster::Blit(ours, a, 0, src, 0, b, INT_MAX, INT_MAX, raster::Op::Copy);
            raster::Blit(ours, 0, a, src, b, 0, b, a, raster::Op::Or);
            const QImage expected =
                ReferenceBlit(ReferenceBlit(dst, a, 0, src, 0, b, INT_MAX, INT_MAX, raster::Op::Copy), 0, a,
                              src, b, 0, b, a, raster::Op::Or);
            ASSERT_EQ(ours, expected) << a << " " << b;
        }
    // A copy covering everything from far outside lands exactly where the pictures overlap.
    QImage ours = dst;
    const QRect written =
        raster::Blit(ours, -10, -20, src, INT_MIN / 2, INT_MIN / 2, INT_MAX, INT_MAX, raster::Op::Copy);
    EXPECT_TRUE(written.isEmpty());
    EXPECT_EQ(ours, dst);
    const QRect all = raster::Blit(ours, -10, -20, src, 0, 0, INT_MAX, INT_MAX, raster::Op::Copy);
    EXPECT_EQ(all, QRect(0, 0, 30, 20));
    EXPECT_EQ(ours.pixel(0, 0), src.pixel(10, 20));
    EXPECT_EQ(ours.pixel(29, 19), src.pixel(39, 39));
    EXPECT_EQ(ours.pixel(30, 0), dst.pixel(30, 0));
    EXPECT_EQ(ours.pixel(0, 20), dst.pixel(0, 20));
}

TEST(Raster, CopyWithinOnePictureUsesTheSourceAsItWas) {
    QImage image = Patterned(20, 20, 0);
    const QImage before = image;
    raster::Blit(image, 3, 2, image, 0, 0, 15, 15, raster::Op::Copy);
    EXPECT_EQ(image, ReferenceBlit(before, 3, 2, before, 0, 0, 15, 15, raster::Op::Copy));
}

TEST(Raster, PicturesOfOtherDepthsAndNullPicturesAreLeftAlone) {
    QImage indexed(10, 10, QImage::Format_Indexed8);
    indexed.fill(1);
    QImage dst = Patterned(10, 10, 0);
    const QImage before = dst;
    EXPECT_TRUE(raster::Blit(dst, 0, 0, indexed, 0, 0, 10, 10, raster::Op::Copy).isEmpty());
    EXPECT_TRUE(raster::Blit(dst, 0, 0, QImage(), 0, 0, 10, 10, raster::Op::Copy).isEmpty());
    QImage none;
    EXPECT_TRUE(raster::Blit(none, 0, 0, dst, 0, 0, 10, 10, raster::Op::Copy).isEmpty());
    EXPECT_EQ(dst, before);
    EXPECT_EQ(raster::PixelAt(indexed, 1, 1, 0xFFFF0000u), 0xFFFF0000u);
}

TEST(Raster, SinglePixelsOutsideThePictureAreIgnored) {
    QImage image = Patterned(5, 4, 0);
    const QImage before = image;
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 4}, {INT_MIN, INT_MAX}})
        raster::SetPixelAt(image, x, y, 0xFFFFFFFFu);
    EXPECT_EQ(image, before);
    EXPECT_EQ(raster::PixelAt(image, 5, 0, 0xFF010203u), 0xFF010203u);
    EXPECT_EQ(raster::PixelAt(image, -1, 3), 0u);
    raster::SetPixelAt(image, 4, 3, 0xFFABCDEFu);
    EXPECT_EQ(raster::PixelAt(image, 4, 3), 0xFFABCDEFu);
    EXPECT_EQ(image.pixel(4, 3), 0xFFABCDEFu);
}

TEST(Raster, MakePictureRefusesSizesItCannotHold) {
    EXPECT_TRUE(raster::MakePicture(0, 5).isNull());
    EXPECT_TRUE(raster::MakePicture(5, -1).isNull());
    const QImage picture = raster::MakePicture(3, 2);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(2, 1), 0xFF000000u);
}
