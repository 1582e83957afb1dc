// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbs.h"

#include "view/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <vector>

namespace numbs {
namespace {

// 5 x 7 dot patterns, one string of five characters per row.
constexpr std::array<std::array<const char*, 7>, 10> Digits{{
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
}};

constexpr int DigitWidth = 11;
constexpr int DotPitch = 2;
constexpr int DotLeft = 1;
constexpr int DotTop = 3;
const QRgb Lit = qRgb(80, 255, 80);
const QRgb Glow = qRgb(20, 96, 20);

// A lit dot with a faint glow to its right and below, like an LED seen up close.
void dot(QImage& image, int x, int y) {
    image.setPixel(x, y, Lit);
    for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
        if (image.pixel(x + dx, y + dy) == qRgb(0, 0, 0))
            image.setPixel(x + dx, y + dy, Glow);
    }
}

// The places of the lit dots, in picture pixels.
void patternDots(std::vector<QPoint>& dots, int left, const std::array<const char*, 7>& rows) {
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 5; ++c)
            if (rows[static_cast<std::size_t>(r)][c] == '#')
                dots.emplace_back(left + DotLeft + DotPitch * c, DotTop + DotPitch * r);
}

void minusDots(std::vector<QPoint>& dots, int left) {
    for (int c = 1; c <= 3; ++c)
        dots.emplace_back(left + DotLeft + DotPitch * c, DotTop + DotPitch * 3);
}

// Finer than a pixel, a dot is a round lit lens over a round glow that spreads to its lower right,
// every glow beneath every lens as at 1x.
void drawFineDots(QPainter& p, const std::vector<QPoint>& dots) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Glow));
    for (const QPoint& at : dots)
        p.drawEllipse(QPointF(at.x() + 0.85, at.y() + 0.85), 0.85, 0.85);
    p.setBrush(QColor(Lit));
    for (const QPoint& at : dots)
        p.drawEllipse(QPointF(at.x() + 0.5, at.y() + 0.5), 0.55, 0.55);
}

void drawArrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head(to);
    head.lineTo(to - d * 3.2 + n * 2.2);
    head.lineTo(to - d * 3.2 - n * 2.2);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

// Four cyan arrows from the centre to the corners: diagonal jumps allowed.
void drawDiagonal(QPainter& p, int left) {
    p.setPen(QPen(QColor(0, 230, 255), 1.3, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(left + 10.0, 10.0);
    for (const auto& [dx, dy] : {std::pair{-1, -1}, std::pair{1, -1}, std::pair{-1, 1}, std::pair{1, 1}})
        drawArrow(p, c + QPointF(dx * 1.8, dy * 1.8), c + QPointF(dx * 7.6, dy * 7.6));
}

// A light-bulb face: yellow bulb with a grey screw base, smiling or worried.
void drawBulb(QPainter& p, int left, bool smiling) {
    const QPointF c(left + 6.0, 7.5);
    QRadialGradient glass(c + QPointF(-1.5, -1.5), 6.5);
    glass.setColorAt(0.0, QColor(255, 255, 200));
    glass.setColorAt(1.0, smiling ? QColor(255, 215, 0) : QColor(215, 180, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(c, 5.6, 5.8);
    p.setBrush(QColor(170, 170, 175));
    p.drawRect(QRectF(left + 3.5, 13.0, 5.0, 2.0));
    p.setBrush(QColor(120, 120, 125));
    p.drawRect(QRectF(left + 3.5, 15.0, 5.0, 1.2));
    p.drawRect(QRectF(left + 4.5, 16.2, 3.0, 1.5));
    p.setBrush(QColor(60, 40, 0));
    p.drawEllipse(QPointF(left + 4.2, 6.3), 0.8, 0.9);
    p.drawEllipse(QPointF(left + 7.8, 6.3), 0.8, 0.9);
    p.setPen(QPen(QColor(60, 40, 0), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (smiling)
        p.drawArc(QRectF(left + 3.0, 6.5, 6.0, 4.5), 200 * 16, 140 * 16);
    else
        p.drawArc(QRectF(left + 3.5, 9.4, 5.0, 3.5), 30 * 16, 120 * 16);
}

void drawPadlock(QPainter& p, int left) {
    p.setPen(QPen(QColor(190, 190, 200), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(left + 3.2, 2.5, 6.6, 8.0), 0, 180 * 16);
    p.drawLine(QPointF(left + 3.2, 6.5), QPointF(left + 3.2, 9.0));
    p.drawLine(QPointF(left + 9.8, 6.5), QPointF(left + 9.8, 9.0));
    QLinearGradient body(left, 9, left + 13, 17);
    body.setColorAt(0.0, QColor(255, 220, 90));
    body.setColorAt(1.0, QColor(190, 130, 20));
    p.setPen(QPen(QColor(120, 80, 10), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(left + 1.5, 8.5, 10.0, 8.0), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 0));
    p.drawEllipse(QPointF(left + 6.5, 11.8), 1.2, 1.2);
    p.drawRect(QRectF(left + 6.0, 12.0, 1.0, 2.8));
}

} // namespace

QImage make(int scale) {
    QImage image(pictures::NumbsWidth * scale, pictures::NumbsHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::vector<QPoint> dots;
    for (int d = 0; d < 10; ++d)
        patternDots(dots, DigitWidth * d, Digits[static_cast<std::size_t>(d)]);
    minusDots(dots, 150);
    if (scale == 1)
        for (const QPoint& at : dots)
            dot(image, at.x(), at.y());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (scale != 1) {
        p.scale(scale, scale);
        drawFineDots(p, dots);
    }
    // Each symbol is clipped to its own columns so no pixel spills into a neighbour.
    p.setClipRect(QRect(130, 0, 20, 20));
    drawDiagonal(p, 130);
    p.setClipRect(QRect(189, 0, 12, 20));
    drawBulb(p, 189, true);
    p.setClipRect(QRect(201, 0, 12, 20));
    drawBulb(p, 201, false);
    p.setClipRect(QRect(213, 0, 13, 20));
    drawPadlock(p, 213);
    return image;
}

} // namespace numbs
