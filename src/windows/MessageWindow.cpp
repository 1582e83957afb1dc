// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/MessageWindow.h"

#include "view/Fonts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "view/GradientButton.h"
#include "view/QtText.h"

namespace {

constexpr int FigureWidth = 60;
constexpr int FigureHeight = 98;
constexpr int FigureTop = 150;
constexpr QPoint FigureMaskSource{360, 150};
constexpr QPoint FigurePlace{20, 25};

// Copies a rectangle of `source` to `place` of `target` with a raster operation, clipped to the
// source picture so a short atlas cannot be read past its edge.
void combine(QImage& target, QPoint place, const QImage& source, QRect from, QPainter::CompositionMode mode) {
    const QRect available = from.intersected(source.rect());
    if (available.isEmpty())
        return;
    QPainter painter(&target);
    painter.setCompositionMode(mode);
    painter.drawImage(place + (available.topLeft() - from.topLeft()), source, available);
}

} // namespace

QPoint PlaceOver(const QRect& mainOuter, QSize client) {
    return {mainOuter.left() + (mainOuter.width() - client.width()) / 2,
            mainOuter.top() + (mainOuter.height() - client.height()) / 2};
}

TMessageWindow::TMessageWindow(const QImage& atlas, int textHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
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

void TMessageWindow::setAtlas(const QImage& atlas) {
    m_atlas = atlas.convertToFormat(QImage::Format_RGB32);
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

// FormPaint: the background from the atlas, then the figure of the code, drawn with AND of the
// shared mask and OR of the figure so the background shows around it.
void TMessageWindow::paintEvent(QPaintEvent*) {
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    combine(canvas, {0, 0}, m_atlas, QRect(0, FigureTop - height(), width(), height()),
            QPainter::CompositionMode_Source);
    if (m_figure >= 0) {
        combine(canvas, FigurePlace, m_atlas, QRect(FigureMaskSource, QSize(FigureWidth, FigureHeight)),
                QPainter::RasterOp_SourceAndDestination);
        combine(canvas, FigurePlace, m_atlas,
                QRect(FigureWidth * m_figure, FigureTop, FigureWidth, FigureHeight),
                QPainter::RasterOp_SourceOrDestination);
    }
    QPainter(this).drawImage(0, 0, canvas);
}

void TMessageWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void TMessageWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}
