// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the board area: the background, the big board with the position being played or edited,
// the small board with the target position, and the removal effect of a jumped peg. Every piece is
// taken from the background picture and every cell is composed off-screen before it is copied.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <random>

#include "rules/LevelRecord.h"

// Where the pieces lie in the background picture (b1.bmp / b2.bmp).
namespace board_layout {
constexpr int AreaWidth = 500;
constexpr int AreaHeight = 333;
constexpr int BigHolesSquareX = 500;
constexpr int BigHolesHexX = 772;
constexpr int BigHoleSize = 16;
constexpr int BigPegsX = 500;
constexpr int BigPegsY = 272;
constexpr int BigPegSize = 24;
constexpr int BigMaskX = 788;
constexpr int BigMaskY = 272;
constexpr int MarkerX = 553;
constexpr int MarkerY = 280;
constexpr int MarkerSize = 3;
constexpr int SmallPegsX = 500;
constexpr int SmallPegsY = 296;
constexpr int SmallPegSize = 12;
constexpr int SmallMaskX = 644;
constexpr int SmallMaskY = 296;
constexpr int SmallHolesX = 1044;
constexpr int SmallHolesHexY = 136;
constexpr int SmallHoleSize = 8;
constexpr int DesignCount = 12;
constexpr int EffectSize = 28; // the removal effect covers 4 pixels more than the field, right and below
constexpr int WorkSize = 50;
} // namespace board_layout

// The offsets of one cell on the big and the small board. Sizes above 9 are laid out as 9, the
// size IsOnBoard judges them by, so a damaged record still draws inside the board area.
struct CellPlace {
    int bx, by; // big board offset; the cell field is at (bx + 26, by + 26)
    int sx, sy; // small board offset; the cell field is at (sx + 328, sy + 32)

    QRect bigField() const { return {bx + 26, by + 26, 24, 24}; }
    QRect smallField() const { return {sx + 328, sy + 32, 12, 12}; }
};
CellPlace PlaceOf(const LevelRecord& record, int cell);

// What the drawing reads at the moment it runs; it keeps no state of its own.
struct BoardInputs {
    const Position& cells;     // the position on the big board
    const LevelRecord& record; // size, shape and the target position of the small board
    bool editing;              // GameMode is ModeEditing: holeless cells show a marker
    int firstDesign;           // design of pegs with code 2
    int secondDesign;          // design of pegs with code 3
};

// The game's hooks that the removal effect calls.
struct EffectHooks {
    std::function<void(int)> playSound;
    std::function<void(int)> pause; // milliseconds; processes no input
};

class BoardArea;
class tSprite;

class BoardPainter {
public:
    // `boardArea` is the board area's own picture; `changed` is told every rectangle of it that was
    // drawn, so the widget can show it at once.
    BoardPainter(QImage& boardArea, std::function<void(const QRect&)> changed);
    // Draws into the board area's picture and, on a screen of a higher pixel ratio, into its fine
    // picture too, every piece at the device pixels.
    BoardPainter(BoardArea& boardArea, std::function<void(const QRect&)> changed);

    // Pictures that are not 32 bits per pixel are converted. `fine` is the picture at the fine
    // scale (LoadFinePicture); when it is missing or of another size, `picture` is scaled smoothly.
    void setBackground(const QImage& picture, const QImage& fine = {});
    const QImage& background() const { return m_plain.background; }
    const QImage& fineBackground() const { return m_fine.background; }
    int fineScale() const { return m_fine.scale; }

    // Gives the drag sprite the peg of `design` and its mask, at every scale the painter draws.
    void dressPegSprite(tSprite& sprite, int design) const;

    void DrawCell(const BoardInputs& in, int cell);
    void DrawTargetCell(const BoardInputs& in, int cell);
    void DrawAllCells(const BoardInputs& in);
    void DrawAllTargetCells(const BoardInputs& in);
    // The whole board area: background, all big cells, all target cells. The status display, the
    // title and the tool panel are the window's part of the repaint.
    void boxPaint(const BoardInputs& in);

    // Dissolves the big cell into an empty hole, pixel by pixel in random order. The caller has
    // already set the cell's code to 1.
    void RemovalEffect(const BoardInputs& in, int cell, std::mt19937& random, const EffectHooks& hooks);

private:
    // One picture drawn into: the board area's own at 1x, or its fine one at `scale` device pixels
    // for each of its pixels. Every operation is done in board pixels and multiplied by the scale.
    struct Layer {
        QImage* area = nullptr;
        QImage background;
        QImage work;
        int scale = 1;
        bool drawn() const { return area != nullptr && !area->isNull(); }
    };

    QRect composeCell(Layer& layer, const BoardInputs& in, int cell);
    QRect composeTargetCell(Layer& layer, const BoardInputs& in, int cell);
    void composeEmptyHole(Layer& layer, const LevelRecord& record, const CellPlace& place);
    void composeRemoval(Layer& layer, const BoardInputs& in, int cell);
    void paintBox(Layer& layer, const BoardInputs& in);
    QRect drawCell(const BoardInputs& in, int cell);
    QRect drawTargetCell(const BoardInputs& in, int cell);
    void notify(const QRect& rect) const;

    std::function<void(const QRect&)> m_changed;
    Layer m_plain;
    Layer m_fine;
};

// The main window's caption for board `boardNumber` (1-based): "Tolvar Pegs 12" or, when the
// record has a name in the language's slot, "Tolvar Pegs 12 - name", shown as ShownName shows it.
QString UpdateTitle(int boardNumber, const LevelRecord& record, int language);
