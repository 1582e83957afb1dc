// SPDX-License-Identifier: GPL-3.0-or-later
// The layout contract of every generated picture, sound and help file: what the game reads from
// them must be where it looks, and masked pieces must compose exactly with AND and OR.
#include "Layout.h"
#include "view/FinePicture.h"
#include "view/Pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

namespace {

const QString ProgramDir = QStringLiteral(TOLVAR_PROGRAM_DIR);

QImage load(const QString& name) {
    return QImage(ProgramDir + "/" + name).convertToFormat(QImage::Format_RGB32);
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;

// Counts the pixels of a piece whose mask is white (background shows) and checks the picture is
// black there and the mask holds only black and white.
::testing::AssertionResult composesExactly(const QImage& image, int pictureX, int pictureY, int maskX,
                                           int maskY, int size) {
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb mask = at(image, maskX + x, maskY + y);
            if (mask != White && mask != Black)
                return ::testing::AssertionFailure()
                       << "mask pixel (" << x << ", " << y << ") is neither black nor white";
            if (mask == White && at(image, pictureX + x, pictureY + y) != Black)
                return ::testing::AssertionFailure()
                       << "picture at (" << pictureX << ", " << pictureY << ") is not black at (" << x << ", "
                       << y << ") under a white mask";
        }
    }
    return ::testing::AssertionSuccess();
}

int countMask(const QImage& image, int maskX, int maskY, int w, int h, QRgb value) {
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            n += at(image, maskX + x, maskY + y) == value;
    return n;
}

struct Mean {
    double r, g, b;
};

Mean meanUnderMask(const QImage& image, int px, int py, int mx, int my, int size) {
    Mean m{0, 0, 0};
    int n = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (at(image, mx + x, my + y) != Black)
                continue;
            const QRgb c = image.pixel(px + x, py + y);
            m.r += qRed(c);
            m.g += qGreen(c);
            m.b += qBlue(c);
            ++n;
        }
    }
    return {m.r / n, m.g / n, m.b / n};
}

double distance(Mean a, Mean b) {
    return std::sqrt(std::pow(a.r - b.r, 2) + std::pow(a.g - b.g, 2) + std::pow(a.b - b.b, 2));
}

// Board offsets of a cell as the board drawing computes them.
struct Offset {
    int x, y;
};

Offset bigOffset(int c, int r, int s, bool hex) {
    if (!hex)
        return {32 * c + 16 * (9 - s), 32 * r + 16 * (9 - s)};
    return {32 * c + 16 * (9 - s) + (r % 2) * 16, 28 * r + 14 * (9 - s) + 16};
}

Offset smallOffset(int c, int r, int s, bool hex) {
    if (!hex)
        return {16 * c + 8 * (9 - s), 16 * r + 8 * (9 - s)};
    return {16 * c + 8 * (9 - s) + (r % 2) * 8, 14 * r + 7 * (9 - s) + 8};
}

bool onBoard(int c, int r, int s, bool hex) {
    return c < s && r < s && (!hex || r % 2 == 0 || c + 1 < s);
}

class BackgroundPicture : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        image = load(GetParam());
        ASSERT_FALSE(image.isNull()) << GetParam();
    }
    QImage image;
};

TEST_P(BackgroundPicture, IsLargeEnoughForEveryRegion) {
    EXPECT_GE(image.width(), 1180);
    EXPECT_GE(image.height(), 333);
}

TEST_P(BackgroundPicture, EveryPegComposesExactlyWithItsMask) {
    for (int d = 0; d < 12; ++d) {
        EXPECT_TRUE(composesExactly(image, 500 + 24 * d, 272, 788, 272, 24)) << "big design " << d;
        EXPECT_TRUE(composesExactly(image, 500 + 12 * d, 296, 644, 296, 12)) << "small design " << d;
    }
}

