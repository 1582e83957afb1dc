// SPDX-License-Identifier: GPL-3.0-or-later
// The twelve peg designs: shaded spheres of glass, wood, pearl, metal and stone, and the pieces
// (picture plus mask) the game composes them from with AND and OR.
#pragma once

#include <QColor>
#include <QImage>

namespace pegs {

// A masked piece: where the mask is white the background shows and the picture is black; under
// the piece the mask is black and the picture holds the piece.
struct Piece {
    QImage picture;
    QImage mask;
};

// One peg of `design` on a square of `size` pixels, with a small shadow to the lower right. Edge
// pixels are blended with `surround`, the average colour of the board the pegs stand on, since the
// mask itself can only show or hide. The mask depends on the size alone, so every design of a
// size shares it.
Piece renderPeg(int design, int size, QColor surround);

// Paints a shaded ball of `design` with its centre and radius onto an ARGB picture, antialiased;
// used for the splash, title and icon pictures.
void paintBall(QImage& image, double cx, double cy, double radius, int design);

} // namespace pegs
