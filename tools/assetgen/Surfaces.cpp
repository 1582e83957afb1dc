// SPDX-License-Identifier: GPL-3.0-or-later
#include "Surfaces.h"

#include "Noise.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace surfaces {
namespace {

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

QRgb rgb(double r, double g, double b) {
    return qRgb(int(std::lround(clamp01(r) * 255)), int(std::lround(clamp01(g) * 255)),
                int(std::lround(clamp01(b) * 255)));
}

QRgb scaled(QRgb c, double k) {
    return rgb(qRed(c) / 255.0 * k, qGreen(c) / 255.0 * k, qBlue(c) / 255.0 * k);
}

} // namespace

QImage wood(int width, int height, int seed, int scale) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double x = column / double(scale), y = row / double(scale);
            // Growth rings cut lengthwise give long stretched bands; the warp bends them.
            const double warp = noise::fractal(x * 0.004, y * 0.03, 4, seed) * 9.0;
            const double ring = y * 0.11 + warp + noise::value(x * 0.02, y * 0.2, seed + 3) * 0.35;
            const double t = ring - std::floor(ring);
            const double late = std::pow(t, 4.0);
            const double fibre = noise::value(x * 0.08, y * 1.7, seed + 5) - 0.5;
            const double patch = noise::fractal(x * 0.01, y * 0.01, 3, seed + 9) - 0.5;
            const double k = 1.0 + 0.10 * fibre + 0.18 * patch - 0.28 * late;
            image.setPixel(column, row, rgb(0.74 * k, 0.50 * k, 0.29 * k));
        }
    }
    return image;
}

QImage stone(int width, int height, int seed, int scale) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double x = column / double(scale), y = row / double(scale);
            // Polished granite: soft clouds, fine grain, dark and light crystals, and a few faint
            // quartz veins.
            const double cloud = noise::fractal(x * 0.010, y * 0.010, 5, seed) - 0.5;
            const double mottle = noise::fractal(x * 0.08, y * 0.08, 3, seed + 6) - 0.5;
            const double grain = noise::value(x * 0.7, y * 0.7, seed + 1) - 0.5;
            // A crystal covers the device pixels of one picture pixel.
            const double speck = noise::hash(column / scale, row / scale, seed + 2);
            const double veinNoise = noise::fractal(x * 0.005 + 3, y * 0.007, 4, seed + 4);
            const double vein = std::exp(-std::pow((veinNoise - 0.55) / 0.006, 2.0));
            double k = 1.0 + 0.22 * cloud + 0.16 * mottle + 0.08 * grain;
            if (speck > 0.97)
                k *= 0.62;
            else if (speck < 0.02)
                k *= 1.22;
            const double r = 0.50 * k + 0.10 * vein;
            const double g = 0.52 * k + 0.10 * vein;
            const double b = 0.56 * k + 0.10 * vein;
            image.setPixel(column, row, rgb(r, g, b));
        }
    }
    return image;
}

QImage parchment(int width, int height, int seed, int scale) {
    QImage image(width, height, QImage::Format_RGB32);
    const double cx = width / (2.0 * scale), cy = height / (2.0 * scale);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double x = column / double(scale), y = row / double(scale);
            const double cloud = noise::fractal(x * 0.02, y * 0.02, 4, seed) - 0.5;
            const double fibre = noise::value(x * 0.5, y * 0.06, seed + 1) - 0.5;
            const double dx = (x - cx) / cx, dy = (y - cy) / cy;
            const double rim = std::pow(std::min(1.0, std::sqrt(dx * dx * 0.6 + dy * dy * 0.6)), 3.0);
            const double k = 1.0 + 0.07 * cloud + 0.03 * fibre - 0.10 * rim;
            image.setPixel(column, row, rgb(0.98 * k, 0.93 * k, 0.80 * k));
        }
    }
    return image;
}

void bevel(QImage& image, const QRect& rect, int depth, bool raised, double strength) {
    for (int i = 0; i < depth; ++i) {
        const double fade = strength * (1.0 - double(i) / depth);
        const double dark = 1.0 - 0.45 * fade;
        const double light = 1.0 + 0.40 * fade;
        const double topLeft = raised ? light : dark;
        const double bottomRight = raised ? dark : light;
        const int l = rect.left() + i, t = rect.top() + i, r = rect.right() - i, b = rect.bottom() - i;
        for (int x = l; x <= r; ++x) {
            image.setPixel(x, t, scaled(image.pixel(x, t), topLeft));
            image.setPixel(x, b, scaled(image.pixel(x, b), bottomRight));
        }
        for (int y = t + 1; y < b; ++y) {
            image.setPixel(l, y, scaled(image.pixel(l, y), topLeft));
            image.setPixel(r, y, scaled(image.pixel(r, y), bottomRight));
        }
    }
}

void tint(QImage& image, const QRect& rect, double factor, int radius) {
    QImage shape(image.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(rect), radius, radius);
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const double a = qAlpha(shape.pixel(x, y)) / 255.0;
            image.setPixel(x, y, scaled(image.pixel(x, y), 1.0 + (factor - 1.0) * a));
        }
    }
}

QColor average(const QImage& image, const QRect& rect) {
    double r = 0, g = 0, b = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
    }
    const double n = double(rect.width()) * rect.height();
    return QColor(int(r / n), int(g / n), int(b / n));
}

} // namespace surfaces
