// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace raster {

namespace {

bool is32Bit(const QImage& image) {
    return !image.isNull() && image.depth() == 32;
}

// The part of a source and a destination rectangle that lies inside both pictures.
struct Clipped {
    long long sx, sy, dx, dy, w, h;
    bool empty() const { return w <= 0 || h <= 0; }
};

Clipped clip(const QImage& dst, long long dx, long long dy, const QImage& src, long long sx, long long sy,
             long long w, long long h) {
    Clipped c{sx, sy, dx, dy, w, h};
    const long long shiftX = std::max({0LL, -c.sx, -c.dx});
    c.sx += shiftX;
    c.dx += shiftX;
    c.w -= shiftX;
    const long long shiftY = std::max({0LL, -c.sy, -c.dy});
    c.sy += shiftY;
    c.dy += shiftY;
    c.h -= shiftY;
    c.w = std::min({c.w, src.width() - c.sx, dst.width() - c.dx});
    c.h = std::min({c.h, src.height() - c.sy, dst.height() - c.dy});
    return c;
}

void combineRow(quint32* to, const quint32* from, long long count, Op op) {
    switch (op) {
    case Op::Copy:
        std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(quint32));
        break;
    case Op::And:
        for (long long i = 0; i < count; ++i)
            to[i] &= from[i];
        break;
    case Op::Or:
        for (long long i = 0; i < count; ++i)
            to[i] |= from[i];
        break;
    }
}

} // namespace

QRect Blit(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h, Op op) {
    if (!is32Bit(dst) || !is32Bit(src))
        return {};
    const Clipped c = clip(dst, dx, dy, src, sx, sy, w, h);
    if (c.empty())
        return {};
    // A copy within one picture could overlap itself; take the source out first.
    if (&src == &dst) {
        const QImage part = src.copy(static_cast<int>(c.sx), static_cast<int>(c.sy), static_cast<int>(c.w),
                                     static_cast<int>(c.h));
        return Blit(dst, static_cast<int>(c.dx), static_cast<int>(c.dy), part, 0, 0, part.width(),
                    part.height(), op);
    }
    uchar* toBits = dst.bits();
    const uchar* fromBits = src.constBits();
    const qsizetype toStride = dst.bytesPerLine();
    const qsizetype fromStride = src.bytesPerLine();
    for (long long row = 0; row < c.h; ++row) {
        auto* to = reinterpret_cast<quint32*>(toBits + (c.dy + row) * toStride) + c.dx;
        const auto* from = reinterpret_cast<const quint32*>(fromBits + (c.sy + row) * fromStride) + c.sx;
        combineRow(to, from, c.w, op);
    }
    return QRect(static_cast<int>(c.dx), static_cast<int>(c.dy), static_cast<int>(c.w),
                 static_cast<int>(c.h));
}

QRgb PixelAt(const QImage& image, int x, int y, QRgb outside) {
    if (!is32Bit(image) || x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return outside;
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

void SetPixelAt(QImage& image, int x, int y, QRgb value) {
    if (!is32Bit(image) || x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = value;
}

void SharpenMask(QImage& picture, const QRect& mask) {
    for (int y = mask.top(); y <= mask.bottom(); ++y)
        for (int x = mask.left(); x <= mask.right(); ++x)
            SetPixelAt(picture, x, y, qGray(PixelAt(picture, x, y)) < 128 ? 0xFF000000u : 0xFFFFFFFFu);
}

QImage MakePicture(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (!picture.isNull())
        picture.fill(Qt::black);
    return picture;
}

} // namespace raster
