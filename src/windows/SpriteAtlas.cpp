// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/SpriteAtlas.h"

#include <QPainter>
#include <QRect>
#include <QWidget>

#include "view/Raster.h"

namespace sprite_atlas {

QImage AtScale(const QImage& atlas, const QImage& fineAtlas, int scale) {
    if (scale <= 1 || atlas.isNull())
        return {};
    const QSize size = atlas.size() * scale;
    QImage fine = (fineAtlas.isNull() ? atlas : fineAtlas).convertToFormat(QImage::Format_RGB32);
    if (fine.size() != size)
        fine = fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fine.setDevicePixelRatio(1);
    raster::SharpenMask(fine, QRect(MaskPlace * scale, QSize(FigureWidth, FigureHeight) * scale));
    return fine;
}

void DrawFigure(QImage& canvas, QPoint place, const QImage& atlas, int figure, int scale) {
    const QPoint to = place * scale;
    const QPoint mask = MaskPlace * scale;
    const QPoint from = QPoint(FigureWidth * figure, FigureTop) * scale;
    const int w = FigureWidth * scale;
    const int h = FigureHeight * scale;
    raster::Blit(canvas, to.x(), to.y(), atlas, mask.x(), mask.y(), w, h, raster::Op::And);
    raster::Blit(canvas, to.x(), to.y(), atlas, from.x(), from.y(), w, h, raster::Op::Or);
}

void Present(QWidget& widget, QImage canvas, int scale) {
    canvas.setDevicePixelRatio(scale);
    QPainter painter(&widget);
    // Below the scale (a fractional ratio) the drawing is scaled down smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPointF(0, 0), canvas);
}

} // namespace sprite_atlas
