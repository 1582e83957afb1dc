// SPDX-License-Identifier: GPL-3.0-or-later
// Procedural surfaces and the bevels carved into them: the wooden and the stone board, and the
// parchment of the message windows.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace surfaces {

// A wooden plank with its grain running left to right. `scale` device pixels stand for one picture
// pixel: the same plank drawn finer, for screens of a higher pixel ratio.
QImage wood(int width, int height, int seed, int scale = 1);

// A polished grey-blue granite slab with light veins, drawn at `scale` as the plank is.
QImage stone(int width, int height, int seed, int scale = 1);

// Warm parchment with fibres and a darker rim, drawn at `scale` as the plank is.
QImage parchment(int width, int height, int seed, int scale = 1);

// Carves a frame of `depth` pixels along the inside of `rect`: sunk when `raised` is false
// (dark upper-left, light lower-right), standing out otherwise. `strength` scales the contrast.
void bevel(QImage& image, const QRect& rect, int depth, bool raised, double strength);

// Darkens (factor < 1) or lightens the inside of `rect` with softly rounded corners.
void tint(QImage& image, const QRect& rect, double factor, int radius);

// Average colour of a rectangle of the picture.
QColor average(const QImage& image, const QRect& rect);

} // namespace surfaces
