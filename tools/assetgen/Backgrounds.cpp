// SPDX-License-Identifier: GPL-3.0-or-later
#include "Backgrounds.h"

#include "Layout.h"
#include "Pegs.h"
#include "Surfaces.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace backgrounds {
namespace {

using namespace layout;

// Where the two boards lie: every cell field of every size and shape is inside these.
const QRect BigTray(14, 14, 305, 305);
const QRect SmallTray(318, 22, 161, 161);
const QRect Emblem(330, 244, 162, 82);

QRect scaled(const QRect& rect, int scale) {
    return {rect.x() * scale, rect.y() * scale, rect.width() * scale, rect.height() * scale};
}

// Vector drawing is done in picture pixels; the painter maps them onto the device pixels.
void drawAtScale(QPainter& p, int scale) {
    if (scale != 1)
        p.scale(scale, scale);
}

QImage boardSurface(Theme theme, int scale) {
    QImage board = theme == Theme::Wood ? surfaces::wood(BoardWidth * scale, BoardHeight * scale, 7, scale)
                                        : surfaces::stone(BoardWidth * scale, BoardHeight * scale, 31, scale);
    const double trayShade = theme == Theme::Wood ? 0.88 : 0.90;
    surfaces::bevel(board, board.rect(), 5 * scale, true, 0.8);
    surfaces::tint(board, scaled(BigTray, scale), trayShade, 12 * scale);
    surfaces::bevel(board, scaled(BigTray, scale), 3 * scale, false, 0.9);
    surfaces::tint(board, scaled(SmallTray, scale), trayShade, 8 * scale);
    surfaces::bevel(board, scaled(SmallTray, scale), 2 * scale, false, 0.9);
    return board;
}

// Letters cut into the surface: lit lower-right edge, shaded body.
void engrave(QImage& board, const QRectF& rect, const QString& text, const QFont& font, int scale) {
    QPainter p(&board);
    drawAtScale(p, scale);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(QColor(255, 245, 225, 90));
    p.drawText(rect.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(QColor(20, 10, 0, 150));
    p.drawText(rect, Qt::AlignCenter, text);
}

void decorateEmblem(QImage& board, Theme theme, int scale) {
    QFont title("DejaVu Serif", 10, QFont::Bold, true);
    title.setPixelSize(21);
    engrave(board, QRectF(Emblem.left(), Emblem.top() + 8, Emblem.width(), 30), "Tolvar Pegs", title, scale);
    QFont small("DejaVu Sans", 8);
    small.setPixelSize(10);
    const QString kind = theme == Theme::Wood ? QStringLiteral("\u2022  \u2022  \u2022  \u2022  \u2022")
                                              : QStringLiteral("\u25C6  \u25C6  \u25C6  \u25C6  \u25C6");
    engrave(board, QRectF(Emblem.left(), Emblem.top() + 42, Emblem.width(), 16), kind, small, scale);
}

void copyRegion(QImage& full, const QImage& board, QPoint target, QSize size, QPoint source, int scale) {
    target *= scale;
    source *= scale;
    size *= scale;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            full.setPixel(target.x() + x, target.y() + y, board.pixel(source.x() + x, source.y() + y));
}

void drawHole(QPainter& p, QPointF c, double r) {
    // The far wall on the right catches the light; the near wall on the left lies in shadow.
    QRadialGradient depth(c + QPointF(0.35 * r, 0.2 * r), 1.3 * r);
    depth.setColorAt(0.0, QColor(0, 0, 0, 140));
    depth.setColorAt(0.55, QColor(0, 0, 0, 175));
    depth.setColorAt(1.0, QColor(0, 0, 0, 240));
    p.setPen(Qt::NoPen);
    p.setBrush(depth);
    p.drawEllipse(c, r, r);
    const double w = r > 4 ? 1.0 : 0.7;
    p.setPen(QPen(QColor(255, 240, 215, r > 4 ? 120 : 90), w));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(c.x() - r + w / 2, c.y() - r + w / 2, 2 * r - w, 2 * r - w);
    p.drawArc(arc, -110 * 16, 150 * 16);
}

// Lays every hole picture into its region: the board background seen through the hole's place,
// with the hole drawn on top. One hole per lattice point; every cell of every size uses one.
void drawHoleRegions(QImage& full, const QImage& board, int scale) {
    // A big hole picture at (bx, by) shows at (bx + 30, by + 30) of the board area.
    const int bigShift = BigFieldInOffset + BigHoleInField;
    copyRegion(full, board, {BigSquareHolesX, 0}, {BigSquareHolesSize, BigSquareHolesSize},
               {bigShift, bigShift}, scale);
    copyRegion(full, board, {BigHexHolesX, BigHexHolesY}, {BigHexHolesWidth, BigHexHolesHeight},
               {bigShift, BigHexHolesY + bigShift}, scale);
    // A small one at (sx, sy) shows at (sx + 330, sy + 34).
    const int smallX = SmallFieldX + SmallHoleInField, smallY = SmallFieldY + SmallHoleInField;
    copyRegion(full, board, {SmallHolesX, 0}, {SmallSquareHolesSize, SmallSquareHolesSize}, {smallX, smallY},
               scale);
    copyRegion(full, board, {SmallHolesX, SmallHexHolesY}, {SmallSquareHolesSize, SmallHexHolesHeight},
               {smallX, SmallHexHolesY - SmallHexSourceY + smallY}, scale);

    QPainter p(&full);
    drawAtScale(p, scale);
    p.setRenderHint(QPainter::Antialiasing);
    for (int j = 0; j <= 16; ++j) {
        for (int i = 0; i <= 16; ++i) {
            p.setClipRect(QRect(BigSquareHolesX, 0, BigSquareHolesSize, BigSquareHolesSize));
            drawHole(p, QPointF(BigSquareHolesX + 16 * i + BigHoleCentre, 16 * j + BigHoleCentre),
                     BigHoleRadius);
            p.setClipRect(QRect(BigHexHolesX, BigHexHolesY, BigHexHolesWidth, BigHexHolesHeight));
            drawHole(p, QPointF(BigHexHolesX + 16 * i + BigHoleCentre, BigHexHolesY + 14 * j + BigHoleCentre),
                     BigHoleRadius);
            p.setClipRect(QRect(SmallHolesX, 0, SmallSquareHolesSize, SmallSquareHolesSize));
            drawHole(p, QPointF(SmallHolesX + 8 * i + SmallHoleCentre, 8 * j + SmallHoleCentre),
                     SmallHoleRadius);
            p.setClipRect(QRect(SmallHolesX, SmallHexHolesY, SmallSquareHolesSize, SmallHexHolesHeight));
            drawHole(p,
                     QPointF(SmallHolesX + 8 * i + SmallHoleCentre, SmallHexHolesY + 7 * j + SmallHoleCentre),
                     SmallHoleRadius);
        }
    }
}

// The pegs are rendered at the device pixels, so their edges are antialiased at every scale.
void drawPegs(QImage& full, const QImage& board, int scale) {
    const QColor bigSurround = surfaces::average(board, scaled(QRect(26, 26, 280, 280), scale));
    const QColor smallSurround = surfaces::average(board, scaled(QRect(328, 32, 140, 140), scale));
    QPainter p(&full);
    for (int d = 0; d < DesignCount; ++d) {
        const pegs::Piece big = pegs::renderPeg(d, BigPeg * scale, bigSurround);
        const pegs::Piece small = pegs::renderPeg(d, SmallPeg * scale, smallSurround);
        p.drawImage((BigPegsX + BigPeg * d) * scale, BigPegsY * scale, big.picture);
        p.drawImage((SmallPegsX + SmallPeg * d) * scale, SmallPegsY * scale, small.picture);
        if (d == 0) {
            p.drawImage(BigMaskX * scale, BigPegsY * scale, big.mask);
            p.drawImage(SmallMaskX * scale, SmallPegsY * scale, small.mask);
        }
    }
}

// The marker shows where a hole can be made while editing. It is the highlight of design 2, a
// small bright square that reads on either board.
void drawMarker(QImage& full, int scale) {
    for (int y = 0; y < MarkerSize * scale; ++y)
        for (int x = 0; x < MarkerSize * scale; ++x)
            full.setPixel(MarkerX * scale + x, MarkerY * scale + y, qRgb(246, 250, 255));
}

} // namespace

QImage make(Theme theme, int scale) {
    QImage board = boardSurface(theme, scale);
    decorateEmblem(board, theme, scale);
    QImage full(BackgroundWidth * scale, BackgroundHeight * scale, QImage::Format_RGB32);
    full.fill(Qt::black);
    {
        QPainter p(&full);
        p.drawImage(0, 0, board);
    }
    drawHoleRegions(full, board, scale);
    drawPegs(full, board, scale);
    drawMarker(full, scale);
    return full;
}

} // namespace backgrounds
