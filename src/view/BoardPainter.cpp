// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardPainter.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "session/Texts.h"
#include "view/BoardArea.h"
#include "view/QtText.h"
#include "view/Raster.h"
#include "view/Sprites.h"

using namespace board_layout;

namespace {

constexpr int EffectPixels = EffectSize * EffectSize;
constexpr int EffectSwaps = 78301;
constexpr int EffectPauseEvery = 28;
constexpr int RemovalSound = 7;

int bigHoleSourceX(const LevelRecord& record, const CellPlace& place) {
    return (record.isHexagon() ? BigHolesHexX : BigHolesSquareX) + place.bx;
}

int smallHoleSourceY(const LevelRecord& record, const CellPlace& place) {
    return (record.isHexagon() ? SmallHolesHexY : 0) + place.sy;
}

// Design numbers out of range (a hand-edited settings file) wrap round instead of reading past the
// twelve peg pictures.
int designOf(const BoardInputs& in, CellCode code) {
    const int design = code == SecondColourPeg ? in.secondDesign : in.firstDesign;
    return ((design % DesignCount) + DesignCount) % DesignCount;
}

} // namespace

CellPlace PlaceOf(const LevelRecord& record, int cell) {
    const int size = std::min<int>(record.Size, GridWidth);
    const int col = cell % GridWidth;
    const int row = cell / GridWidth;
    const int margin = GridWidth - size;
    if (!record.isHexagon())
        return {32 * col + 16 * margin, 32 * row + 16 * margin, 16 * col + 8 * margin, 16 * row + 8 * margin};
    const bool oddRow = row % 2 == 1;
    return {32 * col + 16 * margin + (oddRow ? 16 : 0), 28 * row + 14 * margin + 16,
            16 * col + 8 * margin + (oddRow ? 8 : 0), 14 * row + 7 * margin + 8};
}

namespace {

// The raster operations of one layer, in board pixels.
QRect blitAt(int scale, QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h,
             raster::Op op = raster::Op::Copy) {
    return raster::Blit(dst, dx * scale, dy * scale, src, sx * scale, sy * scale, w * scale, h * scale, op);
}

} // namespace

BoardPainter::BoardPainter(QImage& boardArea, std::function<void(const QRect&)> changed)
    : m_changed(std::move(changed)) {
    m_plain.area = &boardArea;
    m_plain.work = raster::MakePicture(WorkSize, WorkSize);
}

BoardPainter::BoardPainter(BoardArea& boardArea, std::function<void(const QRect&)> changed)
    : BoardPainter(boardArea.image(), std::move(changed)) {
    if (boardArea.fineImage() == nullptr)
        return;
    m_fine.area = boardArea.fineImage();
    m_fine.scale = boardArea.fineScale();
    m_fine.work = raster::MakePicture(WorkSize * m_fine.scale, WorkSize * m_fine.scale);
}

void BoardPainter::setBackground(const QImage& picture, const QImage& fine) {
    m_plain.background = picture.depth() == 32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    if (!m_fine.drawn())
        return;
    const int scale = m_fine.scale;
    const QSize size = m_plain.background.size() * scale;
    if (m_plain.background.isNull())
        m_fine.background = QImage();
    else if (fine.size() == size)
        m_fine.background = fine.convertToFormat(QImage::Format_RGB32);
    else
        m_fine.background = m_plain.background.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    raster::SharpenMask(m_fine.background,
                        QRect(BigMaskX * scale, BigMaskY * scale, BigPegSize * scale, BigPegSize * scale));
    raster::SharpenMask(m_fine.background, QRect(SmallMaskX * scale, SmallMaskY * scale, SmallPegSize * scale,
                                                 SmallPegSize * scale));
}

void BoardPainter::dressPegSprite(tSprite& sprite, int design) const {
    const int peg = ((design % DesignCount) + DesignCount) % DesignCount;
    sprite.SetMask(&m_plain.background, BigMaskX, BigMaskY);
    sprite.SetImage(&m_plain.background, BigPegsX + BigPegSize * peg, BigPegsY);
    if (m_fine.drawn())
        sprite.SetFine(*m_fine.area, m_fine.scale, &m_fine.background);
}

