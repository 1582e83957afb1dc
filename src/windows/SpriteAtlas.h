// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>

class QWidget;

// The sprite atlas b5.bmp, which the message windows and the editor's introduction draw from:
// figure k at (60 k, 150) and the mask the figures share at (360, 150), each 60 x 98.
namespace sprite_atlas {

constexpr int FigureWidth = 60;
constexpr int FigureHeight = 98;
constexpr int FigureTop = 150;
constexpr QPoint MaskPlace{360, 150};

// The atlas in 32 bits at `scale` device pixels for each of its pixels: `fineAtlas` (the atlas drawn
// at that scale) when it has that size, else scaled smoothly from it or, without it, from `atlas`;
// the mask is made sharp again, which a picture drawn for the scale already is. Null at scale 1 and
// without an atlas.
QImage AtScale(const QImage& atlas, const QImage& fineAtlas, int scale);

// Draws figure `figure` at `place` of `canvas`: AND of the shared mask, then OR of the figure, so the
// canvas shows around it. `canvas` and `atlas` are at `scale`; `place` is in the atlas's own pixels.
void DrawFigure(QImage& canvas, QPoint place, const QImage& atlas, int figure, int scale);

// Paints `canvas`, drawn at `scale` device pixels for each pixel, over the whole of `widget`.
void Present(QWidget& widget, QImage canvas, int scale);

} // namespace sprite_atlas
