// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pegs.h"

#include "Layout.h"
#include "Noise.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pegs {
namespace {

struct Rgb {
    double r, g, b;
};

Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb mix(Rgb a, Rgb b, double t) {
    return a * (1.0 - t) + b * t;
}
double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

enum class Kind { Glass, Wood, Onyx, Pearl, Metal, Stone, CatsEye };

struct Material {
    Kind kind;
    Rgb base;
    Rgb accent;
};

// Design 1 and 2 are the defaults of the two colours, so they are the two most different glasses.
constexpr std::array<Material, layout::DesignCount> Materials{{
    {Kind::Wood, {0.80, 0.58, 0.33}, {0.55, 0.33, 0.16}},    // 0 maple
    {Kind::Glass, {0.86, 0.10, 0.08}, {1.00, 0.55, 0.35}},   // 1 red glass
    {Kind::Glass, {0.10, 0.30, 0.92}, {0.45, 0.80, 1.00}},   // 2 blue glass
    {Kind::Glass, {0.10, 0.62, 0.18}, {0.60, 1.00, 0.45}},   // 3 green glass
    {Kind::Glass, {1.00, 0.62, 0.02}, {1.00, 0.92, 0.35}},   // 4 amber glass
    {Kind::Glass, {0.52, 0.16, 0.74}, {0.90, 0.60, 1.00}},   // 5 violet glass
    {Kind::Onyx, {0.07, 0.07, 0.08}, {0.35, 0.38, 0.45}},    // 6 black onyx
    {Kind::Pearl, {0.96, 0.94, 0.90}, {0.90, 0.82, 0.92}},   // 7 pearl
    {Kind::Metal, {0.80, 0.83, 0.88}, {0.35, 0.37, 0.42}},   // 8 steel
    {Kind::Metal, {1.00, 0.80, 0.30}, {0.55, 0.36, 0.08}},   // 9 gold
    {Kind::Stone, {0.20, 0.72, 0.68}, {0.25, 0.20, 0.15}},   // 10 turquoise
    {Kind::CatsEye, {0.93, 0.95, 0.97}, {0.95, 0.40, 0.05}}, // 11 cat's eye
}};

// Light from the left and a little above, towards the viewer; the holes are shaded to match.
constexpr double Lx = -0.75, Ly = -0.40, Lz = 0.53;

struct Lighting {
    double diffuse;
    double specular;
    double rim;
    double nz;
};

Lighting light(double nx, double ny, double shininess) {
    const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
    const double diffuse = std::max(0.0, nx * Lx + ny * Ly + nz * Lz);
    const double hl = std::sqrt(Lx * Lx + Ly * Ly + (Lz + 1.0) * (Lz + 1.0));
    const double hx = Lx / hl, hy = Ly / hl, hz = (Lz + 1.0) / hl;
    const double specular = std::pow(std::max(0.0, nx * hx + ny * hy + nz * hz), shininess);
    return {diffuse, specular, 1.0 - nz, nz};
}

Rgb glass(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 70.0);
    // Light passing through gathers on the far side of the ball.
    const double gx = nx - 0.38, gy = ny - 0.30;
    const double glow = std::exp(-(gx * gx + gy * gy) / 0.18);
    Rgb c = m.base * (0.38 + 0.42 * l.diffuse) + m.accent * (0.55 * glow);
    c = c * (1.0 - 0.50 * l.rim * l.rim);
    return c + Rgb{1, 1, 1} * (1.1 * l.specular);
}

Rgb wood(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 25.0);
    const double dx = nx + 0.15, dy = ny + 0.10;
    const double ring = std::sqrt(dx * dx + dy * dy) * 7.0 + noise::fractal(nx * 3 + 5, ny * 3, 3, 11) * 1.6;
    const double t = std::pow(ring - std::floor(ring), 3.0);
    Rgb c = mix(m.base, m.accent, 0.55 * t);
    c = c * (0.35 + 0.75 * l.diffuse);
    return c + Rgb{1, 0.95, 0.85} * (0.35 * l.specular);
}

Rgb onyx(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 90.0);
    // A faint reflection of the room: lighter towards the lower edge.
    const Rgb c = m.base + m.accent * (0.35 * l.rim * clamp01(0.5 + ny));
    return c + Rgb{1, 1, 1} * (1.2 * l.specular) + m.accent * (0.25 * l.diffuse);
}

Rgb pearl(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 18.0);
    Rgb c = mix(m.base, m.accent, clamp01(l.rim * 1.2)) * (0.55 + 0.5 * l.diffuse);
    return c + Rgb{1, 1, 1} * (0.45 * l.specular);
}

Rgb metal(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 120.0);
    // Mirror: the reflected direction sees a bright sky, a soft horizon a little below the
    // middle of the ball and a warm floor.
    const double ry = 2.0 * l.nz * ny - 0.3;
    const double sky = clamp01(-ry);
    const double horizon = clamp01((ry + 0.12) / 0.24);
    const Rgb upper = mix(Rgb{0.62, 0.65, 0.70}, Rgb{1.0, 1.0, 1.0}, sky);
    const Rgb lower = mix(Rgb{0.22, 0.21, 0.20}, Rgb{0.55, 0.50, 0.45}, clamp01(ry / 0.7));
    const Rgb env = mix(upper, lower, horizon * horizon * (3.0 - 2.0 * horizon));
    Rgb c{m.base.r * env.r, m.base.g * env.g, m.base.b * env.b};
    c = mix(c, m.accent, 0.35 * l.rim * l.rim) * (0.75 + 0.35 * l.diffuse);
    return c + Rgb{1, 1, 1} * (1.3 * l.specular);
}

