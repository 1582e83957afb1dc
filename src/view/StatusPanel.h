// SPDX-License-Identifier: GPL-3.0-or-later
// The status display in the middle of the tool panel: the moves left before the par is exceeded and
// the diagonal, original and solved indicators, all drawn from pieces of the `numbs` picture.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;

struct StatusValues {
    std::uint8_t Par = 0;       // of the PlayState
    std::uint8_t MoveCount = 0; // of the PlayState
    std::uint8_t Diagonal = 0;  // of the current record; any non-zero value counts as 1
    bool Original = false;      // of the board's record in the collection, not the current record
    bool Solved = false;        // likewise
};

namespace numbs_layout {
constexpr int Width = 300;
constexpr int Height = 20;
constexpr int DigitWidth = 11; // digit d at column 11 * d
constexpr int Blank = 110;
constexpr int Arrows = 130;
constexpr int Minus = 150;
constexpr int SmilingFace = 189;
constexpr int WorriedFace = 201;
constexpr int Padlock = 213;
constexpr int BlankBesidePadlock = 114;
} // namespace numbs_layout

constexpr int TimboxWidth = 113;
constexpr int TimboxHeight = 20;

// What the display of moves shows, for assistive technology: `caption` (the MovesLabel's text) and
// the number, negative past the par.
QString MovesShownText(const QString& caption, const StatusValues& values);

// Copies the six pieces of the display into `timbox` (113 x 20). Differences of 100 or more show as
// 99: the numbs picture has no third digit place. At a `scale` above 1 the timbox and the numbs
// picture have that many device pixels for each of theirs.
void DrawMovesDisplay(QImage& timbox, const QImage& numbs, const StatusValues& values, int scale = 1);

// The display with its frame, the black `tim` background, `MovesLabel`, the `timbox` that draws the
// numbers, and the four invisible shapes whose tool tips are the hints. It sits at (180, 4) of the
// tool panel, its parent, and covers the frame `Bevel1` (181, 4, 158 x 26).
class StatusPanel : public QWidget {
    Q_OBJECT

public:
    // `numbs` is the 300 x 20 picture of digits and symbols; `fineNumbs` the same drawn at twice the
    // pixels, which a screen of a higher pixel ratio shows (scaled smoothly from `numbs` without it).
    explicit StatusPanel(const QImage& numbs, QWidget* parent = nullptr);
    StatusPanel(const QImage& numbs, const QImage& fineNumbs, QWidget* parent);

    // Where the display reads its values each time it draws; it keeps none of its own.
    void setSource(std::function<StatusValues()> source);
    StatusValues values() const;
    const QImage& numbs() const { return m_numbs; }
    // The numbs picture at the device pixels of the screen, or none at a ratio of 1.
    const QImage& fineNumbs() const { return m_fineNumbs; }
    int fineScale() const { return m_fineScale; }

    // Draws the display now.
    void movesboxPaint();

    QLabel* MovesLabel() const { return m_movesLabel; }
    QWidget* timbox() const { return m_timbox; }
    QWidget* movshape() const { return m_movshape; }
    QWidget* DiagShape() const { return m_diagShape; }
    QWidget* OrigShape() const { return m_origShape; }
    QWidget* SolvShape() const { return m_solvShape; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_numbs;
    QImage m_fineNumbs;
    int m_fineScale = 1;
    std::function<StatusValues()> m_source;
    QLabel* m_movesLabel;
    QWidget* m_timbox;
    QWidget* m_movshape;
    QWidget* m_diagShape;
    QWidget* m_origShape;
    QWidget* m_solvShape;
};
