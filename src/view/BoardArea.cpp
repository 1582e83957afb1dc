// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardArea.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "view/BoardPainter.h"
#include "view/PictureFile.h"
#include "view/Raster.h"

BoardArea::BoardArea(QWidget* parent)
    : QWidget(parent), m_image(raster::MakePicture(board_layout::AreaWidth, board_layout::AreaHeight)) {
    setFixedSize(board_layout::AreaWidth, board_layout::AreaHeight);
    // Every pixel comes from the picture, so Qt need not clear the widget first (no flicker).
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves are reported also with no button held, as the game's own drag state decides.
    setMouseTracking(true);
    // The ratio of the screen the window opens on; on another screen Qt scales the fine picture.
    m_fineScale = FineScaleFor(devicePixelRatioF());
    if (m_fineScale > 1)
        m_fine = raster::MakePicture(board_layout::AreaWidth * m_fineScale,
                                     board_layout::AreaHeight * m_fineScale);
    if (m_fine.isNull())
        m_fineScale = 1;
    else
        m_fine.setDevicePixelRatio(m_fineScale);
}

void BoardArea::repaintRect(const QRect& rect) {
    const QRect visible = rect.intersected(this->rect());
    if (!visible.isEmpty())
        repaint(visible);
}

void BoardArea::showOverlay(BoardOverlays::Layer layer, const MaskedPicture& piece, QPoint at) {
    repaintRect(m_overlays.show(layer, piece, at));
}

void BoardArea::hideOverlay(BoardOverlays::Layer layer) {
    repaintRect(m_overlays.hide(layer));
}

// The pieces over the board are combined into a copy of the dirty part, never into the picture.
void BoardArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    if (!m_fine.isNull()) {
        paintFine(painter, dirty);
        return;
    }
    if (!m_overlays.meets(dirty)) {
        painter.drawImage(dirty.topLeft(), m_image, dirty);
        return;
    }
    QImage composed = m_image.copy(dirty);
    m_overlays.drawInto(composed, dirty.topLeft());
    painter.drawImage(dirty.topLeft(), composed);
}

// The whole fine picture is drawn, clipped to the dirty part: at a ratio below the fine scale Qt
// scales it down smoothly, and every part is scaled as the whole would be, so neighbouring parts
// meet without a seam.
void BoardArea::paintFine(QPainter& painter, const QRect& dirty) {
    painter.setClipRect(dirty);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_overlays.meets(dirty)) {
        painter.drawImage(QPointF(0, 0), m_fine);
        return;
    }
    // One board pixel more on each side, which smooth scaling reads beside the dirty part.
    const QRect part = dirty.adjusted(-1, -1, 1, 1).intersected(rect());
    const int s = m_fineScale;
    QImage composed = m_fine.copy(part.x() * s, part.y() * s, part.width() * s, part.height() * s);
    m_overlays.drawInto(composed, part.topLeft(), s);
    composed.setDevicePixelRatio(s);
    painter.drawImage(part.topLeft(), composed);
}

void BoardArea::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->position().toPoint(), event->button(), event->modifiers());
}

void BoardArea::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint(), event->buttons());
}

void BoardArea::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->position().toPoint(), event->button());
}
