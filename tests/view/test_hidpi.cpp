// SPDX-License-Identifier: GPL-3.0-or-later
// The board area and the tool buttons on a screen of pixel ratio 2: drawn at the device pixels from the
// pictures the generator drew at 2x, while their 1x pictures stay exactly what the 1x drawing makes.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <random>

#include "TestPictures.h"
#include "view/BoardArea.h"
#include "view/BoardOverlay.h"
#include "view/BoardPainter.h"
#include "view/FinePicture.h"
#include "view/PictureFile.h"
#include "view/Raster.h"
#include "view/Sprites.h"
#include "view/ToolButton.h"

namespace {

const QString Built = QStringLiteral(TOLVAR_PROGRAM_DIR "/");

using testpics::Plain;

// A size-7 square board: pegs of both colours, empty holes, and the target with pegs and holes.
LevelRecord Board() {
    LevelRecord record;
    record.Shape = 0;
    record.Size = 7;
    for (int cell = 0; cell < CellCount; ++cell) {
        record.StartCells[cell] =
            static_cast<CellCode>(cell % 3 == 0 ? EmptyHole : FirstColourPeg + cell % 2);
        record.TargetCells[cell] = static_cast<CellCode>(cell % 4 == 0 ? FirstColourPeg : EmptyHole);
    }
    return record;
}

// How many of the `scale` x `scale` blocks of device pixels inside `rect` (in board pixels) are not
// of one colour: none in a 1x picture enlarged pixel for pixel.
int MixedBlocks(const QImage& fine, const QRect& rect, int scale = 2) {
    int mixed = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = fine.pixel(scale * x, scale * y);
            bool one = true;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    one = one && fine.pixel(scale * x + dx, scale * y + dy) == c;
            mixed += !one;
        }
    return mixed;
}

// The board area with the painter drawing into both of its pictures, and a 1x painter beside it.
struct Scene {
    BoardArea box;
    BoardPainter painter{box, [this](const QRect& r) {
                             box.repaintRect(r);
                         }};
    QImage plain = raster::MakePicture(500, 333);
    BoardPainter plainPainter{plain, {}};
    QImage picture = LoadPictureFile(Built + "b1.bmp");
    LevelRecord record = Board();
    Position cells = record.StartCells;

    Scene() {
        const QImage fine = LoadFinePicture(Built + "b1.bmp", picture, box.fineScale());
        painter.setBackground(picture, fine);
        plainPainter.setBackground(picture);
        box.show();
    }
    BoardInputs inputs() const { return {cells, record, false, 1, 8}; }
    void paint() {
        painter.boxPaint(inputs());
        plainPainter.boxPaint(inputs());
    }
};