TEST_P(BackgroundPicture, MasksShowARoundPieceWithBackgroundAtTheCorners) {
    const int bigCovered = countMask(image, 788, 272, 24, 24, Black);
    EXPECT_GT(bigCovered, 300); // a ball of about 21 pixels across
    EXPECT_LT(bigCovered, 24 * 24 - 40);
    EXPECT_EQ(at(image, 788, 272), White);
    EXPECT_EQ(at(image, 788 + 23, 272), White);
    EXPECT_EQ(at(image, 788 + 12, 272 + 12), Black);
    const int smallCovered = countMask(image, 644, 296, 12, 12, Black);
    EXPECT_GT(smallCovered, 70);
    EXPECT_EQ(at(image, 644, 296), White);
    EXPECT_EQ(at(image, 644 + 6, 296 + 6), Black);
}

TEST_P(BackgroundPicture, EditingMarkerLiesOnDesignTwoAndStandsOutOnTheBoard) {
    // The marker (553, 280) is at (5, 8) inside big design 2, under the black part of the mask.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(at(image, 788 + 5 + x, 272 + 8 + y), Black);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const QRgb marker = image.pixel(553 + x, 280 + y);
            const int boardGrey = qGray(image.pixel(166, 166));
            EXPECT_GT(std::abs(qGray(marker) - boardGrey), 60) << "marker pixel " << x << ", " << y;
        }
    }
}

TEST_P(BackgroundPicture, TwelveDesignsAreDistinctEvenWhenSmall) {
    for (int a = 0; a < 12; ++a) {
        for (int b = a + 1; b < 12; ++b) {
            const Mean big1 = meanUnderMask(image, 500 + 24 * a, 272, 788, 272, 24);
            const Mean big2 = meanUnderMask(image, 500 + 24 * b, 272, 788, 272, 24);
            EXPECT_NE(image.copy(500 + 24 * a, 272, 24, 24), image.copy(500 + 24 * b, 272, 24, 24));
            const Mean small1 = meanUnderMask(image, 500 + 12 * a, 296, 644, 296, 12);
            const Mean small2 = meanUnderMask(image, 500 + 12 * b, 296, 644, 296, 12);
            // Designs that share a colour family must still differ in texture at full size.
            EXPECT_GT(distance(small1, small2) + distance(big1, big2), 20.0) << a << " vs " << b;
        }
    }
}

TEST_P(BackgroundPicture, DefaultDesignsContrast) {
    const Mean first = meanUnderMask(image, 500 + 24, 272, 788, 272, 24);
    const Mean second = meanUnderMask(image, 500 + 48, 272, 788, 272, 24);
    EXPECT_GT(distance(first, second), 120.0);
}

// Outside the drilled hole, a hole picture is the board background at the place it is drawn, for
// every cell of every size and shape; inside, it is darker.
TEST_P(BackgroundPicture, BigHolesMatchTheBackgroundAtTheirCells) {
    for (bool hex : {false, true}) {
        for (int s = 5; s <= 9; ++s) {
            for (int r = 0; r < s; ++r) {
                for (int c = 0; c < s; ++c) {
                    if (!onBoard(c, r, s, hex))
                        continue;
                    const Offset o = bigOffset(c, r, s, hex);
                    const int hx = (hex ? 772 : 500) + o.x, hy = o.y;
                    int mismatches = 0;
                    for (int y = 0; y < 16; ++y) {
                        for (int x = 0; x < 16; ++x) {
                            // Hexagonal rows are 14 apart, so rows 0, 1, 14 and 15 are shared with the
                            // hole pictures of neighbouring sizes and must be plain background.
                            const double d = std::hypot(x + 0.5 - 8.0, y + 0.5 - 8.0);
                            const bool outside = d > 7.0 || y < 2 || y > 13;
                            if (outside && at(image, hx + x, hy + y) != at(image, o.x + 30 + x, o.y + 30 + y))
                                ++mismatches;
                        }
                    }
                    EXPECT_EQ(mismatches, 0)
                        << (hex ? "hex" : "square") << " size " << s << " cell " << c << "," << r;
                    EXPECT_LT(qGray(image.pixel(hx + 8, hy + 8)), qGray(image.pixel(o.x + 38, o.y + 38)));
                }
            }
        }
    }
}

