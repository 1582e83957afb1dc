// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardPainter.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "session/Texts.h"
#include "view/QtText.h"
#include "view/Raster.h"

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

BoardPainter::BoardPainter(QImage& boardArea, std::function<void(const QRect&)> changed)
    : m_area(boardArea), m_changed(std::move(changed)), m_work(raster::MakePicture(WorkSize, WorkSize)) {}

void BoardPainter::setBackground(const QImage& picture) {
    m_background = picture.depth() == 32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

void BoardPainter::notify(const QRect& rect) const {
    if (m_changed && !rect.isEmpty())
        m_changed(rect);
}

// The hole is taken from the place of the hole region that matches the cell's place on the board,
// so it can blend with the background it sits on.
void BoardPainter::composeEmptyHole(const LevelRecord& record, const CellPlace& place) {
    raster::Copy(m_work, 4, 4, m_background, bigHoleSourceX(record, place), place.by, BigHoleSize,
                 BigHoleSize);
}

QRect BoardPainter::composeCell(const BoardInputs& in, int cell) {
    if (!IsOnBoard(in.record, cell))
        return {};
    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.bigField();
    m_work.fill(Qt::black);
    raster::Copy(m_work, 0, 0, m_background, field.x(), field.y(), EffectSize, EffectSize);
    const CellCode code = in.cells[cell];
    switch (code) {
    case NoHole:
        if (in.editing)
            raster::Copy(m_work, 10, 10, m_background, MarkerX, MarkerY, MarkerSize, MarkerSize);
        break;
    case EmptyHole:
        composeEmptyHole(in.record, place);
        break;
    case FirstColourPeg:
    case SecondColourPeg:
        raster::Blit(m_work, 0, 0, m_background, BigMaskX, BigMaskY, BigPegSize, BigPegSize, raster::Op::And);
        raster::Blit(m_work, 0, 0, m_background, BigPegsX + BigPegSize * designOf(in, code), BigPegsY,
                     BigPegSize, BigPegSize, raster::Op::Or);
        break;
    default: // a damaged code shows the background only
        break;
    }
    return raster::Copy(m_area, field.x(), field.y(), m_work, 0, 0, field.width(), field.height());
}

QRect BoardPainter::composeTargetCell(const BoardInputs& in, int cell) {
    if (!IsOnBoard(in.record, cell))
        return {};
    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.smallField();
    m_work.fill(Qt::black);
    raster::Copy(m_work, 0, 0, m_background, field.x(), field.y(), field.width(), field.height());
    const CellCode code = in.record.TargetCells[cell];
    switch (code) {
    case NoHole:
        if (in.editing)
            raster::Copy(m_work, 5, 5, m_background, MarkerX, MarkerY, MarkerSize, MarkerSize);
        break;
    case EmptyHole:
        raster::Copy(m_work, 2, 2, m_background, SmallHolesX + place.sx, smallHoleSourceY(in.record, place),
                     SmallHoleSize, SmallHoleSize);
        break;
    case FirstColourPeg:
    case SecondColourPeg:
        raster::Blit(m_work, 0, 0, m_background, SmallMaskX, SmallMaskY, SmallPegSize, SmallPegSize,
                     raster::Op::And);
        raster::Blit(m_work, 0, 0, m_background, SmallPegsX + SmallPegSize * designOf(in, code), SmallPegsY,
                     SmallPegSize, SmallPegSize, raster::Op::Or);
        break;
    default: // a damaged code shows the background only
        break;
    }
    return raster::Copy(m_area, field.x(), field.y(), m_work, 0, 0, field.width(), field.height());
}

void BoardPainter::DrawCell(const BoardInputs& in, int cell) {
    notify(composeCell(in, cell));
}

void BoardPainter::DrawTargetCell(const BoardInputs& in, int cell) {
    notify(composeTargetCell(in, cell));
}

void BoardPainter::DrawAllCells(const BoardInputs& in) {
    QRect drawn;
    for (int cell = 0; cell < CellCount; ++cell)
        drawn |= composeCell(in, cell);
    notify(drawn);
}

void BoardPainter::DrawAllTargetCells(const BoardInputs& in) {
    QRect drawn;
    for (int cell = 0; cell < CellCount; ++cell)
        drawn |= composeTargetCell(in, cell);
    notify(drawn);
}

void BoardPainter::boxPaint(const BoardInputs& in) {
    // A background smaller than the board area would leave old pixels behind.
    if (m_background.width() < m_area.width() || m_background.height() < m_area.height())
        m_area.fill(Qt::black);
    raster::Copy(m_area, 0, 0, m_background, 0, 0, AreaWidth, AreaHeight);
    for (int cell = 0; cell < CellCount; ++cell)
        composeCell(in, cell);
    for (int cell = 0; cell < CellCount; ++cell)
        composeTargetCell(in, cell);
    notify(m_area.rect());
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

    const CellPlace place = PlaceOf(in.record, cell);
    const QRect field = place.bigField();
    m_work.fill(Qt::black);
    raster::Copy(m_work, 0, 0, m_background, field.x(), field.y(), EffectSize, EffectSize);
    composeEmptyHole(in.record, place);

    if (hooks.playSound)
        hooks.playSound(RemovalSound);
    const QRect touched = QRect(field.x(), field.y(), EffectSize, EffectSize).intersected(m_area.rect());
    for (int k = 0; k < EffectPixels; ++k) {
        const int x = order[k] % EffectSize;
        const int y = order[k] / EffectSize;
        raster::SetPixelAt(m_area, field.x() + x, field.y() + y, raster::PixelAt(m_work, x, y));
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
