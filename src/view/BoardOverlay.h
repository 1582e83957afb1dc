// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn over the board area at paint time, never into the board's own picture: the keyboard
// cursor's ring and the dead-end warning mark. Each is a masked piece (AND its mask, then OR its
// picture, as every piece of the board is drawn), so when one moves or goes the board shows again
// exactly as it is.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>

#include "view/BoardPainter.h"

struct MaskedPicture {
    QImage picture; // black wherever the mask is white
    QImage mask;    // white where the board shows through, black under the piece
    // The same drawn at each fine scale of the board area (2 and 3 device pixels for each board
    // pixel, FineScaleFor), so that no ratio enlarges it pixel for pixel.
    static constexpr int LargestScale = 3;
    struct Fine {
        QImage picture;
        QImage mask;
    };
    std::array<Fine, LargestScale - 1> fine;
    // The piece at `scale` (1 to LargestScale).
    const QImage& pictureAt(int scale) const { return scale == 1 ? picture : fine[scale - 2].picture; }
    const QImage& maskAt(int scale) const { return scale == 1 ? mask : fine[scale - 2].mask; }
};

// A ring just around a big cell's field, in a yellow with a dark rim that reads on both backgrounds.
// It stays out of the fields of the neighbouring cells.
MaskedPicture CursorRingPicture();
// Where the ring stands for a cell: centred on its field.
QPoint CursorRingPlace(const CellPlace& place);

// A warning sign with an exclamation mark.
MaskedPicture DeadEndMarkPicture();
// Below the small board and above the name plate, a place the board picture leaves free.
constexpr QPoint DeadEndMarkPlace{382, 196};

class BoardOverlays {
public:
    enum Layer { Cursor, DeadEndMark, LayerCount };

    // The rectangle of the board area that changed (empty if nothing did).
    QRect show(Layer layer, const MaskedPicture& piece, QPoint at);
    QRect hide(Layer layer);

    bool shown(Layer layer) const { return m_layers[layer].piece != nullptr; }
    QRect rect(Layer layer) const;
    // Draws every shown piece into `target`, which holds the board area's pixels from `origin` on,
    // `scale` device pixels for each (1 to MaskedPicture::LargestScale): the pieces drawn for it.
    void drawInto(QImage& target, QPoint origin, int scale = 1) const;
    bool meets(const QRect& area) const;

private:
    struct Shown {
        const MaskedPicture* piece = nullptr;
        QPoint at;
    };
    std::array<Shown, LayerCount> m_layers{};
};