TEST_P(BackgroundPicture, SmallHolesMatchTheBackgroundAtTheirCells) {
    for (bool hex : {false, true}) {
        for (int s = 5; s <= 9; ++s) {
            for (int r = 0; r < s; ++r) {
                for (int c = 0; c < s; ++c) {
                    if (!onBoard(c, r, s, hex))
                        continue;
                    const Offset o = smallOffset(c, r, s, hex);
                    const int hx = 1044 + o.x, hy = (hex ? 136 : 0) + o.y;
                    int mismatches = 0;
                    for (int y = 0; y < 8; ++y)
                        for (int x = 0; x < 8; ++x)
                            if ((x == 0 || y == 0 || x == 7 || y == 7) &&
                                at(image, hx + x, hy + y) != at(image, o.x + 330 + x, o.y + 34 + y))
                                ++mismatches;
                    EXPECT_EQ(mismatches, 0)
                        << (hex ? "hex" : "square") << " size " << s << " cell " << c << "," << r;
                    EXPECT_LT(qGray(image.pixel(hx + 4, hy + 4)), qGray(image.pixel(o.x + 334, o.y + 38)));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothBackgrounds, BackgroundPicture, ::testing::Values("b1.bmp", "b2.bmp"));

TEST(Backgrounds, WoodAndStoneLookDifferent) {
    const QImage wood = load("b1.bmp");
    const QImage stone = load("b2.bmp");
    ASSERT_FALSE(wood.isNull());
    ASSERT_FALSE(stone.isNull());
    // Wood is warm (more red than blue), stone is cool.
    const QRgb w = wood.pixel(166, 166), s = stone.pixel(166, 166);
    EXPECT_GT(qRed(w) - qBlue(w), 40);
    EXPECT_LT(qRed(s) - qBlue(s), 10);
}

// At 1x and as drawn at 2x for screens of a higher pixel ratio, every place multiplied by the scale.
TEST(SpriteAtlas, HoldsTheMessageBackgroundAndFiveMaskedFigures) {
    for (const auto& [name, s] : {std::pair{"b5.bmp", 1}, std::pair{"b5@2x.png", 2}}) {
        SCOPED_TRACE(name);
        const QImage atlas = load(name);
        ASSERT_FALSE(atlas.isNull());
        EXPECT_GE(atlas.width(), 420 * s);
        EXPECT_GE(atlas.height(), 248 * s);
        const int w = 60 * s, h = 98 * s;
        int maskWhite = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb m = at(atlas, 360 * s + x, 150 * s + y);
                ASSERT_TRUE(m == White || m == Black) << x << ", " << y;
                maskWhite += m == White;
            }
        }
        EXPECT_GT(maskWhite, 50 * s * s); // the background shows round the figures
        EXPECT_LT(maskWhite, w * h / 3);  // but most of the place is the figure
        std::set<QByteArray> looks;
        for (int k = 0; k < 5; ++k) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (at(atlas, 360 * s + x, 150 * s + y) == White) {
                        ASSERT_EQ(at(atlas, w * k + x, 150 * s + y), Black)
                            << "figure " << k << " at " << x << ", " << y;
                    }
            const QImage figure = atlas.copy(w * k, 150 * s, w, h);
            looks.insert(
                QByteArray(reinterpret_cast<const char*>(figure.constBits()), int(figure.sizeInBytes())));
        }
        EXPECT_EQ(looks.size(), 5u);
        // The message text is black: the window background behind it must be light.
        EXPECT_GT(qGray(atlas.pixel(190 * s, 50 * s)), 180);
    }
}

TEST(Splash, IsTwoHundredByOneHundredFifty) {
    const QImage splash = load("b0.bmp");
    ASSERT_FALSE(splash.isNull());
    EXPECT_EQ(splash.size(), QSize(200, 150));
}

TEST(BuiltInPictures, HaveTheirSizes) {
    const struct {
        const char* path;
        QSize size;
    } expected[] = {{pictures::Numbs, {300, 20}},
                    {pictures::Title, {101, 77}},
                    {pictures::Icon, {37, 37}},
                    {pictures::Icon256, {256, 256}},
                    {pictures::HandCursor, {32, 32}}};
    for (const auto& e : expected) {
        const QImage image(QString::fromLatin1(e.path));
        ASSERT_FALSE(image.isNull()) << e.path;
        EXPECT_EQ(image.size(), e.size) << e.path;
    }
}

// Each picture drawn at 2x beside its 1x one: twice its size, marked as drawn for it (so that a
// player's own 1x picture is never shown with it), of the same kind and drawn anew.
TEST(FinePictures, AreTwiceTheSizeAndMarkedAsDrawnForTheir1xPictures) {
    std::vector<QString> paths{ProgramDir + "/b1.bmp",
                               ProgramDir + "/b2.bmp",
                               ProgramDir + "/b5.bmp",
                               QString::fromLatin1(pictures::Numbs),
                               QString::fromLatin1(pictures::Title),
                               QString::fromLatin1(pictures::Icon)};
    for (const pictures::GlyphStrip& strip : pictures::AllGlyphStrips)
        paths.push_back(QString::fromLatin1(strip.path));
    ASSERT_EQ(paths.size(), 6u + 17u);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QImage picture(path);
        const QString finePath = fine_picture::NameFor(path);
        const QImage fine(finePath);
        ASSERT_FALSE(picture.isNull());
        ASSERT_FALSE(fine.isNull());
        EXPECT_EQ(fine.size(), picture.size() * 2);
        EXPECT_EQ(fine.text(fine_picture::DrawnForKey).toLatin1(), fine_picture::Fingerprint(picture));
        EXPECT_EQ(fine.hasAlphaChannel(), picture.hasAlphaChannel());
        // Drawn anew at 2x, not the 1x picture doubled pixel for pixel.
        EXPECT_NE(fine.convertToFormat(QImage::Format_ARGB32),
                  picture.scaled(fine.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                      .convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_EQ(fine_picture::NameFor(QString::fromLatin1(pictures::Numbs)),
              QString::fromLatin1(pictures::FineNumbs));
    EXPECT_EQ(fine_picture::NameFor(QString::fromLatin1(pictures::RestartBtn.path)),
              pictures::FineGlyphPath(pictures::RestartBtn));
}

// The menu's icons: one picture per size of the icon theme, each drawn for its size, a tile that
// nearly fills its square, with transparent corners.
TEST(MenuIcons, AreDrawnAtEveryThemeSize) {
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
    const QImage largest(QStringLiteral(TOLVAR_ICON_DIR "/hicolor/256x256/apps/tolvarpegs.png"));
    ASSERT_FALSE(largest.isNull());
    for (const int size : sizes) {
        const QString path = QStringLiteral(TOLVAR_ICON_DIR "/hicolor/%1x%1/apps/tolvarpegs.png").arg(size);
        const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size << ": a rounded tile leaves the corner clear";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 8)), 255)
            << size << ": the tile nearly fills the square";
        if (size == 256)
            continue;
        // Drawn anew, not the big picture made smaller: they differ clearly somewhere.
        const QImage shrunk = largest.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_ARGB32);
        int largestDifference = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                largestDifference = std::max(largestDifference,
                                             std::abs(qGray(icon.pixel(x, y)) - qGray(shrunk.pixel(x, y))));
        EXPECT_GT(largestDifference, 24) << size;
    }
}

