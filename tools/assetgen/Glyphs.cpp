// SPDX-License-Identifier: GPL-3.0-or-later
#include "Glyphs.h"

#include "Pegs.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstring>
#include <functional>

namespace glyphs {
namespace {

using Draw = std::function<void(QPainter&, QImage&)>;

const QColor Outline(30, 30, 40);

// The grey, embossed look of a disabled button: a white copy one logical pixel down and right, and
// the glyph in greys above it.
QImage disabledLook(const QImage& normal, int scale) {
    QImage out(normal.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            if (qAlpha(normal.pixel(x, y)) >= 96 && x + scale < out.width() && y + scale < out.height())
                out.setPixel(x + scale, y + scale, qRgba(255, 255, 255, 255));
        }
    }
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            const QRgb c = normal.pixel(x, y);
            if (qAlpha(c) < 96)
                continue;
            const int grey = 96 + qGray(c) * 45 / 255;
            out.setPixel(x, y, qRgba(grey, grey, grey, 255));
        }
    }
    return out;
}

// A pressed button shows its glyph a little darker.
QImage pressedLook(const QImage& normal) {
    QImage out = normal.copy();
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = out.pixel(x, y);
            out.setPixel(x, y, qRgba(qRed(c) * 4 / 5, qGreen(c) * 4 / 5, qBlue(c) * 4 / 5, qAlpha(c)));
        }
    }
    return out;
}

// Drawn in logical pixels: the painter of a picture with a device pixel ratio scales by it, and the
// glyphs that paint balls pixel by pixel take the ratio from the picture.
QImage render(int w, int h, int scale, const Draw& draw) {
    QImage image(w * scale, h * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, image);
    }
    image.setDevicePixelRatio(1);
    return image;
}

void arrowHead(QPainter& p, QPointF tip, QPointF direction, double size, QColor colour) {
    const double len = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / len;
    const QPointF n(-d.y(), d.x());
    QPainterPath head(tip + d * (size * 0.35));
    head.lineTo(tip - d * size * 0.8 + n * size * 0.75);
    head.lineTo(tip - d * size * 0.8 - n * size * 0.75);
    head.closeSubpath();
    p.setPen(QPen(colour.darker(140), 0.6));
    p.setBrush(colour);
    p.drawPath(head);
}

void restart(QPainter& p, QImage&) {
    const QColor green(40, 150, 60);
    p.setPen(QPen(green, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 12, 12), 110 * 16, 290 * 16);
    const double a = 40.0 * M_PI / 180.0;
    arrowHead(p, QPointF(9 + 6 * std::cos(a), 9 - 6 * std::sin(a)), QPointF(-std::sin(a), -std::cos(a)), 4.0,
              green);
}

void backmove(QPainter& p, QImage&) {
    const QColor blue(40, 100, 210);
    p.setPen(QPen(blue, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve(QPointF(15, 14));
    curve.cubicTo(15, 6, 9, 5, 6, 6.5);
    p.drawPath(curve);
    arrowHead(p, QPointF(3.5, 7.5), QPointF(-1, 0.35), 4.2, blue);
}

void speaker(QPainter& p, bool on) {
    QPainterPath body;
    body.moveTo(2, 6);
    body.lineTo(5, 6);
    body.lineTo(9, 2.5);
    body.lineTo(9, 13.5);
    body.lineTo(5, 10);
    body.lineTo(2, 10);
    body.closeSubpath();
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(90, 95, 110));
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(QColor(30, 110, 220), 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(7, 5, 5, 6), -50 * 16, 100 * 16);
        p.drawArc(QRectF(6.5, 2.5, 8.5, 11), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(210, 40, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 5.5), QPointF(15, 10.5));
        p.drawLine(QPointF(15, 5.5), QPointF(11, 10.5));
    }
}

void edit(QPainter& p, QImage&) {
    p.translate(8, 8);
    p.rotate(45);
    p.setPen(QPen(Outline, 0.7));
    p.setBrush(QColor(245, 200, 50));
    p.drawRect(QRectF(-2.2, -7.5, 4.4, 10));
    p.setBrush(QColor(235, 130, 150));
    p.drawRect(QRectF(-2.2, -8.8, 4.4, 1.6));
    QPainterPath tip(QPointF(-2.2, 2.5));
    tip.lineTo(2.2, 2.5);
    tip.lineTo(0, 7.5);
    tip.closeSubpath();
    p.setBrush(QColor(240, 215, 170));
    p.drawPath(tip);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(0, 6.5), 0.8, 1.0);
}

void pegChoice(QPainter& p, QImage& image) {
    p.end();
    const double s = image.devicePixelRatio();
    pegs::paintBall(image, 6.5 * s, 7.0 * s, 5.0 * s, 1);
    pegs::paintBall(image, 11.5 * s, 11.5 * s, 5.2 * s, 2);
}