Rgb stone(const Material& m, double nx, double ny) {
    const Lighting l = light(nx, ny, 12.0);
    const double n = noise::fractal(nx * 3.2 + 7, ny * 3.2 + 3, 4, 23);
    const double vein = std::exp(-std::pow((n - 0.5) / 0.035, 2.0));
    Rgb c = mix(m.base * (0.85 + 0.3 * noise::fractal(nx * 6, ny * 6, 2, 5)), m.accent, 0.75 * vein);
    c = c * (0.40 + 0.70 * l.diffuse);
    return c + Rgb{1, 1, 1} * (0.25 * l.specular);
}

Rgb catsEye(const Material& m, double nx, double ny) {
    const double angle = std::atan2(ny, nx);
    const double r = std::sqrt(nx * nx + ny * ny);
    const double vane = std::pow(std::abs(std::sin(1.5 * angle + 2.2 * r)), 10.0);
    Material clear = m;
    clear.base = mix(m.base * 0.75, m.accent, 0.85 * vane * (1.0 - 0.6 * r));
    clear.accent = Rgb{0.75, 0.80, 0.85};
    return glass(clear, nx, ny);
}

QRgb toRgb(Rgb c) {
    return qRgb(int(std::lround(clamp01(c.r) * 255)), int(std::lround(clamp01(c.g) * 255)),
                int(std::lround(clamp01(c.b) * 255)));
}

Rgb fromQColor(QColor c) {
    return {c.redF(), c.greenF(), c.blueF()};
}

Rgb shadeRgb(int design, double nx, double ny) {
    const Material& m = Materials[static_cast<std::size_t>(design)];
    switch (m.kind) {
    case Kind::Glass:
        return glass(m, nx, ny);
    case Kind::Wood:
        return wood(m, nx, ny);
    case Kind::Onyx:
        return onyx(m, nx, ny);
    case Kind::Pearl:
        return pearl(m, nx, ny);
    case Kind::Metal:
        return metal(m, nx, ny);
    case Kind::Stone:
        return stone(m, nx, ny);
    case Kind::CatsEye:
        return catsEye(m, nx, ny);
    }
    return m.base;
}

// Geometry of a peg inside its square: the ball, and its shadow shifted to the lower right.
struct PegGeometry {
    double cx, cy, radius, shadowShift;
};

PegGeometry geometryFor(int size) {
    return {size * 0.47, size * 0.47, size * 0.44, size * 0.055};
}

constexpr int Samples = 6;
constexpr double ShadowStrength = 0.45;
constexpr double CoverageToShow = 0.3;

struct PixelResult {
    Rgb colour;
    double coverage;
};

PixelResult samplePixel(int design, const PegGeometry& g, Rgb surround, int px, int py) {
    Rgb sum{0, 0, 0};
    double covered = 0.0;
    for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
            const double x = px + (sx + 0.5) / Samples;
            const double y = py + (sy + 0.5) / Samples;
            const double nx = (x - g.cx) / g.radius;
            const double ny = (y - g.cy) / g.radius;
            if (nx * nx + ny * ny < 1.0) {
                sum = sum + shadeRgb(design, nx, ny);
                covered += 1.0;
                continue;
            }
            const double dx = x - g.cx - g.shadowShift, dy = y - g.cy - g.shadowShift;
            const double edge = g.radius - std::sqrt(dx * dx + dy * dy);
            const double shadow = ShadowStrength * clamp01(edge / 1.2 + 0.3);
            sum = sum + surround * (1.0 - shadow);
            covered += shadow / ShadowStrength;
        }
    }
    const double n = Samples * Samples;
    return {sum * (1.0 / n), covered / n};
}

} // namespace

Piece renderPeg(int design, int size, QColor surround) {
    const PegGeometry g = geometryFor(size);
    Piece piece{QImage(size, size, QImage::Format_RGB32), QImage(size, size, QImage::Format_RGB32)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const PixelResult p = samplePixel(design, g, fromQColor(surround), x, y);
            const bool shown = p.coverage >= CoverageToShow;
            piece.picture.setPixel(x, y, shown ? toRgb(p.colour) : qRgb(0, 0, 0));
            piece.mask.setPixel(x, y, shown ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return piece;
}

void paintBall(QImage& image, double cx, double cy, double radius, int design) {
    const int x0 = std::max(0, int(std::floor(cx - radius)));
    const int y0 = std::max(0, int(std::floor(cy - radius)));
    const int x1 = std::min(image.width() - 1, int(std::ceil(cx + radius)));
    const int y1 = std::min(image.height() - 1, int(std::ceil(cy + radius)));
    for (int py = y0; py <= y1; ++py) {
        for (int px = x0; px <= x1; ++px) {
            Rgb sum{0, 0, 0};
            int inside = 0;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const double nx = (px + (sx + 0.5) / Samples - cx) / radius;
                    const double ny = (py + (sy + 0.5) / Samples - cy) / radius;
                    if (nx * nx + ny * ny >= 1.0)
                        continue;
                    sum = sum + shadeRgb(design, nx, ny);
                    ++inside;
                }
            }
            if (inside == 0)
                continue;
            const double a = double(inside) / (Samples * Samples);
            const Rgb c = sum * (1.0 / inside);
            const QColor under = QColor::fromRgba(image.pixel(px, py));
            const Rgb below = fromQColor(under);
            const double underAlpha = under.alphaF();
            const double outAlpha = a + underAlpha * (1.0 - a);
            const Rgb out = outAlpha > 0 ? (c * a + below * (underAlpha * (1.0 - a))) * (1.0 / outAlpha) : c;
            const QRgb rgb = toRgb(out);
            image.setPixel(px, py,
                           qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), int(std::lround(outAlpha * 255))));
        }
    }
}

} // namespace pegs
