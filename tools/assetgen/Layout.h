// SPDX-License-Identifier: GPL-3.0-or-later
// Where every piece lies in the background pictures and the sprite atlas, and where the cells of
// the big and the small board fall on the board area: the fixed layout the game draws from.
#pragma once

namespace layout {

constexpr int BoardWidth = 500;
constexpr int BoardHeight = 333;
constexpr int BackgroundWidth = 1180;
constexpr int BackgroundHeight = 333;
constexpr int DesignCount = 12;

// Hole regions. A hole picture is taken at the place that corresponds to its cell, so the region
// is the board background shifted by the hole's place inside the cell field, with holes on top.
constexpr int BigSquareHolesX = 500;
constexpr int BigSquareHolesSize = 272;
constexpr int BigHexHolesX = 772;
constexpr int BigHexHolesY = 16;
constexpr int BigHexHolesWidth = 272;
constexpr int BigHexHolesHeight = 240;
constexpr int BigHoleInField = 4; // the hole shows 4 pixels inside the 24 x 24 field
constexpr int BigFieldInOffset = 26;

constexpr int SmallHolesX = 1044;
constexpr int SmallSquareHolesSize = 136;
constexpr int SmallHexHolesY = 144;
constexpr int SmallHexHolesHeight = 120;
constexpr int SmallHexSourceY = 136; // a small hexagonal hole is read at 136 + sy
constexpr int SmallHoleInField = 2;
constexpr int SmallFieldX = 328;
constexpr int SmallFieldY = 32;

// Pegs and masks.
constexpr int BigPeg = 24;
constexpr int BigPegsX = 500;
constexpr int BigPegsY = 272;
constexpr int BigMaskX = 788;
constexpr int SmallPeg = 12;
constexpr int SmallPegsX = 500;
constexpr int SmallPegsY = 296;
constexpr int SmallMaskX = 644;

// The editing marker lies inside big peg design 2, at (5, 8) within it.
constexpr int MarkerX = 553;
constexpr int MarkerY = 280;
constexpr int MarkerSize = 3;

// Sprite atlas.
constexpr int AtlasWidth = 420;
constexpr int AtlasHeight = 248;
constexpr int MessageWidth = 300;
constexpr int MessageHeight = 150;
constexpr int FigureY = 150;
constexpr int FigureWidth = 60;
constexpr int FigureHeight = 98;
constexpr int FigureCount = 5;
constexpr int FigureMaskX = 360;
constexpr int FigureInMessageX = 20;
constexpr int FigureInMessageY = 25;

struct Offset {
    int x;
    int y;
};

// Board offset of a big cell (column c, row r) on a board of the given size and shape.
constexpr Offset bigOffset(int c, int r, int size, bool hex) {
    const int shift = 16 * (9 - size);
    if (!hex)
        return {32 * c + shift, 32 * r + shift};
    return {32 * c + shift + (r % 2 == 1 ? 16 : 0), 28 * r + 14 * (9 - size) + 16};
}

// Small-board offset of a small cell.
constexpr Offset smallOffset(int c, int r, int size, bool hex) {
    const int shift = 8 * (9 - size);
    if (!hex)
        return {16 * c + shift, 16 * r + shift};
    return {16 * c + shift + (r % 2 == 1 ? 8 : 0), 14 * r + 7 * (9 - size) + 8};
}

} // namespace layout