TEST(BuiltInPictures, StatusDigitsUseTheirColumns) {
    const QImage numbs = QImage(pictures::Numbs).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(numbs.size(), QSize(300, 20));
    auto lit = [&numbs](int left, int width) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = left; x < left + width; ++x)
                n += at(numbs, x, y) != Black;
        return n;
    };
    std::set<QByteArray> digits;
    for (int d = 0; d < 10; ++d) {
        EXPECT_GT(lit(11 * d, 11), 5) << "digit " << d;
        const QImage digit = numbs.copy(11 * d, 0, 11, 20);
        digits.insert(QByteArray(reinterpret_cast<const char*>(digit.constBits()), int(digit.sizeInBytes())));
    }
    EXPECT_EQ(digits.size(), 10u);
    EXPECT_EQ(lit(110, 20), 0);  // blank digit, no diagonal, not original
    EXPECT_GT(lit(130, 20), 20); // diagonal arrows
    EXPECT_GT(lit(150, 11), 2);  // minus
    EXPECT_GT(lit(189, 12), 40); // smiling bulb
    EXPECT_GT(lit(201, 12), 40); // worried bulb
    EXPECT_NE(numbs.copy(189, 0, 12, 20), numbs.copy(201, 0, 12, 20));
    EXPECT_GT(lit(213, 13), 40); // padlock
    EXPECT_EQ(lit(226, 74), 0);
}

