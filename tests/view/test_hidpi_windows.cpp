// SPDX-License-Identifier: GPL-3.0-or-later
// The about box, the message windows and the editor's introduction on a screen of pixel ratio 2:
// their pictures are shown at the device pixels from the pictures the generator drew at 2x, and a
// picture not drawn for them is scaled smoothly, never doubled pixel for pixel.
#include <gtest/gtest.h>

#include <QLabel>

#include "TestPictures.h"
#include "view/FinePicture.h"
#include "view/PictureFile.h"
#include "view/Pictures.h"
#include "windows/AboutWindow.h"
#include "windows/DialogLook.h"
#include "windows/EditorIntroWindow.h"
#include "windows/QuestionWindow.h"

namespace {

const QString Built = QStringLiteral(TOLVAR_PROGRAM_DIR "/");

using testpics::Plain;

QImage Doubled(const QImage& image) {
    return Plain(image).scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// How many of the 2 x 2 blocks of device pixels inside `rect` (in logical pixels) are not of one
// colour: none in a 1x picture doubled pixel for pixel.
int MixedBlocks(const QImage& fine, const QRect& rect) {
    int mixed = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = fine.pixel(2 * x, 2 * y);
            mixed += c != fine.pixel(2 * x + 1, 2 * y) || c != fine.pixel(2 * x, 2 * y + 1) ||
                     c != fine.pixel(2 * x + 1, 2 * y + 1);
        }
    return mixed;
}

QRect Device(const QRect& logical) {
    return {logical.topLeft() * 2, logical.size() * 2};
}

TEST(HiDpiAboutBox, ShowsTheTitleAndTheIconDrawnAt2x) {
    TInfoDialog about;
    about.show();
    const QImage shown = Plain(about.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(TInfoDialog::ClientWidth, TInfoDialog::ClientHeight) * 2);

    const QImage title(QString::fromLatin1(pictures::Title));
    const QImage fineTitle(fine_picture::NameFor(QString::fromLatin1(pictures::Title)));
    ASSERT_TRUE(DrawnFor(fineTitle, title));
    const QRect titlePlace = about.Image1()->geometry();
    EXPECT_EQ(about.Image1()->pixmap().devicePixelRatio(), 2.0);
    EXPECT_EQ(shown.copy(Device(titlePlace)), Plain(fineTitle));
    EXPECT_NE(shown.copy(Device(titlePlace)), Doubled(title));
    EXPECT_GE(MixedBlocks(shown, titlePlace), 101 * 77 / 4);

    // The icon stands on the dialog's face with transparent corners: compared where it is opaque.
    const QImage icon = QImage(QString::fromLatin1(pictures::Icon)).convertToFormat(QImage::Format_ARGB32);
    const QImage fineIcon = QImage(fine_picture::NameFor(QString::fromLatin1(pictures::Icon)))
                                .convertToFormat(QImage::Format_ARGB32);
    ASSERT_TRUE(DrawnFor(fineIcon, icon));
    const QRect iconPlace = about.Image4()->geometry();
    const QImage iconShown = shown.copy(Device(iconPlace));
    int opaque = 0;
    int unlikeDrawn = 0;
    int unlikeDoubled = 0;
    for (int y = 0; y < fineIcon.height(); ++y)
        for (int x = 0; x < fineIcon.width(); ++x) {
            if (qAlpha(fineIcon.pixel(x, y)) != 255)
                continue;
            ++opaque;
            unlikeDrawn += iconShown.pixel(x, y) != fineIcon.pixel(x, y);
            unlikeDoubled += iconShown.pixel(x, y) != icon.pixel(x / 2, y / 2);
        }
    EXPECT_GE(opaque, 74 * 74 / 2);
    EXPECT_EQ(unlikeDrawn, 0);
    EXPECT_GE(unlikeDoubled, opaque / 4);
    EXPECT_GE(MixedBlocks(shown, iconPlace.adjusted(4, 4, -4, -4)), 29 * 29 / 4);
}

TEST(HiDpiAboutBox, BuiltInPicturesKeepTheirLogicalSizeAtEveryRatio) {
    const QImage title(QString::fromLatin1(pictures::Title));
    const QImage fineTitle(fine_picture::NameFor(QString::fromLatin1(pictures::Title)));
    EXPECT_EQ(Plain(dialoglook::BuiltInPicture(pictures::Title, 1).toImage()), Plain(title));
    EXPECT_EQ(dialoglook::BuiltInPicture(pictures::Title, 1).devicePixelRatio(), 1.0);
    // Above 2 and at a fractional ratio the 2x picture is scaled smoothly to the device pixels.
    for (const qreal ratio : {1.5, 3.0}) {
        const QPixmap picture = dialoglook::BuiltInPicture(pictures::Title, ratio);
        const QSize device = (QSizeF(title.size()) * ratio).toSize();
        EXPECT_EQ(picture.size(), device) << ratio;
        EXPECT_EQ((QSizeF(picture.size()) / picture.devicePixelRatio()).toSize(), title.size()) << ratio;
        EXPECT_EQ(Plain(picture.toImage()),
                  Plain(fineTitle.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)))
            << ratio;
    }
    EXPECT_TRUE(dialoglook::BuiltInPicture(":/pictures/none.png", 2).isNull());

