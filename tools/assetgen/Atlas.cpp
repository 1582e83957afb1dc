// SPDX-License-Identifier: GPL-3.0-or-later
#include "Atlas.h"

#include "Layout.h"
#include "Surfaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace atlas {
namespace {

using namespace layout;

// Every figure stands in the same arched niche, so one mask serves all five.
QPainterPath niche() {
    const double w = FigureWidth, h = FigureHeight, r = w / 2.0;
    QPainterPath path;
    path.moveTo(0, r);
    path.arcTo(QRectF(0, 0, w, w), 180, -180);
    path.lineTo(w, h - 5);
    path.quadTo(w, h, w - 5, h);
    path.lineTo(5, h);
    path.quadTo(0, h, 0, h - 5);
    path.closeSubpath();
    return path;
}

enum class Mood { Cheering, Happy, Alert, Sad, Stern };

constexpr Mood moodOf(int k) {
    constexpr Mood moods[FigureCount] = {Mood::Cheering, Mood::Happy, Mood::Alert, Mood::Sad, Mood::Stern};
    return moods[k];
}

const QColor Skin(250, 218, 180);
const QColor Coat(196, 38, 34);
const QColor CoatDark(130, 20, 20);
const QColor Ink(40, 25, 20);

void drawScenery(QPainter& p, Mood mood) {
    const bool gloomy = mood == Mood::Sad;
    QLinearGradient sky(0, 0, 0, FigureHeight);
    sky.setColorAt(0.0, gloomy ? QColor(150, 160, 175) : QColor(120, 180, 240));
    sky.setColorAt(0.75, gloomy ? QColor(205, 210, 215) : QColor(215, 235, 250));
    p.fillRect(QRectF(0, 0, FigureWidth, FigureHeight), sky);
    // A wooden floor with a few peg holes.
    QLinearGradient floor(0, 80, 0, FigureHeight);
    floor.setColorAt(0.0, QColor(190, 135, 80));
    floor.setColorAt(1.0, QColor(140, 92, 50));
    p.fillRect(QRectF(0, 80, FigureWidth, FigureHeight - 80), floor);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 15, 200));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(8 + 15 * i, 91), 3.0, 1.6);
}

void drawArm(QPainter& p, QPointF shoulder, QPointF elbow, QPointF hand) {
    QPen sleeve(Coat, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(sleeve);
    QPainterPath arm(shoulder);
    arm.quadTo(elbow, hand);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arm);
    p.setPen(QPen(Ink, 0.8));
    p.setBrush(Skin);
    p.drawEllipse(hand, 3.2, 3.2);
}

void drawBody(QPainter& p) {
    // A peg doll: a round head on a turned wooden body with a painted coat.
    QPainterPath body;
    body.moveTo(22, 56);
    body.cubicTo(17, 66, 15, 76, 17, 85);
    body.lineTo(43, 85);
    body.cubicTo(45, 76, 43, 66, 38, 56);
    body.closeSubpath();
    QLinearGradient coat(16, 0, 44, 0);
    coat.setColorAt(0.0, Coat.lighter(125));
    coat.setColorAt(0.6, Coat);
    coat.setColorAt(1.0, CoatDark);
    p.setPen(QPen(Ink, 0.9));
    p.setBrush(coat);
    p.drawPath(body);
    p.setBrush(QColor(240, 200, 60));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(30, 63 + 7 * i), 1.3, 1.3);
    p.setPen(QPen(Ink, 0.9));
    p.setBrush(QColor(120, 75, 40));
    p.drawRoundedRect(QRectF(18, 84, 24, 5), 2, 2);
}

void drawHead(QPainter& p) {
    QRadialGradient skin(QPointF(25, 37), 16);
    skin.setColorAt(0.0, Skin.lighter(108));
    skin.setColorAt(1.0, Skin.darker(118));
    p.setPen(QPen(Ink, 0.9));
    p.setBrush(skin);
    p.drawEllipse(QPointF(30, 42), 13.5, 13.5);
    // Hair: a dark cap.
    QPainterPath hair;
    hair.moveTo(16.8, 40);
    hair.cubicTo(16, 27, 44, 27, 43.2, 40);
    hair.cubicTo(38, 33, 22, 33, 16.8, 40);
    p.setBrush(QColor(95, 55, 25));
    p.drawPath(hair);
}

