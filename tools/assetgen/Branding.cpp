// SPDX-License-Identifier: GPL-3.0-or-later
#include "Branding.h"

#include "Pegs.h"
#include "Surfaces.h"
#include "view/Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace branding {
namespace {

// A small board of holes with pegs, one of them jumping over its neighbour; `scale` device pixels
// for each pixel of the picture.
void drawPegRow(QImage& image, QPointF origin, double pitch, double radius, int scale = 1) {
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 170));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(origin + QPointF(pitch * i, 0), radius * 0.55, radius * 0.55);
        QPen arc(QColor(255, 250, 230, 200), radius * 0.18, Qt::DashLine, Qt::RoundCap);
        p.setPen(arc);
        p.setBrush(Qt::NoBrush);
        QPainterPath jump(origin + QPointF(pitch * 1, -radius * 1.3));
        jump.quadTo(origin + QPointF(pitch * 2.5, -radius * 4.2),
                    origin + QPointF(pitch * 3.9, -radius * 1.4));
        p.drawPath(jump);
    }
    const auto ball = [&](int place, int design) {
        pegs::paintBall(image, (origin.x() + pitch * place) * scale, (origin.y() - radius * 0.15) * scale,
                        radius * scale, design);
    };
    ball(0, 2);
    ball(1, 1);
    ball(2, 1);
    ball(4, 2);
}

void drawGoldText(QPainter& p, const QRectF& rect, const QString& text, const QFont& font, int flags) {
    p.setFont(font);
    p.setPen(QColor(40, 20, 5, 170));
    p.drawText(rect.translated(1.2, 1.4), flags, text);
    QPainterPath path;
    const QFontMetricsF fm(font);
    const QRectF bounds = fm.boundingRect(rect, flags, text);
    path.addText(bounds.left(), bounds.top() + fm.ascent(), font, text);
    QLinearGradient gold(0, bounds.top(), 0, bounds.bottom());
    gold.setColorAt(0.0, QColor(255, 240, 170));
    gold.setColorAt(0.5, QColor(235, 180, 60));
    gold.setColorAt(1.0, QColor(170, 105, 25));
    p.setPen(QPen(QColor(90, 50, 10), 0.7));
    p.setBrush(gold);
    p.drawPath(path);
}

QFont titleFont(int pixels) {
    QFont font("DejaVu Serif", 10, QFont::Bold, true);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

QImage splash() {
    QImage image = surfaces::wood(200, 150, 41);
    surfaces::bevel(image, image.rect(), 4, true, 0.9);
    surfaces::tint(image, QRect(12, 84, 176, 42), 0.85, 8);
    surfaces::bevel(image, QRect(12, 84, 176, 42), 2, false, 0.8);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawGoldText(p, QRectF(0, 12, 200, 40), "Tolvar Pegs", titleFont(29), Qt::AlignCenter);
        QFont small("DejaVu Sans", 8);
        small.setPixelSize(11);
        p.setFont(small);
        p.setPen(QColor(255, 240, 210, 230));
        p.drawText(QRectF(0, 50, 200, 16), Qt::AlignCenter, "Peg solitaire");
        p.setPen(QColor(255, 235, 200, 200));
        small.setPixelSize(10);
        p.setFont(small);
        p.drawText(QRectF(0, 130, 194, 14), Qt::AlignRight | Qt::AlignVCenter, "Tolvar Games  V1.0");
    }
    QImage layer = image.convertToFormat(QImage::Format_ARGB32);
    drawPegRow(layer, QPointF(36, 112), 32, 9.5);
    return layer.convertToFormat(QImage::Format_RGB32);
}

QImage title(int scale) {
    QImage image = surfaces::wood(pictures::TitleWidth * scale, pictures::TitleHeight * scale, 53, scale);
    surfaces::bevel(image, image.rect(), 3 * scale, true, 0.9);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        drawGoldText(p, QRectF(0, 4, 101, 24), "Tolvar", titleFont(21), Qt::AlignCenter);
        drawGoldText(p, QRectF(0, 24, 101, 24), "Pegs", titleFont(21), Qt::AlignCenter);
    }
    QImage layer = image.convertToFormat(QImage::Format_ARGB32);
    drawPegRow(layer, QPointF(18, 63), 16, 5.6, scale);
    return layer.convertToFormat(QImage::Format_RGB32);
}

