// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures that carry the program's name: the splash picture b0.bmp, the about box's title
// picture, the program icon and the pointing hand.
#pragma once

#include <QImage>

#include <array>

namespace branding {

// The sizes of the menu icon in the desktop's icon theme (hicolor); tools/assetgen/CMakeLists.txt
// installs the same list.
inline constexpr std::array<int, 7> MenuIconSizes{16, 24, 32, 48, 64, 128, 256};

QImage splash(); // 200 x 150, opaque
// 101 x 77, opaque; at `scale` device pixels for each of its pixels (202 x 154 at scale 2).
QImage title(int scale = 1);
// size x size, transparent surroundings; drawn for its size, with fewer and bigger pegs when small.
// At `scale`, the same icon at size x scale pixels each way; the detail follows the device pixels.
QImage icon(int size, int scale = 1);
QImage hand(); // 32 x 32, transparent surroundings

} // namespace branding