void BoardPainter::notify(const QRect& rect) const {
    if (m_changed && !rect.isEmpty())
        m_changed(rect);
}

// The hole is taken from the place of the hole region that matches the cell's place on the board,
// so it can blend with the background it sits on.
void BoardPainter::composeEmptyHole(Layer& layer, const LevelRecord& record, const CellPlace& place) {
    blitAt(layer.scale, layer.work, 4, 4, layer.background, bigHoleSourceX(record, place), place.by,
           BigHoleSize, BigHoleSize);
}

QRect BoardPainter::composeCell(Layer& layer, const BoardInputs& in, int cell) {
    if (!IsOnBoard(in.record, cell))
        return {};
    const int s = layer.scale;
    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.bigField();
    layer.work.fill(Qt::black);
    blitAt(s, layer.work, 0, 0, layer.background, field.x(), field.y(), EffectSize, EffectSize);
    const CellCode code = in.cells[cell];
    switch (code) {
    case NoHole:
        if (in.editing)
            blitAt(s, layer.work, 10, 10, layer.background, MarkerX, MarkerY, MarkerSize, MarkerSize);
        break;
    case EmptyHole:
        composeEmptyHole(layer, in.record, place);
        break;
    case FirstColourPeg:
    case SecondColourPeg:
        blitAt(s, layer.work, 0, 0, layer.background, BigMaskX, BigMaskY, BigPegSize, BigPegSize,
               raster::Op::And);
        blitAt(s, layer.work, 0, 0, layer.background, BigPegsX + BigPegSize * designOf(in, code), BigPegsY,
               BigPegSize, BigPegSize, raster::Op::Or);
        break;
    default: // a damaged code shows the background only
        break;
    }
    return blitAt(s, *layer.area, field.x(), field.y(), layer.work, 0, 0, field.width(), field.height());
}

QRect BoardPainter::composeTargetCell(Layer& layer, const BoardInputs& in, int cell) {
    if (!IsOnBoard(in.record, cell))
        return {};
    const int s = layer.scale;
    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.smallField();
    layer.work.fill(Qt::black);
    blitAt(s, layer.work, 0, 0, layer.background, field.x(), field.y(), field.width(), field.height());
    const CellCode code = in.record.TargetCells[cell];
    switch (code) {
    case NoHole:
        if (in.editing)
            blitAt(s, layer.work, 5, 5, layer.background, MarkerX, MarkerY, MarkerSize, MarkerSize);
        break;
    case EmptyHole:
        blitAt(s, layer.work, 2, 2, layer.background, SmallHolesX + place.sx,
               smallHoleSourceY(in.record, place), SmallHoleSize, SmallHoleSize);
        break;
    case FirstColourPeg:
    case SecondColourPeg:
        blitAt(s, layer.work, 0, 0, layer.background, SmallMaskX, SmallMaskY, SmallPegSize, SmallPegSize,
               raster::Op::And);
        blitAt(s, layer.work, 0, 0, layer.background, SmallPegsX + SmallPegSize * designOf(in, code),
               SmallPegsY, SmallPegSize, SmallPegSize, raster::Op::Or);
        break;
    default: // a damaged code shows the background only
        break;
    }
    return blitAt(s, *layer.area, field.x(), field.y(), layer.work, 0, 0, field.width(), field.height());
}

// The rectangle told to the widget is the 1x one; the fine picture covers the same board pixels.
QRect BoardPainter::drawCell(const BoardInputs& in, int cell) {
    if (m_fine.drawn())
        composeCell(m_fine, in, cell);
    return composeCell(m_plain, in, cell);
}

QRect BoardPainter::drawTargetCell(const BoardInputs& in, int cell) {
    if (m_fine.drawn())
        composeTargetCell(m_fine, in, cell);
    return composeTargetCell(m_plain, in, cell);
}

