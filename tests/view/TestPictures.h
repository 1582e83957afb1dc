// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures with the layouts the drawing expects, made by the tests themselves. Every plain pixel
// carries its own coordinates, so a piece taken from the wrong place shows up at once.
#pragma once

#include <QImage>

#include <cmath>

namespace testpics {

constexpr QRgb Sentinel = 0xFF123456u;

// The picture's pixels as they are, at no device pixel ratio: what a comparison of pixels needs.
inline QImage Plain(const QImage& image) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1);
    return copy;
}

// A unique colour for each place of a picture up to 2048 x 512.
inline QRgb PlaceColour(int x, int y) {
    return 0xFF000000u | (static_cast<QRgb>(x) << 9) | static_cast<QRgb>(y);
}

inline bool InsideRound(int u, int v, int size) {
    const double centre = (size - 1) / 2.0;
    return std::hypot(u - centre, v - centre) <= size * 0.42;
}

// Peg picture of design d: its own colours inside the round shape, black outside.
inline QRgb PegColour(int design, int u, int v, int size) {
    if (!InsideRound(u, v, size))
        return 0xFF000000u;
    return qRgb(0x80 + 8 * design, 8 * u + 4, 8 * v + 4);
}

// Mask: black under the round shape, white where the background shows.
inline QRgb MaskColour(int u, int v, int size) {
    return InsideRound(u, v, size) ? 0xFF000000u : 0xFFFFFFFFu;
}

// 1180 x 333: every pixel its place colour, except the peg pictures and masks in their rows.
inline QImage MakeBackground() {
    QImage picture(1180, 333, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, PlaceColour(x, y));
    for (int d = 0; d <= 12; ++d) // slot 12 is the mask
        for (int v = 0; v < 24; ++v)
            for (int u = 0; u < 24; ++u)
                picture.setPixel(500 + 24 * d + u, 272 + v,
                                 d < 12 ? PegColour(d, u, v, 24) : MaskColour(u, v, 24));
    for (int d = 0; d <= 12; ++d)
        for (int v = 0; v < 12; ++v)
            for (int u = 0; u < 12; ++u)
                picture.setPixel(500 + 12 * d + u, 296 + v,
                                 d < 12 ? PegColour(d, u, v, 12) : MaskColour(u, v, 12));
    return picture;
}

// 300 x 20 numbs picture whose every pixel names its own column and row.
inline QRgb NumbsColour(int x, int y) {
    return qRgb(x & 0xFF, ((x >> 8) << 6) | y, 0x99);
}

inline QImage MakeNumbs() {
    QImage picture(300, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixel(x, y, NumbsColour(x, y));
    return picture;
}

} // namespace testpics
