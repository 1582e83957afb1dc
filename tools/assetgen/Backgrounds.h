// SPDX-License-Identifier: GPL-3.0-or-later
// The two background pictures b1.bmp (wood) and b2.bmp (stone): the board background and, to its
// right, the hole regions, the twelve big and small peg designs with their masks, and the editing
// marker.
#pragma once

#include <QImage>

namespace backgrounds {

enum class Theme { Wood, Stone };

// The whole 1180 x 333 picture of a theme, drawn with `scale` device pixels for each of its pixels
// (2360 x 666 at scale 2): every piece lies where the layout puts it, multiplied by the scale.
QImage make(Theme theme, int scale = 1);

// Hole centre and radius inside a hole picture. Hexagonal rows lie 14 (small: 7) pixels apart, so
// hole pictures of neighbouring sizes overlap by 2 (1) rows: those rows stay plain background.
constexpr double BigHoleCentre = 8.0;
constexpr double BigHoleRadius = 6.0;
constexpr double SmallHoleCentre = 4.0;
constexpr double SmallHoleRadius = 2.8;

} // namespace backgrounds