TEST(BuiltInPictures, HandPointsWithItsFingertipAtTheHotSpot) {
    const QImage hand(pictures::HandCursor);
    ASSERT_FALSE(hand.isNull());
    EXPECT_TRUE(hand.hasAlphaChannel());
    EXPECT_GT(qAlpha(hand.pixel(pictures::HandHotspotX, pictures::HandHotspotY)), 100);
    EXPECT_EQ(qAlpha(hand.pixel(pictures::HandHotspotX, 0)), 0) << "nothing above the fingertip";
    EXPECT_EQ(qAlpha(hand.pixel(31, 0)), 0);
}

TEST(GlyphStrips, HaveTheButtonsSizesAndCounts) {
    const struct {
        const char* name;
        int width, height, count;
    } expected[] = {{"RestartBtn", 18, 18, 1}, {"BackmoveBtn", 18, 18, 2}, {"SoundBtn", 16, 16, 4},
                    {"EditBtn", 16, 16, 2},    {"PegBtn", 18, 18, 1},      {"StepBtn", 18, 18, 1},
                    {"ExitBtn", 18, 18, 1},    {"HelpBtn", 18, 18, 1},     {"InfoBtn", 18, 18, 1},
                    {"TolvarBtn", 26, 20, 1},  {"LoadBtn", 16, 16, 2},     {"SaveBtn", 16, 16, 2},
                    {"InsertBtn", 16, 16, 2},  {"DeleteBtn", 18, 18, 2},   {"DownBtn", 16, 16, 2},
                    {"UpBtn", 16, 16, 2},      {"EdTongBtn", 15, 15, 1}};
    ASSERT_EQ(std::size(expected), pictures::AllGlyphStrips.size());
    for (const auto& e : expected) {
        const auto strip =
            std::find_if(pictures::AllGlyphStrips.begin(), pictures::AllGlyphStrips.end(),
                         [&e](const pictures::GlyphStrip& s) { return QByteArray(s.name) == e.name; });
        ASSERT_NE(strip, pictures::AllGlyphStrips.end()) << e.name;
        EXPECT_EQ(QString::fromLatin1(strip->path), QString(":/glyphs/%1.png").arg(e.name));
        EXPECT_EQ(strip->width, e.width) << e.name;
        EXPECT_EQ(strip->height, e.height) << e.name;
        EXPECT_EQ(strip->count, e.count) << e.name;
        const QImage image(QString::fromLatin1(strip->path));
        ASSERT_FALSE(image.isNull()) << e.name;
        EXPECT_EQ(image.size(), QSize(e.width * e.count, e.height)) << e.name;
    }
}

TEST(GlyphStrips, EveryGlyphIsDrawnAndDisabledLooksAreGrey) {
    for (const pictures::GlyphStrip& strip : pictures::AllGlyphStrips) {
        const QImage image = QImage(QString::fromLatin1(strip.path)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << strip.name;
        for (int k = 0; k < strip.count; ++k) {
            int opaque = 0;
            for (int y = 0; y < strip.height; ++y)
                for (int x = 0; x < strip.width; ++x)
                    opaque += qAlpha(image.pixel(k * strip.width + x, y)) > 128;
            EXPECT_GT(opaque, 12) << strip.name << " glyph " << k;
        }
        if (strip.count < 2)
            continue;
        // The second glyph is the disabled one: greys only, and not the same as the first.
        const QImage disabled = image.copy(strip.width, 0, strip.width, strip.height);
        for (int y = 0; y < strip.height; ++y) {
            for (int x = 0; x < strip.width; ++x) {
                const QRgb c = disabled.pixel(x, y);
                if (qAlpha(c) == 255) {
                    ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c))
                        << strip.name << " at " << x << ", " << y;
                }
            }
        }
        EXPECT_NE(disabled, image.copy(0, 0, strip.width, strip.height)) << strip.name;
    }
}

