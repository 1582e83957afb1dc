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

QImage boardSurface(Theme theme) {
    QImage board = theme == Theme::Wood ? surfaces::wood(BoardWidth, BoardHeight, 7)
                                        : surfaces::stone(BoardWidth, BoardHeight, 31);
    const double trayShade = theme == Theme::Wood ? 0.88 : 0.90;
    surfaces::bevel(board, board.rect(), 5, true, 0.8);
    surfaces::tint(board, BigTray, trayShade, 12);
    surfaces::bevel(board, BigTray, 3, false, 0.9);
    surfaces::tint(board, SmallTray, trayShade, 8);
    surfaces::bevel(board, SmallTray, 2, false, 0.9);
    return board;
}

// Letters cut into the surface: lit lower-right edge, shaded body.
void engrave(QImage& board, const QRectF& rect, const QString& text, const QFont& font) {
    QPainter p(&board);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(QColor(255, 245, 225, 90));
    p.drawText(rect.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(QColor(20, 10, 0, 150));
    p.drawText(rect, Qt::AlignCenter, text);
}

void decorateEmblem(QImage& board, Theme theme) {
    QFont title("DejaVu Serif", 10, QFont::Bold, true);
    title.setPixelSize(21);
    engrave(board, QRectF(Emblem.left(), Emblem.top() + 8, Emblem.width(), 30), "Tolvar Pegs", title);
    QFont small("DejaVu Sans", 8);
    small.setPixelSize(10);
    const QString kind = theme == Theme::Wood ? QStringLiteral("\u2022  \u2022  \u2022  \u2022  \u2022")
                                              : QStringLiteral("\u25C6  \u25C6  \u25C6  \u25C6  \u25C6");
    engrave(board, QRectF(Emblem.left(), Emblem.top() + 42, Emblem.width(), 16), kind, small);
}

void copyRegion(QImage& full, const QImage& board, QPoint target, QSize size, QPoint source) {
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
void drawHoleRegions(QImage& full, const QImage& board) {
    // A big hole picture at (bx, by) shows at (bx + 30, by + 30) of the board area.
    const int bigShift = BigFieldInOffset + BigHoleInField;
    copyRegion(full, board, {BigSquareHolesX, 0}, {BigSquareHolesSize, BigSquareHolesSize},
               {bigShift, bigShift});
    copyRegion(full, board, {BigHexHolesX, BigHexHolesY}, {BigHexHolesWidth, BigHexHolesHeight},
               {bigShift, BigHexHolesY + bigShift});
    // A small one at (sx, sy) shows at (sx + 330, sy + 34).
    const int smallX = SmallFieldX + SmallHoleInField, smallY = SmallFieldY + SmallHoleInField;
    copyRegion(full, board, {SmallHolesX, 0}, {SmallSquareHolesSize, SmallSquareHolesSize}, {smallX, smallY});
    copyRegion(full, board, {SmallHolesX, SmallHexHolesY}, {SmallSquareHolesSize, SmallHexHolesHeight},
               {smallX, SmallHexHolesY - SmallHexSourceY + smallY});

    QPainter p(&full);
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

void drawPegs(QImage& full, const QImage& board) {
    const QColor bigSurround = surfaces::average(board, QRect(26, 26, 280, 280));
    const QColor smallSurround = surfaces::average(board, QRect(328, 32, 140, 140));
    QPainter p(&full);
    for (int d = 0; d < DesignCount; ++d) {
        const pegs::Piece big = pegs::renderPeg(d, BigPeg, bigSurround);
        const pegs::Piece small = pegs::renderPeg(d, SmallPeg, smallSurround);
        p.drawImage(BigPegsX + BigPeg * d, BigPegsY, big.picture);
        p.drawImage(SmallPegsX + SmallPeg * d, SmallPegsY, small.picture);
        if (d == 0) {
            p.drawImage(BigMaskX, BigPegsY, big.mask);
            p.drawImage(SmallMaskX, SmallPegsY, small.mask);
        }
    }
}

// The marker shows where a hole can be made while editing. It is the highlight of design 2, a
// small bright square that reads on either board.
void drawMarker(QImage& full) {
    for (int y = 0; y < MarkerSize; ++y)
        for (int x = 0; x < MarkerSize; ++x)
            full.setPixel(MarkerX + x, MarkerY + y, qRgb(246, 250, 255));
}

} // namespace

QImage make(Theme theme) {
    QImage board = boardSurface(theme);
    decorateEmblem(board, theme);
    QImage full(BackgroundWidth, BackgroundHeight, QImage::Format_RGB32);
    full.fill(Qt::black);
    {
        QPainter p(&full);
        p.drawImage(0, 0, board);
    }
    drawHoleRegions(full, board);
    drawPegs(full, board);
    drawMarker(full);
    return full;
}

} // namespace backgrounds