void step(QPainter& p, QImage&) {
    const QColor green(30, 140, 90);
    QPainterPath triangle(QPointF(4, 3.5));
    triangle.lineTo(12, 9);
    triangle.lineTo(4, 14.5);
    triangle.closeSubpath();
    p.setPen(QPen(green.darker(150), 0.8));
    p.setBrush(green);
    p.drawPath(triangle);
    p.drawRect(QRectF(12.5, 3.5, 2.5, 11));
}

void exitDoor(QPainter& p, QImage&) {
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(120, 80, 45));
    p.drawRect(QRectF(2.5, 2.5, 8, 13));
    p.setBrush(QColor(180, 125, 70));
    QPainterPath leaf(QPointF(2.5, 2.5));
    leaf.lineTo(7.5, 4.0);
    leaf.lineTo(7.5, 17);
    leaf.lineTo(2.5, 15.5);
    leaf.closeSubpath();
    p.drawPath(leaf);
    const QColor red(210, 40, 40);
    p.setPen(QPen(red, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(10, 9), QPointF(13.5, 9));
    arrowHead(p, QPointF(16, 9), QPointF(1, 0), 3.6, red);
}

void badge(QPainter& p, QColor colour, const QString& text, double size) {
    QRadialGradient fill(QPointF(size * 0.38, size * 0.35), size * 0.6);
    fill.setColorAt(0.0, colour.lighter(150));
    fill.setColorAt(1.0, colour);
    p.setPen(QPen(colour.darker(160), 0.9));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
    QFont font("DejaVu Serif", 10, QFont::Bold);
    font.setPixelSize(int(size * 0.72));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0.5, size, size), Qt::AlignCenter, text);
}

void help(QPainter& p, QImage&) {
    badge(p, QColor(40, 100, 210), "?", 18);
}
void info(QPainter& p, QImage&) {
    badge(p, QColor(30, 150, 120), "i", 18);
}

void tolvar(QPainter& p, QImage& image) {
    QLinearGradient wood(0, 0, 0, 20);
    wood.setColorAt(0.0, QColor(215, 160, 95));
    wood.setColorAt(1.0, QColor(160, 105, 55));
    p.setPen(QPen(QColor(90, 55, 25), 1.0));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(0.5, 0.5, 25, 19), 4, 4);
    p.end();
    const double s = image.devicePixelRatio();
    pegs::paintBall(image, 6.5 * s, 13.5 * s, 3.4 * s, 1);
    pegs::paintBall(image, 13.0 * s, 13.5 * s, 3.4 * s, 4);
    pegs::paintBall(image, 19.5 * s, 13.5 * s, 3.4 * s, 2);
    pegs::paintBall(image, 9.75 * s, 7.0 * s, 3.4 * s, 3);
    pegs::paintBall(image, 16.25 * s, 7.0 * s, 3.4 * s, 9);
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(140, 100, 20), 0.8));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath back(QPointF(1.5, 4.5));
    back.lineTo(6, 4.5);
    back.lineTo(7.5, 6);
    back.lineTo(14.5, 6);
    back.lineTo(14.5, 14.5);
    back.lineTo(1.5, 14.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 220, 120));
    QPainterPath front(QPointF(1.5, 14.5));
    front.lineTo(3.5, 8.5);
    front.lineTo(15.5, 8.5);
    front.lineTo(14.5, 14.5);
    front.closeSubpath();
    p.drawPath(front);
}

void load(QPainter& p, QImage&) {
    folder(p);
    const QColor green(30, 150, 50);
    p.setPen(QPen(green, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11, 0.5), QPointF(11, 5));
    arrowHead(p, QPointF(11, 8), QPointF(0, 1), 3.4, green);
}

void save(QPainter& p, QImage&) {
    p.setPen(QPen(QColor(80, 80, 90), 0.8));
    p.setBrush(Qt::white);
    QPainterPath sheet(QPointF(2.5, 1.5));
    sheet.lineTo(8.5, 1.5);
    sheet.lineTo(11.5, 4.5);
    sheet.lineTo(11.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(5, 6 + 3 * i), 1.1, 1.1);
    const QColor blue(40, 100, 210);
    p.setPen(QPen(blue, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(7.5, 10), QPointF(12, 10));
    arrowHead(p, QPointF(15, 10), QPointF(1, 0), 3.4, blue);
}

void insert(QPainter& p, QImage&) {
    p.setPen(QPen(QColor(90, 55, 25), 0.8));
    p.setBrush(QColor(215, 160, 95));
    p.drawRoundedRect(QRectF(1.5, 3.5, 11, 11), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 30, 10));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawEllipse(QPointF(4 + 3 * c, 6 + 3 * r), 0.9, 0.9);
    const QColor green(30, 160, 50);
    p.setPen(QPen(green.darker(130), 3.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12, 1), QPointF(12, 9));
    p.drawLine(QPointF(8, 5), QPointF(16, 5));
    p.setPen(QPen(green.lighter(120), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12, 1.8), QPointF(12, 8.2));
    p.drawLine(QPointF(8.8, 5), QPointF(15.2, 5));
}

