// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing's hot paths: one step of a drag, one cell, and the whole board area.
#include <benchmark/benchmark.h>

#include <QImage>

#include "view/BoardPainter.h"
#include "view/Raster.h"
#include "view/Sprites.h"

namespace {

QImage MakeBackground() {
    QImage picture(1180, 333, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    return picture;
}

LevelRecord FullBoard() {
    LevelRecord record;
    record.Size = 9;
    for (int cell = 0; cell < CellCount; ++cell) {
        record.StartCells[cell] = static_cast<CellCode>(1 + cell % 3);
        record.TargetCells[cell] = static_cast<CellCode>(cell % 4);
    }
    return record;
}

// The usual mouse step: a few pixels, so the near move with its union rectangle.
void BM_SpriteNearMove(benchmark::State& state) {
    const QImage background = MakeBackground();
    QImage canvas = background.copy(0, 0, 500, 333);
    tSprite sprite(canvas, 24, 24);
    sprite.SetMask(&background, 788, 272);
    sprite.SetImage(&background, 524, 272);
    sprite.MoveTo(100, 100);
    sprite.Show();
    sprite.Grab(112, 112);
    int step = 0;
    for (auto _ : state) {
        const int offset = (step++ % 2 == 0) ? 3 : 0;
        sprite.DragTo(112 + offset, 112 + offset);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SpriteNearMove);

void BM_DrawCell(benchmark::State& state) {
    QImage area = raster::MakePicture(500, 333);
    BoardPainter painter(area, {});
    painter.setBackground(MakeBackground());
    const LevelRecord record = FullBoard();
    const BoardInputs in{record.StartCells, record, false, 1, 2};
    int cell = 0;
    for (auto _ : state) {
        painter.DrawCell(in, cell);
        cell = (cell + 1) % CellCount;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCell);

void BM_BoxPaint(benchmark::State& state) {
    QImage area = raster::MakePicture(500, 333);
    BoardPainter painter(area, {});
    painter.setBackground(MakeBackground());
    const LevelRecord record = FullBoard();
    const BoardInputs in{record.StartCells, record, false, 1, 2};
    for (auto _ : state) {
        painter.boxPaint(in);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoxPaint);

} // namespace
