// SPDX-License-Identifier: GPL-3.0-or-later
// Playing on a screen of pixel ratio 2 (this program runs with QT_SCALE_FACTOR=2): the mouse is read
// in the board's own pixels and the board is shown from its pictures drawn at 2x.
#include <QFile>
#include <QTest>
#include <QWindow>

#include "GameFixture.h"
#include "view/BoardArea.h"
#include "view/PictureFile.h"
#include "view/Pictures.h"
#include "view/Raster.h"
#include "view/StatusPanel.h"

namespace {

class HiDpiGame : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        for (const QString name : {"b1@2x.png", "b2@2x.png"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOLVAR_PROGRAM_DIR "/") + name, programPath() + name));
    }

    // The fine picture as a full repaint of the game's present state draws it.
    QImage freshFineBoard(const TMainForm& form) const {
        BoardArea area;
        BoardPainter painter(area, {});
        const QImage& picture = form.backgroundPicture();
        const Session& session = form.session();
        const QString file = programPath() + QStringLiteral("b%1.bmp").arg(session.background() + 1);
        painter.setBackground(picture, LoadFinePicture(file, picture, area.fineScale()));
        painter.boxPaint({session.play().Cells, session.currentRecord(), session.mode() == ModeEditing,
                          session.firstDesign(), session.secondDesign()});
        return *area.fineImage();
    }
};

QImage Plain(const QImage& image) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1);
    return copy;
}

TEST_F(HiDpiGame, AMouseJumpWorksAndTheBoardIsShownAtTheDevicePixelsOnEitherBackground) {
    auto form = startEnglishGame();
    BoardArea& box = *form->box();
    ASSERT_EQ(box.fineScale(), 2);
    ASSERT_NE(box.fineImage(), nullptr);
    EXPECT_EQ(*box.fineImage(), freshFineBoard(*form));

    drag(*form, cellCentre(0), {cellCentre(0) + QPoint(5, 3), cellCentre(1)}, cellCentre(2));
    EXPECT_EQ(form->session().play().JumpCount, 1);
    EXPECT_EQ(form->session().play().Cells[0], EmptyHole);
    EXPECT_EQ(form->session().play().Cells[1], EmptyHole);
    EXPECT_EQ(form->session().play().Cells[2], FirstColourPeg);
    EXPECT_EQ(box.image(), freshBoard(*form));
    EXPECT_EQ(*box.fineImage(), freshFineBoard(*form)) << "no trace of the sprite or the removal";
    const QImage shown = Plain(box.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(1000, 666));
    EXPECT_EQ(shown, Plain(*box.fineImage()));

    // The stone board, in the window's logical pixels as the corner is at 1x.
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, QPoint(400, 320));
    ASSERT_EQ(form->session().background(), 1);
    EXPECT_EQ(*box.fineImage(), freshFineBoard(*form));
    EXPECT_NE(*box.fineImage(), Plain(shown));
}

TEST_F(HiDpiGame, TheMovesDisplayShowsItsDigitsDrawnAtTwiceThePixels) {
    auto form = startEnglishGame();
    drag(*form, cellCentre(0), {}, cellCentre(2));
    const StatusPanel& panel = *form->statusPanel();
    ASSERT_EQ(panel.fineScale(), 2);
    const QImage drawn = Plain(QImage(QString::fromLatin1(pictures::FineNumbs)));
    ASSERT_EQ(drawn.size(), QSize(600, 40));
    EXPECT_EQ(Plain(panel.fineNumbs()), drawn);

    QImage expected = raster::MakePicture(2 * TimboxWidth, 2 * TimboxHeight);
    DrawMovesDisplay(expected, drawn, panel.values(), 2);
    const QImage shown = Plain(panel.timbox()->grab().toImage());
    EXPECT_EQ(shown, expected);
    QImage plain = raster::MakePicture(TimboxWidth, TimboxHeight);
    DrawMovesDisplay(plain, panel.numbs(), panel.values());
    EXPECT_NE(shown, plain.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation))
        << "not the 1x digits doubled";
    EXPECT_NE(shown, raster::MakePicture(2 * TimboxWidth, 2 * TimboxHeight)) << "not blank";
}

} // namespace