void remove(QPainter& p, QImage&) {
    const QColor red(215, 40, 40);
    p.setPen(QPen(red.darker(160), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(14, 14));
    p.drawLine(QPointF(14, 4), QPointF(4, 14));
    p.setPen(QPen(red, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(14, 14));
    p.drawLine(QPointF(14, 4), QPointF(4, 14));
}

void verticalArrow(QPainter& p, bool down) {
    const QColor blue(40, 100, 210);
    QPainterPath arrow;
    const double tip = down ? 14.5 : 1.5;
    const double base = down ? 7.5 : 8.5;
    const double tail = down ? 1.5 : 14.5;
    arrow.moveTo(8, tip);
    arrow.lineTo(2, base);
    arrow.lineTo(5.5, base);
    arrow.lineTo(5.5, tail);
    arrow.lineTo(10.5, tail);
    arrow.lineTo(10.5, base);
    arrow.lineTo(14, base);
    arrow.closeSubpath();
    QLinearGradient fill(0, 0, 16, 0);
    fill.setColorAt(0.0, blue.lighter(150));
    fill.setColorAt(1.0, blue);
    p.setPen(QPen(blue.darker(160), 0.8));
    p.setBrush(fill);
    p.drawPath(arrow);
}

void down(QPainter& p, QImage&) {
    verticalArrow(p, true);
}
void up(QPainter& p, QImage&) {
    verticalArrow(p, false);
}

void tongue(QPainter& p, QImage&) {
    auto bubble = [&p](QRectF r, QPointF tail, QColor colour) {
        QPainterPath path;
        path.addRoundedRect(r, 2.5, 2.5);
        QPainterPath t(QPointF(r.center().x() - 1.5, r.bottom() - 0.5));
        t.lineTo(tail);
        t.lineTo(r.center().x() + 1.5, r.bottom() - 0.5);
        t.closeSubpath();
        path = path.united(t);
        p.setPen(QPen(colour.darker(160), 0.8));
        p.setBrush(colour);
        p.drawPath(path);
    };
    bubble(QRectF(0.5, 0.5, 9, 7), QPointF(3, 10), QColor(60, 120, 220));
    bubble(QRectF(5.5, 5.5, 9, 6.5), QPointF(12, 14.5), QColor(225, 60, 50));
}

Draw drawerFor(const char* name) {
    const struct {
        const char* name;
        void (*draw)(QPainter&, QImage&);
    } table[] = {
        {"RestartBtn", restart}, {"BackmoveBtn", backmove}, {"EditBtn", edit}, {"PegBtn", pegChoice},
        {"StepBtn", step},       {"ExitBtn", exitDoor},     {"HelpBtn", help}, {"InfoBtn", info},
        {"TolvarBtn", tolvar},   {"LoadBtn", load},         {"SaveBtn", save}, {"InsertBtn", insert},
        {"DeleteBtn", remove},   {"DownBtn", down},         {"UpBtn", up},     {"EdTongBtn", tongue}};
    for (const auto& entry : table)
        if (std::strcmp(entry.name, name) == 0)
            return entry.draw;
    return {};
}

} // namespace

QImage make(const pictures::GlyphStrip& strip, int scale) {
    const int w = strip.width;
    const int h = strip.height;
    QImage out(w * strip.count * scale, h * scale, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    std::vector<QImage> looks;
    if (std::strcmp(strip.name, "SoundBtn") == 0) {
        // Up means sound off, down means sound on; pressing an up button is about to switch it on.
        const QImage off = render(w, h, scale, [](QPainter& p, QImage&) { speaker(p, false); });
        const QImage on = render(w, h, scale, [](QPainter& p, QImage&) { speaker(p, true); });
        looks = {off, disabledLook(off, scale), pressedLook(on), on};
    } else {
        const Draw draw = drawerFor(strip.name);
        if (!draw)
            return {};
        const QImage normal = render(w, h, scale, draw);
        looks.push_back(normal);
        if (strip.count > 1)
            looks.push_back(disabledLook(normal, scale));
    }
    QPainter p(&out);
    for (std::size_t i = 0; i < looks.size() && int(i) < strip.count; ++i)
        p.drawImage(int(i) * w * scale, 0, looks[i]);
    return out;
}

} // namespace glyphs