    // A picture the 2x one was not drawn for is scaled smoothly from itself.
    QImage other = title.convertToFormat(QImage::Format_RGB32);
    other.invertPixels();
    const QImage fine = PictureForRatio(other, fineTitle, 2);
    EXPECT_EQ(fine.devicePixelRatio(), 2.0);
    EXPECT_EQ(Plain(fine), Plain(other.scaled(202, 154, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    EXPECT_GT(MixedBlocks(Plain(fine), other.rect()), 101 * 77 / 4);
    EXPECT_EQ(Plain(PictureForRatio(title, fineTitle, 2)), Plain(fineTitle));
}

// A question window showing a question's figure, without waiting for an answer.
struct ShownQuestion : TYesNoDialog {
    using TYesNoDialog::TYesNoDialog;
    void showQuestion(int code) {
        activate(code, 0, nullptr);
        show();
    }
};

// Question 0 shows figure 2 at (20, 25); the window is its 300 x 150 background. In device pixels:
constexpr QRect FigurePlace(20, 25, 60, 98);
constexpr QRect FigureInAtlas(120, 150, 60, 98);
constexpr QPoint FinePlace = FigurePlace.topLeft() * 2;
constexpr QPoint FineFigure = FigureInAtlas.topLeft() * 2;
constexpr QPoint FineMask = QPoint(360, 150) * 2;
constexpr QSize FineSize = FigurePlace.size() * 2;
constexpr QPoint FineFigureZero = QPoint(0, 150) * 2;

struct FigureCompared {
    int figurePixels = 0; // unlike the background: the figure's
    int unlike = 0;       // unlike what the mask and the figure make of the background
};

// Compares the figure's place, FineSize device pixels at `place` of `shown`, with AND of a mask and
// OR of the figure at `figure` of the 2x atlas `fine` on `background(d)`, d the offset in the figure.
// With `maskOfAtlas` the mask is the atlas's own; else (a mask scaled smoothly, then made black or
// white again) each pixel may be under either.
template <typename Background>
FigureCompared CompareFigure(const QImage& shown, QPoint place, const QImage& fine, QPoint figure,
                             bool maskOfAtlas, Background background) {
    FigureCompared compared;
    for (int y = 0; y < FineSize.height(); ++y)
        for (int x = 0; x < FineSize.width(); ++x) {
            const QPoint d(x, y);
            const QRgb pixel = shown.pixel(place + d);
            const QRgb underBlack = fine.pixel(figure + d);
            const QRgb underWhite = background(d) | underBlack;
            const bool drawn =
                maskOfAtlas ? pixel == ((fine.pixel(FineMask + d) & 0xFFFFFFu) == 0 ? underBlack : underWhite)
                            : pixel == underBlack || pixel == underWhite;
            compared.figurePixels += pixel != background(d);
            compared.unlike += !drawn;
        }
    return compared;
}

TEST(HiDpiMessageWindows, DrawTheBackgroundAndTheFigureFromTheAtlasDrawnAt2x) {
    const QImage atlas = LoadPictureFile(Built + "b5.bmp");
    ASSERT_FALSE(atlas.isNull());
    ShownQuestion question;
    ASSERT_EQ(question.fineScale(), 2);
    const QImage fineAtlas = Plain(LoadFinePicture(Built + "b5.bmp", atlas, question.fineScale()));
    const QImage drawn = Plain(QImage(Built + "b5@2x.png"));
    ASSERT_EQ(fineAtlas, drawn) << "the atlas drawn at 2x is taken";
    question.setAtlas(atlas, fineAtlas);
    question.showQuestion(0);
    const QImage shown = Plain(question.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(600, 300));

    // The frame and the parchment along the top, away from the text and the buttons.
    const QRect top(0, 0, 300, 8);
    EXPECT_EQ(shown.copy(Device(top)), drawn.copy(Device(top)));
    EXPECT_GE(MixedBlocks(shown, top), 300 * 8 / 3);
    // Under the black of the fine mask the fine figure shows, elsewhere the fine background.
    const FigureCompared figure = CompareFigure(shown, FinePlace, drawn, FineFigure, true,
                                                [&drawn](QPoint d) { return drawn.pixel(FinePlace + d); });
    EXPECT_EQ(figure.unlike, 0);
    EXPECT_GT(figure.figurePixels, FineSize.width() * FineSize.height() / 2);
    EXPECT_GE(MixedBlocks(shown, FigurePlace), 60 * 98 / 4);
    EXPECT_NE(shown.copy(Device(FigurePlace)), Doubled(atlas.copy(FigureInAtlas)));
}

TEST(HiDpiMessageWindows, ScaleAPlayersAtlasSmoothlyAndKeepItsMaskSharp) {
    // A player's own atlas: the shipped one with its figures tinted, which the 2x one was not drawn for.
    QImage own = LoadPictureFile(Built + "b5.bmp").convertToFormat(QImage::Format_RGB32);
    for (int y = FigureInAtlas.top(); y <= FigureInAtlas.bottom(); ++y)
        for (int x = 0; x < 5 * FigureInAtlas.width(); ++x)
            own.setPixel(x, y, own.pixel(x, y) & 0xFFFF00FFu);
    for (const QImage& fine : {LoadFinePicture(Built + "b5.bmp", own, 2), QImage()}) {
        ShownQuestion question;
        ASSERT_EQ(question.fineScale(), 2);
        question.setAtlas(own, fine);
        question.showQuestion(0);
        const QImage shown = Plain(question.grab().toImage());
        const QImage smooth =
            Plain(own.scaled(own.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        const QRect top(0, 0, 300, 8);
        EXPECT_EQ(shown.copy(Device(top)), smooth.copy(Device(top)));
        // The sharpened mask: each device pixel of the figure's place is the smooth figure (under
        // the mask's black) or the smooth background with the figure ORed on (under its white),
        // never what AND would make of a grey mask.
        const FigureCompared figure =
            CompareFigure(shown, FinePlace, smooth, FineFigure, false,
                          [&smooth](QPoint d) { return smooth.pixel(FinePlace + d); });
        EXPECT_EQ(figure.unlike, 0);
        EXPECT_GT(figure.figurePixels, FineSize.width() * FineSize.height() / 2);
        EXPECT_GE(MixedBlocks(shown, FigurePlace), 60 * 98 / 8);

        // The editor's introduction draws figure 0 on its face the same way.
        TEditInfoDlg intro;
        intro.setAtlas(own, fine);
        const QImage box = Plain(intro.box()->grab().toImage());
        const QRgb face = intro.box()->palette().color(QPalette::Window).rgb();
        const FigureCompared inBox =
            CompareFigure(box, {0, 0}, smooth, FineFigureZero, false, [face](QPoint) { return face; });
        EXPECT_EQ(inBox.unlike, 0);
        EXPECT_GT(inBox.figurePixels, FineSize.width() * FineSize.height() / 2);
        EXPECT_GE(MixedBlocks(box, QRect(0, 0, 60, 98)), 60 * 98 / 8);
    }
}

TEST(HiDpiEditorIntro, DrawsFigureZeroFromTheAtlasDrawnAt2x) {
    const QImage atlas = LoadPictureFile(Built + "b5.bmp");
    ASSERT_FALSE(atlas.isNull());
    TEditInfoDlg intro;
    ASSERT_EQ(intro.fineScale(), 2);
    const QImage drawn = Plain(QImage(Built + "b5@2x.png"));
    intro.setAtlas(atlas, LoadFinePicture(Built + "b5.bmp", atlas, intro.fineScale()));
    intro.show();
    const QImage shown = Plain(intro.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(TEditInfoDlg::ClientWidth, TEditInfoDlg::ClientHeight) * 2);
    ASSERT_EQ(intro.box()->geometry(), QRect(24, 36, 69, 117));
    const QImage box = shown.copy(Device(intro.box()->geometry()));

    const QRgb face = intro.box()->palette().color(QPalette::Window).rgb();
    const FigureCompared figure =
        CompareFigure(box, {0, 0}, drawn, FineFigureZero, true, [face](QPoint) { return face; });
    EXPECT_EQ(figure.unlike, 0);
    EXPECT_GT(figure.figurePixels, FineSize.width() * FineSize.height() / 2);
    EXPECT_GE(MixedBlocks(box, QRect(0, 0, 60, 98)), 60 * 98 / 4);
    EXPECT_NE(box.copy(QRect(QPoint(0, 0), FineSize)), Doubled(atlas.copy(0, 150, 60, 98)));
    // Right of and below the figure the box shows its face only.
    int besideFigure = 0;
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            besideFigure += (x >= FineSize.width() || y >= FineSize.height()) && box.pixel(x, y) != face;
    EXPECT_EQ(besideFigure, 0);
}

} // namespace
