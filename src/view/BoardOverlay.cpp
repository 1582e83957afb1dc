// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardOverlay.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

#include "view/Raster.h"

namespace {

constexpr int RingSide = 32;
constexpr double RingOuter = 15.0;
constexpr double RingInner = 12.0;
constexpr int MarkSide = 32;
const QColor RingColour{255, 214, 0};
const QColor RingRim{48, 24, 0};
const QColor MarkColour{220, 30, 20};
const QColor MarkFace{255, 236, 80};

// The piece is drawn white on black for the mask (then inverted) and in colour on black for the
// picture, so the picture is black exactly where the mask is white. Drawn without smoothing, at
// `scale` device pixels for each board pixel, a mask stays black or white.
void DrawMasked(int side, int scale, const std::function<void(QPainter&, bool maskOnly)>& draw,
                QImage& picture, QImage& mask) {
    picture = raster::MakePicture(side * scale, side * scale);
    mask = raster::MakePicture(side * scale, side * scale);
    picture.fill(Qt::black);
    mask.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.scale(scale, scale);
        draw(painter, false);
    }
    {
        QPainter painter(&mask);
        painter.scale(scale, scale);
        draw(painter, true);
    }
    mask.invertPixels();
}

MaskedPicture Masked(int side, const std::function<void(QPainter&, bool maskOnly)>& draw) {
    MaskedPicture piece;
    DrawMasked(side, 1, draw, piece.picture, piece.mask);
    for (int scale = 2; scale <= MaskedPicture::LargestScale; ++scale) {
        MaskedPicture::Fine& fine = piece.fine[scale - 2];
        DrawMasked(side, scale, draw, fine.picture, fine.mask);
    }
    return piece;
}

void Ring(QPainter& painter, double centre, double outer, double inner, const QColor& colour) {
    QPainterPath ring;
    ring.addEllipse(QPointF(centre, centre), outer, outer);
    ring.addEllipse(QPointF(centre, centre), inner, inner);
    painter.fillPath(ring, colour);
}

} // namespace

MaskedPicture CursorRingPicture() {
    return Masked(RingSide, [](QPainter& painter, bool maskOnly) {
        const double centre = RingSide / 2.0;
        Ring(painter, centre, RingOuter, RingInner, maskOnly ? Qt::white : RingRim);
        if (!maskOnly)
            Ring(painter, centre, RingOuter - 1.0, RingInner + 1.0, RingColour);
    });
}

QPoint CursorRingPlace(const CellPlace& place) {
    const QRect field = place.bigField();
    return {field.center().x() + 1 - RingSide / 2, field.center().y() + 1 - RingSide / 2};
}

MaskedPicture DeadEndMarkPicture() {
    return Masked(MarkSide, [](QPainter& painter, bool maskOnly) {
        const QPolygonF outer{{MarkSide / 2.0, 1.0}, {MarkSide - 1.0, MarkSide - 2.0}, {1.0, MarkSide - 2.0}};
        const QPolygonF inner{{MarkSide / 2.0, 7.0}, {MarkSide - 6.5, MarkSide - 5.0}, {6.5, MarkSide - 5.0}};
        QPainterPath sign;
        sign.addPolygon(outer);
        painter.fillPath(sign, maskOnly ? Qt::white : MarkColour);
        if (maskOnly)
            return;
        QPainterPath face;
        face.addPolygon(inner);
        painter.fillPath(face, MarkFace);
        painter.fillRect(QRect(MarkSide / 2 - 1, 12, 3, 9), Qt::black);
        painter.fillRect(QRect(MarkSide / 2 - 1, 23, 3, 3), Qt::black);
    });
}

QRect BoardOverlays::show(Layer layer, const MaskedPicture& piece, QPoint at) {
    const QRect before = rect(layer);
    m_layers[layer] = {&piece, at};
    return before.united(rect(layer));
}

QRect BoardOverlays::hide(Layer layer) {
    const QRect before = rect(layer);
    m_layers[layer] = {};
    return before;
}

QRect BoardOverlays::rect(Layer layer) const {
    const Shown& shown = m_layers[layer];
    if (shown.piece == nullptr)
        return {};
    return {shown.at, shown.piece->picture.size()};
}

bool BoardOverlays::meets(const QRect& area) const {
    for (int layer = 0; layer < LayerCount; ++layer)
        if (rect(static_cast<Layer>(layer)).intersects(area))
            return true;
    return false;
}

void BoardOverlays::drawInto(QImage& target, QPoint origin, int scale) const {
    for (const Shown& shown : m_layers) {
        if (shown.piece == nullptr)
            continue;
        const QPoint at = (shown.at - origin) * scale;
        const QImage& mask = shown.piece->maskAt(scale);
        const QImage& picture = shown.piece->pictureAt(scale);
        raster::Blit(target, at.x(), at.y(), mask, 0, 0, mask.width(), mask.height(), raster::Op::And);
        raster::Blit(target, at.x(), at.y(), picture, 0, 0, picture.width(), picture.height(),
                     raster::Op::Or);
    }
}