// The generator and the screenshot tool place holes and cells with these offsets; they must agree
// with the board drawing's own examples.
TEST(CellGeometry, OffsetsMatchTheBoardDrawing) {
    const layout::Offset square = layout::bigOffset(2, 2, 7, false);
    EXPECT_EQ(square.x, 96);
    EXPECT_EQ(square.y, 96);
    const layout::Offset hex = layout::bigOffset(2, 3, 7, true);
    EXPECT_EQ(hex.x, 112);
    EXPECT_EQ(hex.y, 128);
    const layout::Offset smallSquare = layout::smallOffset(2, 2, 7, false);
    EXPECT_EQ(smallSquare.x + layout::SmallFieldX, 376);
    EXPECT_EQ(smallSquare.y + layout::SmallFieldY, 80);
    const layout::Offset smallHex = layout::smallOffset(2, 3, 7, true);
    EXPECT_EQ(smallHex.x + layout::SmallFieldX, 384);
    EXPECT_EQ(smallHex.y + layout::SmallFieldY, 96);
}

TEST(CellGeometry, EveryHolePictureLiesInsideItsRegion) {
    for (bool hex : {false, true}) {
        for (int s = 5; s <= 9; ++s) {
            for (int r = 0; r < s; ++r) {
                for (int c = 0; c < s; ++c) {
                    if (!onBoard(c, r, s, hex))
                        continue;
                    const layout::Offset big = layout::bigOffset(c, r, s, hex);
                    const int top = hex ? layout::BigHexHolesY : 0;
                    const int height = hex ? layout::BigHexHolesHeight : layout::BigSquareHolesSize;
                    EXPECT_GE(big.x, 0);
                    EXPECT_LE(big.x + 16, layout::BigSquareHolesSize);
                    EXPECT_GE(big.y, top);
                    EXPECT_LE(big.y + 16, top + height);
                    const layout::Offset small = layout::smallOffset(c, r, s, hex);
                    const int sy = (hex ? layout::SmallHexSourceY : 0) + small.y;
                    const int smallTop = hex ? layout::SmallHexHolesY : 0;
                    const int smallHeight = hex ? layout::SmallHexHolesHeight : layout::SmallSquareHolesSize;
                    EXPECT_LE(small.x + 8, layout::SmallSquareHolesSize);
                    EXPECT_GE(sy, smallTop);
                    EXPECT_LE(sy + 8, smallTop + smallHeight);
                }
            }
        }
    }
}

// A minimal reader for the sound files: the layout the game's sound player expects.
struct Wave {
    bool valid = false;
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
};

Wave readWave(const QString& path) {
    QFile file(path);
    Wave w;
    if (!file.open(QIODevice::ReadOnly))
        return w;
    const QByteArray bytes = file.readAll();
    auto u16 = [&bytes](int at) {
        return int(std::uint8_t(bytes[at])) | int(std::uint8_t(bytes[at + 1])) << 8;
    };
    auto u32 = [&](int at) {
        return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16;
    };
    if (bytes.size() < 44 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE")
        return w;
    int pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const std::uint32_t size = u32(pos + 4);
        if (size > std::uint32_t(bytes.size() - pos - 8))
            return w;
        if (id == "fmt " && size >= 16) {
            w.format = u16(pos + 8);
            w.channels = u16(pos + 10);
            w.rate = int(u32(pos + 12));
            w.bits = u16(pos + 22);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            for (std::uint32_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(std::int16_t(u16(pos + 8 + int(i))));
            w.valid = true;
            return w;
        }
        pos += 8 + int(size) + int(size % 2);
    }
    return w;
}

class SoundFile : public ::testing::TestWithParam<int> {};

TEST_P(SoundFile, IsShortCleanSixteenBitPcm) {
    const Wave w = readWave(ProgramDir + QString("/w%1.wav").arg(GetParam()));
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    const double seconds = double(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, 0.03);
    EXPECT_LE(seconds, 1.2);
    int peak = 0;
    for (std::int16_t v : w.samples)
        peak = std::max(peak, std::abs(int(v)));
    EXPECT_LT(peak, 32000) << "clipped";
    EXPECT_GT(peak, 8000) << "too quiet";
    // Faded in and out: no click at either end.
    EXPECT_LT(std::abs(int(w.samples.front())), 300);
    EXPECT_LT(std::abs(int(w.samples.back())), 300);
}

INSTANTIATE_TEST_SUITE_P(EverySoundNumber, SoundFile,
                         ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14));

