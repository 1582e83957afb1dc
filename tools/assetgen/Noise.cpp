// SPDX-License-Identifier: GPL-3.0-or-later
#include "Noise.h"

#include <cmath>
#include <cstdint>

namespace noise {

double hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFFu) / double(0x1000000);
}

static double smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

double value(double x, double y, int seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const double a = hash(ix, iy, seed);
    const double b = hash(ix + 1, iy, seed);
    const double c = hash(ix, iy + 1, seed);
    const double d = hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double fractal(double x, double y, int octaves, int seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += value(x, y, seed + 17 * o) * weight;
        total += weight;
        x *= 2.0;
        y *= 2.0;
        weight *= 0.5;
    }
    return sum / total;
}

} // namespace noise
