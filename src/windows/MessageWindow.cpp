// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/MessageWindow.h"

#include "view/Fonts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

#include <utility>

#include "view/GradientButton.h"
#include "view/PictureFile.h"
#include "view/QtText.h"
#include "view/Raster.h"

namespace {

constexpr QPoint FigurePlace{20, 25};

} // namespace

QPoint PlaceOver(const QRect& mainOuter, QSize client) {
    return {mainOuter.left() + (mainOuter.width() - client.width()) / 2,
            mainOuter.top() + (mainOuter.height() - client.height()) / 2};
}

TMessageWindow::TMessageWindow(const QImage& atlas, int textHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    // The ratio of the screen the window opens on; on another screen Qt scales the fine drawing.
    m_fineScale = FineScaleFor(devicePixelRatioF());
    setAtlas(atlas);

    m_msg = new QLabel(this);
    m_msg->setGeometry(96, 8, 185, textHeight);
    m_msg->setTextFormat(Qt::PlainText);
    m_msg->setWordWrap(true);
    m_msg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setBold(true);
    m_msg->setFont(font);
    QPalette palette = m_msg->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    m_msg->setPalette(palette);
}

void TMessageWindow::setAtlas(const QImage& atlas, const QImage& fineAtlas) {
    m_atlas = atlas.convertToFormat(QImage::Format_RGB32);
    m_fineAtlas = sprite_atlas::AtScale(m_atlas, fineAtlas, m_fineScale);
    update();
}

TGradButton* TMessageWindow::makeButton(int left, QColor gradColour) {
    auto* button = new TGradButton(this);
    button->setGeometry(left, 108, 69, 29);
    button->setBevelWidth(0);
    button->setGradColor(gradColour);
    button->setFontColor(QColor(255, 255, 0));
    QFont font = ClassicFont(13);
    font.setBold(true);
    button->setFont(font);
    return button;
}

void TMessageWindow::activate(int code, int language, const QWidget* over) {
    m_code = code;
    if (over)
        move(PlaceOver(over->window()->frameGeometry(), size()));
    setCaptions(language);
    const MessageText message = messageFor(code);
    m_figure = message.figure;
    m_msg->setText(toQString(message.text.in(language)));
}

// FormPaint: the background from the atlas, then the figure of the code through the shared mask;
// at the fine scale from the fine atlas, every place and size multiplied by the scale.
void TMessageWindow::paintEvent(QPaintEvent*) {
    const bool fine = !m_fineAtlas.isNull();
    const QImage& atlas = fine ? m_fineAtlas : m_atlas;
    const int s = fine ? m_fineScale : 1;
    QImage canvas(size() * s, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    raster::Copy(canvas, 0, 0, atlas, 0, (sprite_atlas::FigureTop - height()) * s, width() * s, height() * s);
    if (m_figure >= 0)
        sprite_atlas::DrawFigure(canvas, FigurePlace, atlas, m_figure, s);
    sprite_atlas::Present(*this, std::move(canvas), s);
}

void TMessageWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void TMessageWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}