void drawEyes(QPainter& p, Mood mood) {
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    if (mood == Mood::Cheering) {
        // Eyes squeezed shut with joy.
        p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(22, 40, 6, 5), 20 * 16, 140 * 16);
        p.drawArc(QRectF(32, 40, 6, 5), 20 * 16, 140 * 16);
        return;
    }
    const double h = mood == Mood::Alert ? 2.6 : 2.0;
    p.drawEllipse(QPointF(25, 42), 1.7, h);
    p.drawEllipse(QPointF(35, 42), 1.7, h);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(25.6, 41.3), 0.6, 0.6);
    p.drawEllipse(QPointF(35.6, 41.3), 0.6, 0.6);
    p.setPen(QPen(Ink, 1.1, Qt::SolidLine, Qt::RoundCap));
    if (mood == Mood::Sad) {
        p.drawLine(QPointF(22, 37.5), QPointF(27, 36.2));
        p.drawLine(QPointF(33, 36.2), QPointF(38, 37.5));
    } else if (mood == Mood::Stern) {
        p.drawLine(QPointF(22, 36.2), QPointF(27.5, 38.2));
        p.drawLine(QPointF(32.5, 38.2), QPointF(38, 36.2));
    } else if (mood == Mood::Alert) {
        p.drawArc(QRectF(22, 35, 6, 3), 30 * 16, 120 * 16);
        p.drawArc(QRectF(32, 35, 6, 3), 30 * 16, 120 * 16);
    }
}

void drawMouth(QPainter& p, Mood mood) {
    p.setPen(QPen(Ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (mood) {
    case Mood::Cheering: {
        QPainterPath mouth(QPointF(24, 47));
        mouth.cubicTo(25, 54, 35, 54, 36, 47);
        mouth.closeSubpath();
        p.setBrush(QColor(160, 40, 40));
        p.drawPath(mouth);
        break;
    }
    case Mood::Happy:
        p.drawArc(QRectF(24, 43, 12, 7), 200 * 16, 140 * 16);
        break;
    case Mood::Alert:
        p.setBrush(QColor(160, 40, 40));
        p.drawEllipse(QPointF(30, 49), 1.8, 2.2);
        break;
    case Mood::Sad:
        p.drawArc(QRectF(25, 48, 10, 6), 30 * 16, 120 * 16);
        break;
    case Mood::Stern:
        p.drawLine(QPointF(26, 50), QPointF(34, 50));
        break;
    }
    // Rosy cheeks on the happy faces.
    if (mood == Mood::Cheering || mood == Mood::Happy) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 120, 110, 110));
        p.drawEllipse(QPointF(21.5, 47), 2.6, 1.8);
        p.drawEllipse(QPointF(38.5, 47), 2.6, 1.8);
    }
}

void drawStar(QPainter& p, QPointF c, double r, QColor colour) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double rr = i % 2 == 0 ? r : r * 0.45;
        const QPointF q = c + QPointF(rr * std::cos(a), rr * std::sin(a));
        if (i == 0)
            star.moveTo(q);
        else
            star.lineTo(q);
    }
    star.closeSubpath();
    p.setPen(QPen(colour.darker(150), 0.6));
    p.setBrush(colour);
    p.drawPath(star);
}

