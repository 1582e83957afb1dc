// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/EditorIntroWindow.h"

#include "session/Texts.h"
#include "session/WindowTexts.h"
#include "view/PictureFile.h"
#include "view/QtText.h"
#include "windows/DialogLook.h"
#include "windows/MessageWindow.h"
#include "windows/SpriteAtlas.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <utility>

// The paint box: its own background with figure 0 drawn at its top-left corner through the mask,
// at the fine scale from the fine atlas when it has one.
class TFigureBox : public QWidget {
public:
    explicit TFigureBox(QWidget* parent) : QWidget(parent) {}

    void setAtlas(const QImage& atlas, const QImage& fineAtlas, int fineScale) {
        m_atlas = atlas.isNull() ? QImage() : atlas.convertToFormat(QImage::Format_RGB32);
        m_fineAtlas = sprite_atlas::AtScale(m_atlas, fineAtlas, fineScale);
        m_fineScale = fineScale;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const bool fine = !m_fineAtlas.isNull();
        const int s = fine ? m_fineScale : 1;
        QImage picture(size() * s, QImage::Format_RGB32);
        picture.fill(palette().color(QPalette::Window));
        sprite_atlas::DrawFigure(picture, {0, 0}, fine ? m_fineAtlas : m_atlas, 0, s);
        sprite_atlas::Present(*this, std::move(picture), s);
    }

private:
    QImage m_atlas;
    QImage m_fineAtlas; // at m_fineScale, or none on a screen of ratio 1
    int m_fineScale = 1;
};

QPoint PlaceIntro(const QRect& mainOuter, QSize client) {
    return PlaceOver(mainOuter, client);
}

TEditInfoDlg::TEditInfoDlg(const QImage& atlas, QWidget* parent) : QDialog(parent) {
    dialoglook::SetFixedDialogFrame(*this, ClientWidth, ClientHeight);
    setFont(dialoglook::SansSerif(true));
    setWindowTitle(toQString(intro_text::Caption));

    dialoglook::MakeBevel(this, {12, 12, 393, 245});
    m_box = new TFigureBox(this);
    m_box->setGeometry(24, 36, 69, 117);
    // The ratio of the screen the window opens on; on another screen Qt scales the fine drawing.
    m_fineScale = FineScaleFor(devicePixelRatioF());
    setAtlas(atlas);

    m_l1 = dialoglook::MakeLabel(this, {96, 20, 297, 13});
    m_l2 = dialoglook::MakeLabel(this, {96, 44, 297, 57}, true);
    m_l3 = dialoglook::MakeLabel(this, {96, 108, 297, 81}, true);
    m_contact1 = dialoglook::MakeLabel(this, {24, 196, 357, 13});
    m_contact1->setText(toQString(MakerName));
    m_contact2 = dialoglook::MakeLabel(this, {24, 212, 357, 13});
    m_nomore = new QCheckBox(this);
    m_nomore->setGeometry(96, 232, 265, 17);
    for (QWidget* regular : {static_cast<QWidget*>(m_l2), static_cast<QWidget*>(m_l3),
                             static_cast<QWidget*>(m_contact2), static_cast<QWidget*>(m_nomore)})
        regular->setFont(dialoglook::SansSerif(false));

    m_ok = new QPushButton(toQString(OKCaption), this);
    m_ok->setGeometry(164, 264, 77, 27);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    setLanguage(-1);
}

void TEditInfoDlg::setAtlas(const QImage& atlas, const QImage& fineAtlas) {
    m_box->setAtlas(atlas, fineAtlas, m_fineScale);
}

QWidget* TEditInfoDlg::box() const {
    return m_box;
}

bool TEditInfoDlg::showFor(int language, const QWidget* mainWindow) {
    if (mainWindow)
        move(PlaceIntro(mainWindow->frameGeometry(), size()));
    setLanguage(language);
    m_nomore->setChecked(false);
    exec();
    return !NomoreTicked();
}

bool TEditInfoDlg::NomoreTicked() const {
    return m_nomore->isChecked();
}

void TEditInfoDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_ok->setFocus();
}

void TEditInfoDlg::setLanguage(int language) {
    using namespace intro_text;
    m_l1->setText(toQString(Greeting.in(language)));
    m_l2->setText(toQString(FirstParagraph.in(language)));
    m_l3->setText(toQString(SecondParagraph.in(language)));
    m_contact2->setText(toQString(ContactWay.in(language)));
    m_nomore->setText(toQString(Nomore.in(language)));
}
