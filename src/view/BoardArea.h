// SPDX-License-Identifier: GPL-3.0-or-later
// The board area `box`: a 500 x 333 widget that shows its own picture, which the board drawing and
// the drag sprite write into, and reports the mouse to the main window. On a screen of a higher
// pixel ratio it also holds a fine picture of the same board at the device pixels, written in step
// with the 1x one, and shows that instead; positions stay in the board's 500 x 333 pixels.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "view/BoardOverlay.h"

class BoardArea : public QWidget {
    Q_OBJECT

public:
    explicit BoardArea(QWidget* parent = nullptr);

    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    // The fine picture, or none when the screen's ratio is 1.
    QImage* fineImage() { return m_fine.isNull() ? nullptr : &m_fine; }
    const QImage* fineImage() const { return m_fine.isNull() ? nullptr : &m_fine; }
    int fineScale() const { return m_fineScale; }

    // Shows the given part of the picture now, not at the next pass of the event loop, so that a
    // busy wait in between still lets the player see the progress.
    void repaintRect(const QRect& rect);

    // A piece shown over the board (or hidden) at once; the picture must outlive its showing.
    void showOverlay(BoardOverlays::Layer layer, const MaskedPicture& piece, QPoint at);
    void hideOverlay(BoardOverlays::Layer layer);
    const BoardOverlays& overlays() const { return m_overlays; }

signals:
    void mouseDown(QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMoved(QPoint pos, Qt::MouseButtons buttons);
    void mouseUp(QPoint pos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintFine(QPainter& painter, const QRect& dirty);

    QImage m_image;
    QImage m_fine;
    int m_fineScale = 1;
    BoardOverlays m_overlays;
};