void BoardPainter::DrawCell(const BoardInputs& in, int cell) {
    notify(drawCell(in, cell));
}

void BoardPainter::DrawTargetCell(const BoardInputs& in, int cell) {
    notify(drawTargetCell(in, cell));
}

void BoardPainter::DrawAllCells(const BoardInputs& in) {
    QRect drawn;
    for (int cell = 0; cell < CellCount; ++cell)
        drawn |= drawCell(in, cell);
    notify(drawn);
}

void BoardPainter::DrawAllTargetCells(const BoardInputs& in) {
    QRect drawn;
    for (int cell = 0; cell < CellCount; ++cell)
        drawn |= drawTargetCell(in, cell);
    notify(drawn);
}

void BoardPainter::paintBox(Layer& layer, const BoardInputs& in) {
    QImage& area = *layer.area;
    // A background smaller than the board area would leave old pixels behind.
    if (layer.background.width() < area.width() || layer.background.height() < area.height())
        area.fill(Qt::black);
    blitAt(layer.scale, area, 0, 0, layer.background, 0, 0, AreaWidth, AreaHeight);
    for (int cell = 0; cell < CellCount; ++cell)
        composeCell(layer, in, cell);
    for (int cell = 0; cell < CellCount; ++cell)
        composeTargetCell(layer, in, cell);
}

void BoardPainter::boxPaint(const BoardInputs& in) {
    if (m_fine.drawn())
        paintBox(m_fine, in);
    paintBox(m_plain, in);
    notify(m_plain.area->rect());
}

void BoardPainter::composeRemoval(Layer& layer, const BoardInputs& in, int cell) {
    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.bigField();
    layer.work.fill(Qt::black);
    blitAt(layer.scale, layer.work, 0, 0, layer.background, field.x(), field.y(), EffectSize, EffectSize);
    composeEmptyHole(layer, in.record, place);
}

void BoardPainter::RemovalEffect(const BoardInputs& in, int cell, std::mt19937& random,
                                 const EffectHooks& hooks) {
    if (!IsOnBoard(in.record, cell))
        return;
    std::array<int, EffectPixels> order{};
    std::iota(order.begin(), order.end(), 0);
    std::uniform_int_distribution<int> position(0, EffectPixels - 1);
    for (int n = 0; n < EffectSwaps; ++n) {
        const int a = position(random);
        const int b = position(random);
        std::swap(order[a], order[b]);
    }

    const QRect field = PlaceOf(in.record, cell).bigField();
    composeRemoval(m_plain, in, cell);
    const bool fine = m_fine.drawn();
    if (fine)
        composeRemoval(m_fine, in, cell);

    if (hooks.playSound)
        hooks.playSound(RemovalSound);
    QImage& area = *m_plain.area;
    const QRect touched = QRect(field.x(), field.y(), EffectSize, EffectSize).intersected(area.rect());
    for (int k = 0; k < EffectPixels; ++k) {
        const int x = order[k] % EffectSize;
        const int y = order[k] / EffectSize;
        raster::SetPixelAt(area, field.x() + x, field.y() + y, raster::PixelAt(m_plain.work, x, y));
        // At the fine scale a board pixel is a square of device pixels, each of its own colour.
        if (fine)
            blitAt(m_fine.scale, *m_fine.area, field.x() + x, field.y() + y, m_fine.work, x, y, 1, 1);
        if (k % EffectPauseEvery == 0) {
            notify(touched); // show the progress before waiting
            if (hooks.pause)
                hooks.pause(1);
        }
    }
    notify(touched);
}

QString UpdateTitle(int boardNumber, const LevelRecord& record, int language) {
    QString title = toQString(TitlePrefix) + QString::number(boardNumber);
    const std::string name = record.Names[NameSlotForLanguage(language)].text();
    if (name.empty())
        return title;
    return title + toQString(TitleNameSeparator) + toQString(ShownName(name));
}
