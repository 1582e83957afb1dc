// SPDX-License-Identifier: GPL-3.0-or-later
// Rectangle copies with the three raster operations (copy, AND, OR) and single pixels on 32-bit
// QImages. Every rectangle is clipped against both pictures, so no call ever reads or writes
// outside them, whatever the coordinates.
#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

namespace raster {

enum class Op { Copy, And, Or };

// Combines the w x h rectangle of `src` at (sx, sy) into `dst` at (dx, dy). Pictures that are not
// 32 bits per pixel are left alone. Returns the rectangle of `dst` that was written (empty if none).
QRect Blit(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h, Op op);

inline QRect Copy(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h) {
    return Blit(dst, dx, dy, src, sx, sy, w, h, Op::Copy);
}

// The whole of `src` to (dx, dy).
inline QRect CopyAll(QImage& dst, int dx, int dy, const QImage& src) {
    return Blit(dst, dx, dy, src, 0, 0, src.width(), src.height(), Op::Copy);
}

// Reads a pixel; outside the picture (or on a picture of another depth) the answer is `outside`.
QRgb PixelAt(const QImage& image, int x, int y, QRgb outside = 0);

// Writes a pixel; a place outside the picture is ignored.
void SetPixelAt(QImage& image, int x, int y, QRgb value);

// A mask shows or hides: scaled smoothly from a player's picture its edge would turn grey, which AND
// would not blend but distort, so each pixel of `mask` inside `picture` is made black or white again.
void SharpenMask(QImage& picture, const QRect& mask);

// A black 32-bit picture of the given size; null when the size is not positive or too big to allocate.
QImage MakePicture(int width, int height);

} // namespace raster
