// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/GradientButton.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(std::int64_t{denominator});
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (denominator < 0);
    return static_cast<int>(negative ? -rounded : rounded);
}

namespace {

// One component of band k: the top component moved k/255 of the way to the bottom one, kept to
// 8 bits like the platform's colour macro does.
int bandComponent(int top, int bottom, int band) {
    return (top + MulDiv(band, bottom - top, 255)) & 0xFF;
}

} // namespace

void FillGradient(QImage& picture, QColor top, QColor bottom) {
    const int height = picture.height();
    QPainter painter(&picture);
    for (int band = 0; band < 256; ++band) {
        const int firstRow = MulDiv(band, height, 256);
        const int endRow = MulDiv(band + 1, height, 256);
        if (endRow <= firstRow)
            continue;
        const QColor colour(bandComponent(top.red(), bottom.red(), band),
                            bandComponent(top.green(), bottom.green(), band),
                            bandComponent(top.blue(), bottom.blue(), band));
        painter.fillRect(0, firstRow, picture.width(), endRow - firstRow, colour);
    }
}

TGradButton::TGradButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(100, 30);
    // The first picture has the button's full size; painting later fits it inside the border.
    m_gradient = QImage(size(), QImage::Format_RGB32);
    FillGradient(m_gradient, m_gradColor, m_faceColor);
}

void TGradButton::setGradColor(QColor colour) {
    if (colour == m_gradColor)
        return;
    m_gradColor = colour;
    refillGradient();
    update();
}

void TGradButton::setFaceColor(QColor colour) {
    if (colour == m_faceColor)
        return;
    m_faceColor = colour;
    refillGradient();
    update();
}

void TGradButton::setHighlightColor(QColor colour) {
    if (colour == m_highlightColor)
        return;
    m_highlightColor = colour;
    update();
}

void TGradButton::setShadowColor(QColor colour) {
    if (colour == m_shadowColor)
        return;
    m_shadowColor = colour;
    update();
}

void TGradButton::setBevelWidth(int width) {
    if (width == m_bevelWidth)
        return;
    m_bevelWidth = width;
    update();
}

void TGradButton::setBorderWidth(int width) {
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
}

void TGradButton::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void TGradButton::setFontColor(QColor colour) {
    if (colour == m_fontColor)
        return;
    m_fontColor = colour;
    update();
}

void TGradButton::refillGradient() {
    if (!m_gradient.isNull())
        FillGradient(m_gradient, m_gradColor, m_faceColor);
}

void TGradButton::paintEvent(QPaintEvent*) {
    const int border = m_borderWidth;
    const QRect inner = rect().adjusted(border, border, -border, -border);
    const QSize pictureSize(qMax(0, width() - 2 * border), qMax(0, height() - 2 * border));
    if (m_gradient.size() != pictureSize) {
        m_gradient = QImage(pictureSize, QImage::Format_RGB32);
        refillGradient();
    }

    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int shift = m_pressed ? 1 : 0;
    painter.drawImage(border + shift, border + shift, m_gradient);
    if (m_pressed)
        drawBevel(painter, inner, m_shadowColor, m_faceColor);
    else
        drawBevel(painter, inner, m_highlightColor, m_shadowColor);

    const QFontMetrics metrics(font());
    const int x = (width() - metrics.horizontalAdvance(m_caption)) / 2 + shift;
    const int y = (height() - metrics.height()) / 2 + shift;
    painter.setPen(m_fontColor);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(x, y + metrics.ascent(), m_caption);
}

// Nested frames, the outermost just inside the border. Each frame is drawn like the platform's
// 3-D frame: the upper-left colour takes the left column and the top row but for their far
// ends, which belong to the lower-right colour.
void TGradButton::drawBevel(QPainter& painter, const QRect& inner, QColor upperLeft,
                            QColor lowerRight) const {
    for (int line = 0; line < m_bevelWidth; ++line) {
        const QRect frame = inner.adjusted(line, line, -line, -line);
        if (frame.width() <= 0 || frame.height() <= 0)
            return;
        painter.fillRect(frame.left(), frame.top(), 1, frame.height() - 1, upperLeft);
        painter.fillRect(frame.left(), frame.top(), frame.width() - 1, 1, upperLeft);
        painter.fillRect(frame.right(), frame.top(), 1, frame.height(), lowerRight);
        painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, lowerRight);
    }
}

void TGradButton::setPressed(bool pressed) {
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    repaint();
}

void TGradButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_tracking = true;
    setPressed(true);
}

// Like a speed button: the pressed look follows the pointer while the button is held.
void TGradButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_tracking)
        setPressed(rect().contains(event->position().toPoint()));
}

void TGradButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_tracking)
        return;
    m_tracking = false;
    setPressed(false);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
