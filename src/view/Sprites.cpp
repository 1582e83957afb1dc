// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Sprites.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "view/Raster.h"

namespace {

int absolute(int value) {
    return value < 0 ? -value : value;
}

} // namespace

tSprite::tSprite(QImage& canvas, int width, int height, std::function<void(const QRect&)> changed)
    : m_width(absolute(width)), m_height(absolute(height)), m_canvas(canvas), m_changed(std::move(changed)) {
    m_saveUnder = raster::MakePicture(m_width, m_height);
    m_hasSaveUnder = !m_saveUnder.isNull();
}

void tSprite::SetImage(const QImage* picture, int sourceX, int sourceY) {
    m_image = picture;
    m_imageX = sourceX;
    m_imageY = sourceY;
    m_hasImage = true;
}

void tSprite::SetMask(const QImage* picture, int sourceX, int sourceY) {
    m_mask = picture;
    m_maskX = sourceX;
    m_maskY = sourceY;
    m_hasMask = true;
}

bool tSprite::HitTest(int px, int py) const {
    return m_x <= px && px < m_x + m_width && m_y <= py && py < m_y + m_height;
}

void tSprite::notify(const QRect& rect) const {
    if (m_changed && !rect.isEmpty())
        m_changed(rect);
}

void tSprite::paintSpriteInto(QImage& target, int tx, int ty) const {
    if (m_mask)
        raster::Blit(target, tx, ty, *m_mask, m_maskX, m_maskY, m_width, m_height, raster::Op::And);
    if (m_image)
        raster::Blit(target, tx, ty, *m_image, m_imageX, m_imageY, m_width, m_height, raster::Op::Or);
}

void tSprite::draw() {
    QImage composed = raster::MakePicture(m_width, m_height);
    if (composed.isNull())
        return;
    raster::Copy(m_saveUnder, 0, 0, m_canvas, m_x, m_y, m_width, m_height);
    raster::CopyAll(composed, 0, 0, m_saveUnder);
    paintSpriteInto(composed, 0, 0);
    notify(raster::CopyAll(m_canvas, m_x, m_y, composed));
}

void tSprite::restore() {
    notify(raster::CopyAll(m_canvas, m_x, m_y, m_saveUnder));
}

void tSprite::MoveTo(int newX, int newY) {
    if (!IsReady() || (newX == m_x && newY == m_y))
        return;
    m_grabbed = false;
    m_grabX = 0;
    m_grabY = 0;
    if (m_visible) {
        move(newX, newY);
    } else {
        m_x = newX;
        m_y = newY;
    }
}

void tSprite::Show() {
    if (!IsReady() || m_visible)
        return;
    draw();
    m_visible = true;
}

void tSprite::Hide() {
    if (!IsReady() || !m_visible)
        return;
    restore();
    m_visible = false;
}

bool tSprite::Grab(int px, int py) {
    if (!IsReady())
        return false;
    if (!m_visible || m_grabbed)
        return true;
    if (!HitTest(px, py))
        return false;
    m_grabX = px - m_x;
    m_grabY = py - m_y;
    m_grabbed = true;
    return true;
}

void tSprite::DragTo(int px, int py) {
    if (IsReady() && m_visible && m_grabbed)
        move(px, py);
}

void tSprite::move(int px, int py) {
    const int nx = px - m_grabX;
    const int ny = py - m_grabY;
    const long long dx = static_cast<long long>(nx) - m_x;
    const long long dy = static_cast<long long>(ny) - m_y;
    const long long farX = dx < 0 ? -dx : dx;
    const long long farY = dy < 0 ? -dy : dy;
    if (farX >= m_width && farY >= m_height) {
        restore();
        m_x = nx;
        m_y = ny;
        draw();
        return;
    }
    // The old and the new place overlap or nearly so: remove and redraw off-screen, then put the
    // union on the canvas in one copy so the peg does not flicker.
    const long long unionWidth = farX + m_width;
    const long long unionHeight = farY + m_height;
    if (unionWidth > std::numeric_limits<int>::max() || unionHeight > std::numeric_limits<int>::max())
        return;
    QImage composed = raster::MakePicture(static_cast<int>(unionWidth), static_cast<int>(unionHeight));
    if (composed.isNull())
        return;
    const int left = std::min(m_x, nx);
    const int top = std::min(m_y, ny);
    raster::Copy(composed, 0, 0, m_canvas, left, top, composed.width(), composed.height());
    raster::CopyAll(composed, m_x - left, m_y - top, m_saveUnder);
    raster::Copy(m_saveUnder, 0, 0, composed, nx - left, ny - top, m_width, m_height);
    paintSpriteInto(composed, nx - left, ny - top);
    notify(raster::CopyAll(m_canvas, left, top, composed));
    m_x = nx;
    m_y = ny;
}