TEST(HiDpiBoard, IsDrawnAtTheDevicePixelsWhileThe1xPictureStaysAsItWas) {
    Scene scene;
    ASSERT_EQ(scene.box.fineScale(), 2);
    ASSERT_NE(scene.box.fineImage(), nullptr);
    // The background drawn at 2x was taken, not the 1x one scaled.
    const QImage drawn(Built + "b1@2x.png");
    ASSERT_EQ(drawn.size(), QSize(2360, 666));
    EXPECT_EQ(Plain(scene.painter.fineBackground()), Plain(drawn));

    scene.paint();
    EXPECT_EQ(scene.box.image(), scene.plain);
    const QImage shown = Plain(scene.box.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(1000, 666));
    EXPECT_EQ(shown, Plain(*scene.box.fineImage()));

    const QImage doubled = scene.plain.scaled(1000, 666, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0;
    for (int y = 0; y < 666; ++y)
        for (int x = 0; x < 1000; ++x)
            differing += shown.pixel(x, y) != doubled.pixel(x, y);
    EXPECT_GE(differing, 1000 * 666 / 10);

    // A peg of each colour and a target peg: their edges blend over device pixels, not blocks.
    const QRect firstPeg = PlaceOf(scene.record, 1).bigField();
    const QRect secondPeg = PlaceOf(scene.record, 2).bigField();
    const QRect targetPeg = PlaceOf(scene.record, 0).smallField();
    EXPECT_GE(MixedBlocks(shown, firstPeg), 24 * 24 / 4);
    EXPECT_GE(MixedBlocks(shown, secondPeg), 24 * 24 / 4);
    EXPECT_GE(MixedBlocks(shown, targetPeg), 12 * 12 / 4);
}

TEST(HiDpiBoard, TheDragSpriteAndTheRemovalEffectDrawAtTheDevicePixelsAndLeaveNoTrace) {
    Scene scene;
    scene.paint();
    const QImage board = scene.box.image();
    const QImage fineBoard = *scene.box.fineImage();

    tSprite sprite(scene.box.image(), 24, 24, [&scene](const QRect& r) { scene.box.repaintRect(r); });
    scene.painter.dressPegSprite(sprite, 8);
    sprite.MoveTo(200, 150);
    sprite.Show();
    // The fine peg of design 8 over the board, through the fine mask, at a sprite place.
    const QImage& fineBack = scene.painter.fineBackground();
    const auto pegAt = [&](QPoint at) {
        QImage expected = fineBoard.copy(2 * at.x(), 2 * at.y(), 48, 48);
        raster::Blit(expected, 0, 0, fineBack, 2 * 788, 2 * 272, 48, 48, raster::Op::And);
        raster::Blit(expected, 0, 0, fineBack, 2 * (500 + 24 * 8), 2 * 272, 48, 48, raster::Op::Or);
        return expected;
    };
    const auto shownAt = [&](QPoint at) {
        return scene.box.fineImage()->copy(2 * at.x(), 2 * at.y(), 48, 48);
    };
    EXPECT_EQ(shownAt({200, 150}), pegAt({200, 150}));
    EXPECT_GE(MixedBlocks(*scene.box.fineImage(), QRect(200, 150, 24, 24)), 24 * 24 / 4);

    ASSERT_TRUE(sprite.Grab(212, 162));
    sprite.DragTo(219, 166); // overlapping its old place
    EXPECT_EQ(shownAt({207, 154}), pegAt({207, 154}));
    sprite.DragTo(400, 40); // far from it
    EXPECT_EQ(Plain(scene.box.grab().toImage()), Plain(*scene.box.fineImage()));
    sprite.Hide();
    EXPECT_EQ(scene.box.image(), board);
    EXPECT_EQ(*scene.box.fineImage(), fineBoard);

    // A jumped peg dissolves into the hole the fresh drawing shows, at both scales.
    const int cell = 1;
    scene.cells[cell] = EmptyHole;
    std::mt19937 random(7);
    scene.painter.RemovalEffect(scene.inputs(), cell, random, {});
    const QImage removed = scene.box.image();
    const QImage fineRemoved = *scene.box.fineImage();
    scene.paint();
    EXPECT_EQ(removed, scene.plain);
    EXPECT_EQ(fineRemoved, *scene.box.fineImage());
    EXPECT_NE(fineRemoved, fineBoard);
}

TEST(FinePicture, APlayersOwnPictureIsScaledSmoothlyAndEveryRatioGetsAWholeScale) {
    QTemporaryDir dir;
    const QString path = dir.filePath("b1.bmp");
    ASSERT_TRUE(QFile::copy(Built + "b1.bmp", path));
    ASSERT_TRUE(QFile::copy(Built + "b1@2x.png", fine_picture::NameFor(path)));
    const QImage shipped = LoadPictureFile(path);
    const QImage drawn = Plain(QImage(fine_picture::NameFor(path)));
    EXPECT_EQ(Plain(LoadFinePicture(path, shipped, 2)), drawn);
    EXPECT_EQ(Plain(LoadFinePicture(path, shipped, 3)),
              Plain(drawn.scaled(3540, 999, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    EXPECT_TRUE(LoadFinePicture(path, shipped, 1).isNull());

    // A fine picture of another size, or one that is no PNG, is not taken even with the right mark.
    const QImage smoothly = Plain(shipped.scaled(2360, 666, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QImage wrongSize = drawn.copy(0, 0, 2360, 664);
    wrongSize.setText(fine_picture::DrawnForKey, QString::fromLatin1(fine_picture::Fingerprint(shipped)));
    ASSERT_TRUE(wrongSize.save(fine_picture::NameFor(path), "PNG"));
    EXPECT_EQ(Plain(LoadFinePicture(path, shipped, 2)), smoothly);
    ASSERT_TRUE(drawn.save(fine_picture::NameFor(path), "BMP"));
    EXPECT_EQ(Plain(LoadFinePicture(path, shipped, 2)), smoothly);
    ASSERT_TRUE(QFile::remove(fine_picture::NameFor(path)));
    ASSERT_TRUE(QFile::copy(Built + "b1@2x.png", fine_picture::NameFor(path)));

    // The player's own picture no longer matches the one the fine picture was drawn for.
    const QImage own = testpics::MakeBackground();
    ASSERT_TRUE(own.save(path, "BMP"));
    const QImage loaded = LoadPictureFile(path);
    const QImage fine = Plain(LoadFinePicture(path, loaded, 2));
    EXPECT_EQ(fine, Plain(loaded.scaled(2360, 666, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    EXPECT_NE(fine, Plain(loaded.scaled(2360, 666, Qt::IgnoreAspectRatio, Qt::FastTransformation)));

    // Its masks stay black or white, so AND and OR still cut the pegs out.
    BoardArea box;
    BoardPainter painter(box, {});
    painter.setBackground(loaded, fine);
    const QImage& back = painter.fineBackground();
    for (const QRect mask : {QRect(1576, 544, 48, 48), QRect(1288, 592, 24, 24)})
        for (int y = mask.top(); y <= mask.bottom(); ++y)
            for (int x = mask.left(); x <= mask.right(); ++x) {
                const QRgb c = back.pixel(x, y) & 0xFFFFFFu;
                ASSERT_TRUE(c == 0 || c == 0xFFFFFFu) << x << "," << y;
            }

    EXPECT_EQ(FineScaleFor(1.0), 1);
    EXPECT_EQ(FineScaleFor(1.25), 2);
    EXPECT_EQ(FineScaleFor(1.5), 2);
    EXPECT_EQ(FineScaleFor(1.75), 2);
    EXPECT_EQ(FineScaleFor(2.0), 2);
    EXPECT_EQ(FineScaleFor(2.5), 3);
    EXPECT_EQ(FineScaleFor(4.0), 3);
}

} // namespace

namespace {

// A strip's first glyph drawn at `at` (in logical pixels) on a button face of `size` logical pixels,
// both at `scale` device pixels per logical one.
QImage GlyphOnFace(const QImage& strip, int count, QSize size, QPoint at, int scale, const QColor& face) {
    QImage expected(size * scale, QImage::Format_RGB32);
    expected.fill(face);
    QImage glyph = strip.copy(0, 0, strip.width() / count, strip.height());
    glyph.setDevicePixelRatio(1); // a picture read from an "@2x" file says it is for a ratio of 2
    QPainter p(&expected);
    p.drawImage(at * scale, glyph);
    return expected;
}

QImage Rendered1x(TStyleSpeedButton& button) {
    QImage image(button.size(), QImage::Format_RGB32);
    button.render(&image);
    return image;
}

} // namespace

TEST(HiDpiToolButton, PaintsTheFineGlyphAtTheDevicePixelsAndScalesAPlainStripSmoothly) {
    const pictures::GlyphStrip& strip = pictures::RestartBtn;
    const QImage coarse(QString::fromLatin1(strip.path));
    const QImage fine(pictures::FineGlyphPath(strip));
    ASSERT_EQ(fine.size(), coarse.size() * 2);

    TStyleSpeedButton shipped;
    shipped.setGlyph(strip);
    TStyleSpeedButton plain; // a strip without a fine one beside it
    plain.setGlyph(coarse, strip.count);
    for (TStyleSpeedButton* button : {&shipped, &plain}) {
        button->resize(22, 23);
        button->show();
    }
    const QColor face = shipped.palette().color(QPalette::Button);
    const QRect glyphRect(2, 3, strip.width, strip.height); // centred on the 22 x 23 face

    const QImage fineShown = Plain(shipped.grab().toImage());
    ASSERT_EQ(fineShown.size(), QSize(44, 46));
    const QRect device(glyphRect.topLeft() * 2, glyphRect.size() * 2);
    EXPECT_EQ(fineShown.copy(device),
              GlyphOnFace(fine, strip.count, {22, 23}, glyphRect.topLeft(), 2, face).copy(device));
    EXPECT_GT(MixedBlocks(fineShown, glyphRect), 20);

    const QImage smooth = Plain(plain.grab().toImage());
    EXPECT_GT(MixedBlocks(smooth, glyphRect), 20) << "the 1x strip doubled pixel for pixel";
    EXPECT_NE(smooth.copy(device), fineShown.copy(device));

    // At 1x both show the 1x glyph exactly as before.
    const QImage coarseShown = Rendered1x(shipped);
    EXPECT_EQ(coarseShown, Rendered1x(plain));
    EXPECT_EQ(coarseShown.copy(glyphRect),
              GlyphOnFace(coarse, strip.count, {22, 23}, glyphRect.topLeft(), 1, face).copy(glyphRect));
}

// At every fine scale of the board area (ratios 3 and 4 draw at 3), not only at 2.
TEST(HiDpiOverlays, TheRingAndTheMarkAreDrawnAtTheDevicePixelsInTheShapeOfTheir1xPieces) {
    const QPoint at(10, 20);
    for (const MaskedPicture& piece : {CursorRingPicture(), DeadEndMarkPicture()}) {
        BoardOverlays overlays;
        overlays.show(BoardOverlays::Cursor, piece, at);
        const QRect rect = overlays.rect(BoardOverlays::Cursor);
        ASSERT_EQ(rect.size(), piece.picture.size());
        QImage coarse = raster::MakePicture(60, 60);
        coarse.fill(Qt::white);
        overlays.drawInto(coarse, {}, 1);
        for (int scale = 2; scale <= MaskedPicture::LargestScale; ++scale) {
            QImage fine = raster::MakePicture(60 * scale, 60 * scale);
            fine.fill(Qt::white);
            overlays.drawInto(fine, {}, scale);

            EXPECT_GT(MixedBlocks(fine, rect, scale), 30) << "the 1x piece enlarged pixel for pixel";
            // Where the 1x piece covers a board pixel the fine one covers some of its device pixels,
            // and where it leaves it free some stay free: the same shape in the same place, edges aside.
            int apart = 0;
            int covered = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    const bool under = coarse.pixel(x, y) != QColor(Qt::white).rgb();
                    int fineUnder = 0;
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            fineUnder +=
                                fine.pixel(scale * x + dx, scale * y + dy) != QColor(Qt::white).rgb();
                    covered += under;
                    apart += under ? fineUnder == 0 : fineUnder == scale * scale;
                }
            EXPECT_GT(covered, 100);
            EXPECT_LE(apart, covered / 20) << scale;
        }
    }
}