namespace {

// Below this size the 3 x 3 board's holes shrink to a pixel and its pegs blur together.
constexpr int LeastDetailedIconSize = 32;

// The small icons: a wooden tile with four big pegs, three of the first colour and one of the second,
// on whole-pixel places so they stay sharp.
QImage smallIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QImage wood = surfaces::wood(size, size, 61);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath tile;
        tile.addRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size * 0.18, size * 0.18);
        p.setClipPath(tile);
        p.drawImage(0, 0, wood);
        p.setClipping(false);
        p.setPen(QPen(QColor(80, 45, 20), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tile);
    }
    const double near = std::round(size * 0.3);
    const double far = size - near;
    const double ball = size * 0.19;
    pegs::paintBall(image, near, near, ball, 1);
    pegs::paintBall(image, far, near, ball, 2);
    pegs::paintBall(image, near, far, ball, 1);
    pegs::paintBall(image, far, far, ball, 1);
    return image;
}

} // namespace

QImage icon(int size, int scale) {
    const int pixels = size * scale;
    if (pixels < LeastDetailedIconSize)
        return smallIcon(pixels);
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const double s = pixels / 37.0;
    {
        QImage wood = surfaces::wood(pixels, pixels, 61, scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath tile;
        tile.addRoundedRect(QRectF(1.0 * s, 1.0 * s, 35 * s, 35 * s), 7 * s, 7 * s);
        p.setClipPath(tile);
        p.drawImage(0, 0, wood);
        p.setClipping(false);
        p.setPen(QPen(QColor(80, 45, 20), 1.2 * s));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tile);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 170));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawEllipse(QPointF((8.5 + 10 * c) * s, (8.5 + 10 * r) * s), 2.6 * s, 2.6 * s);
    }
    const double ball = 4.6 * s;
    pegs::paintBall(image, 8.5 * s, 18.5 * s, ball, 1);
    pegs::paintBall(image, 18.5 * s, 18.5 * s, ball, 1);
    pegs::paintBall(image, 18.5 * s, 8.5 * s, ball, 2);
    pegs::paintBall(image, 28.5 * s, 28.5 * s, ball, 2);
    pegs::paintBall(image, 8.5 * s, 28.5 * s, ball, 1);
    return image;
}

QImage hand() {
    QImage image(pictures::HandCursorSize, pictures::HandCursorSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // The index finger points straight up; its tip is the hot spot.
    QPainterPath path;
    path.moveTo(7.5, 16);
    path.lineTo(7.5, 3.5);
    path.arcTo(QRectF(7.5, 1.5, 4, 4), 180, -180);
    path.lineTo(11.5, 12.5);
    path.arcTo(QRectF(11.5, 10.5, 4, 4), 180, -180);
    path.lineTo(15.5, 13.5);
    path.arcTo(QRectF(15.5, 11.5, 4, 4), 180, -180);
    path.lineTo(19.5, 14.5);
    path.arcTo(QRectF(19.5, 12.5, 4, 4), 180, -180);
    path.lineTo(23.5, 24);
    path.cubicTo(23.5, 28, 21, 30.5, 17, 30.5);
    path.lineTo(13, 30.5);
    path.cubicTo(10, 30.5, 8.5, 29, 7, 26.5);
    path.lineTo(2.5, 19.5);
    path.cubicTo(1.5, 18, 2.5, 16, 4.5, 16.5);
    path.lineTo(7.5, 19);
    path.closeSubpath();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.drawLine(QPointF(11.5, 12.5), QPointF(11.5, 17));
    p.drawLine(QPointF(15.5, 13.5), QPointF(15.5, 17.5));
    p.drawLine(QPointF(19.5, 14.5), QPointF(19.5, 18));
    return image;
}

} // namespace branding