void drawPose(QPainter& p, Mood mood) {
    const QPointF left(22, 59), right(38, 59);
    switch (mood) {
    case Mood::Cheering:
        drawArm(p, left, {12, 52}, {9, 36});
        drawArm(p, right, {48, 52}, {51, 36});
        drawStar(p, {9, 16}, 5, QColor(255, 215, 40));
        drawStar(p, {51, 18}, 4, QColor(255, 150, 40));
        drawStar(p, {30, 9}, 3.5, QColor(255, 235, 90));
        break;
    case Mood::Happy: {
        drawArm(p, left, {14, 68}, {15, 77});
        drawArm(p, right, {47, 56}, {49, 44});
        // A green tick beside the raised hand.
        p.setPen(QPen(QColor(30, 150, 40), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick(QPointF(42, 20));
        tick.lineTo(46, 25);
        tick.lineTo(54, 13);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case Mood::Alert: {
        drawArm(p, left, {14, 68}, {15, 77});
        drawArm(p, right, {46, 54}, {46, 42});
        QFont font("DejaVu Sans", 10, QFont::Bold);
        font.setPixelSize(16);
        p.setFont(font);
        p.setPen(QColor(30, 90, 200));
        p.drawText(QRectF(40, 8, 16, 22), Qt::AlignCenter, "!");
        break;
    }
    case Mood::Sad: {
        drawArm(p, left, {19, 70}, {21, 79});
        drawArm(p, right, {41, 70}, {39, 79});
        // A tear, and a small rain cloud.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 160, 235));
        QPainterPath tear(QPointF(23, 45));
        tear.cubicTo(21, 48, 21.5, 50.5, 23, 50.5);
        tear.cubicTo(24.5, 50.5, 25, 48, 23, 45);
        p.drawPath(tear);
        p.setBrush(QColor(120, 125, 135));
        p.drawEllipse(QPointF(24, 14), 7, 5);
        p.drawEllipse(QPointF(33, 12), 8, 6.5);
        p.drawEllipse(QPointF(40, 15), 6, 4.5);
        p.setPen(QPen(QColor(90, 150, 220), 1.0, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(22 + 6 * i, 21), QPointF(20.5 + 6 * i, 25));
        break;
    }
    case Mood::Stern: {
        drawArm(p, left, {14, 68}, {15, 77});
        drawArm(p, right, {48, 58}, {49, 47});
        // A no-entry sign.
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QPointF(47, 18), 8.5, 8.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(41.5, 16.3, 11, 3.4));
        break;
    }
    }
}

void drawFrame(QPainter& p, const QPainterPath& shape) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(205, 160, 60), 1.2));
    QTransform inset;
    inset.translate(FigureWidth * 0.04, FigureHeight * 0.04 * 0.6);
    inset.scale(0.92, 0.952);
    p.drawPath(inset.map(shape));
    p.setPen(QPen(QColor(90, 55, 25), 3.0));
    p.drawPath(shape);
}

// One figure (0 to 4) in its niche, with transparent surroundings.
QImage figure(int k, int scale) {
    QImage image(FigureWidth * scale, FigureHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPainterPath shape = niche();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setClipPath(shape);
    const Mood mood = moodOf(k);
    drawScenery(p, mood);
    drawBody(p);
    drawHead(p);
    drawEyes(p, mood);
    drawMouth(p, mood);
    drawPose(p, mood);
    drawFrame(p, shape);
    return image;
}

// The message windows' background: parchment in a carved and gilded frame.
QImage messageBackground(int scale) {
    QImage back = surfaces::parchment(MessageWidth * scale, MessageHeight * scale, 19, scale);
    surfaces::bevel(back, back.rect(), 3 * scale, true, 1.0);
    {
        QPainter p(&back);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.setPen(QPen(QColor(110, 70, 30), 1.5));
        p.drawRect(QRectF(1.75, 1.75, MessageWidth - 3.5, MessageHeight - 3.5));
        p.setPen(QPen(QColor(200, 155, 60), 1.0));
        p.drawRoundedRect(QRectF(6.5, 6.5, MessageWidth - 13, MessageHeight - 13), 4, 4);
    }
    return back;
}

} // namespace

QImage make(int scale) {
    QImage atlas(AtlasWidth * scale, AtlasHeight * scale, QImage::Format_RGB32);
    atlas.fill(Qt::black);
    {
        QPainter a(&atlas);
        a.drawImage(0, 0, messageBackground(scale));
    }
    // Mask from the niche alone; figure pixels outside it are black so OR leaves the window alone.
    const int width = FigureWidth * scale, height = FigureHeight * scale;
    QImage shapeCover(width, height, QImage::Format_ARGB32_Premultiplied);
    shapeCover.fill(Qt::transparent);
    {
        QPainter p(&shapeCover);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.fillPath(niche(), Qt::white);
    }
    for (int k = 0; k < FigureCount; ++k) {
        const QImage f = figure(k, scale).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = qAlpha(shapeCover.pixel(x, y)) >= 128;
                const QRgb c = f.pixel(x, y);
                atlas.setPixel(width * k + x, FigureY * scale + y,
                               inside ? (c | 0xFF000000u) : qRgb(0, 0, 0));
                if (k == 0)
                    atlas.setPixel(FigureMaskX * scale + x, FigureY * scale + y,
                                   inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        }
    }
    return atlas;
}

} // namespace atlas