TEST(Sounds, AreAllDifferent) {
    std::set<std::vector<std::int16_t>> seen;
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14})
        seen.insert(readWave(ProgramDir + QString("/w%1.wav").arg(n)).samples);
    EXPECT_EQ(seen.size(), 12u);
}

// Zero crossings per second: twice the pitch of a plain tone.
double crossingsPerSecond(const Wave& w) {
    int crossings = 0;
    for (std::size_t i = 1; i < w.samples.size(); ++i)
        crossings += (w.samples[i - 1] < 0) != (w.samples[i] < 0);
    return crossings * double(w.rate) / double(w.samples.size());
}

TEST(Sounds, EditorTicksRiseWithTheCellCode) {
    double previous = 0.0;
    for (int n : {11, 12, 13, 14}) {
        const Wave w = readWave(ProgramDir + QString("/w%1.wav").arg(n));
        ASSERT_TRUE(w.valid) << n;
        const double rate = crossingsPerSecond(w);
        EXPECT_GT(rate, previous * 1.1) << "w" << n << ".wav";
        previous = rate;
    }
}

TEST(Sounds, DissolvingLastsAboutAsLongAsTheRemovalEffect) {
    const Wave w = readWave(ProgramDir + "/w7.wav");
    ASSERT_TRUE(w.valid);
    const double seconds = double(w.samples.size()) / w.rate;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.45);
}

QByteArray helpFile(const QString& name) {
    QFile f(ProgramDir + "/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Umlauts are written as entities, so the text reads the same whatever encoding the viewer assumes.
TEST(HelpFiles, AreSevenBitText) {
    for (const char* name : {"VORN.HLP", "VSER.HLP"}) {
        const QByteArray bytes = helpFile(name);
        ASSERT_FALSE(bytes.isEmpty()) << name;
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) << name;
    }
}

TEST(HelpFiles, GameHelpCoversPlayEditorAndBoardFilesInBothLanguages) {
    QTextDocument doc;
    doc.setHtml(QString::fromLatin1(helpFile("VORN.HLP")));
    const QString text = doc.toPlainText();
    const int english = text.indexOf("Tolvar Pegs \u2013 the game");
    ASSERT_GT(english, 0);
    const QString german = text.left(english);
    const QString englishText = text.mid(english);
    for (const char* word :
         {"Vorgabe", "Editor", "Zielbrett", ".vrn", "Schritt", "Originalbretter", "rechte Maustaste"})
        EXPECT_TRUE(german.contains(QString::fromUtf8(word))) << word;
    for (const char* word :
         {"par", "editor", "Target board", ".vrn", "step", "Original boards", "right mouse button"})
        EXPECT_TRUE(englishText.contains(QString::fromUtf8(word))) << word;
}

// The help window jumps to a topic by its anchor name, as QTextBrowser finds it.
std::set<QString> anchorsOf(const QString& file) {
    QFile f(ProgramDir + "/" + file);
    std::set<QString> names;
    if (!f.open(QIODevice::ReadOnly))
        return names;
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString& name : it.fragment().charFormat().anchorNames())
                names.insert(name);
    return names;
}

TEST(HelpFiles, HoldTheirTopics) {
    const std::set<QString> game = anchorsOf("VORN.HLP");
    EXPECT_EQ(game.count("Das_Spiel"), 1u);
    EXPECT_EQ(game.count("The_Game"), 1u);
    const std::set<QString> series = anchorsOf("VSER.HLP");
    EXPECT_EQ(series.count("Tolvar_Games_d"), 1u);
    EXPECT_EQ(series.count("Tolvar_Games_e"), 1u);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
