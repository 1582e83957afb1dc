// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Sprites.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "view/Raster.h"

namespace {

int absolute(int value) {
    return value < 0 ? -value : value;
}

} // namespace

tSprite::tSprite(QImage& canvas, int width, int height, std::function<void(const QRect&)> changed)
    : m_width(absolute(width)), m_height(absolute(height)), m_changed(std::move(changed)) {
    m_plain.canvas = &canvas;
    m_plain.saveUnder = raster::MakePicture(m_width, m_height);
    m_hasSaveUnder = !m_plain.saveUnder.isNull();
}

void tSprite::SetImage(const QImage* picture, int sourceX, int sourceY) {
    m_plain.image = picture;
    m_imageX = sourceX;
    m_imageY = sourceY;
    m_hasImage = true;
}

void tSprite::SetMask(const QImage* picture, int sourceX, int sourceY) {
    m_plain.mask = picture;
    m_maskX = sourceX;
    m_maskY = sourceY;
    m_hasMask = true;
}

void tSprite::SetFine(QImage& canvas, int scale, const QImage* picture) {
    if (m_visible || scale < 2)
        return;
    const long long width = static_cast<long long>(m_width) * scale;
    const long long height = static_cast<long long>(m_height) * scale;
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max())
        return;
    m_fine = {&canvas, picture, picture,
              raster::MakePicture(static_cast<int>(width), static_cast<int>(height)), scale};
    if (m_fine.saveUnder.isNull())
        m_fine = {};
}

bool tSprite::HitTest(int px, int py) const {
    return m_x <= px && px < m_x + m_width && m_y <= py && py < m_y + m_height;
}

void tSprite::notify(const QRect& rect) const {
    if (m_changed && !rect.isEmpty())
        m_changed(rect);
}

void tSprite::paintSpriteInto(const Layer& layer, QImage& target, int tx, int ty) const {
    const int s = layer.scale;
    if (layer.mask)
        raster::Blit(target, tx, ty, *layer.mask, m_maskX * s, m_maskY * s, m_width * s, m_height * s,
                     raster::Op::And);
    if (layer.image)
        raster::Blit(target, tx, ty, *layer.image, m_imageX * s, m_imageY * s, m_width * s, m_height * s,
                     raster::Op::Or);
}

QRect tSprite::drawLayer(Layer& layer) {
    QImage composed = raster::MakePicture(layer.saveUnder.width(), layer.saveUnder.height());
    if (composed.isNull())
        return {};
    const int s = layer.scale;
    raster::Copy(layer.saveUnder, 0, 0, *layer.canvas, m_x * s, m_y * s, composed.width(), composed.height());
    raster::CopyAll(composed, 0, 0, layer.saveUnder);
    paintSpriteInto(layer, composed, 0, 0);
    return raster::CopyAll(*layer.canvas, m_x * s, m_y * s, composed);
}

QRect tSprite::restoreLayer(Layer& layer) {
    return raster::CopyAll(*layer.canvas, m_x * layer.scale, m_y * layer.scale, layer.saveUnder);
}

// The rectangle told to the owner is the one of the canvas itself; a fine layer covers the same.
void tSprite::draw() {
    if (m_fine.canvas)
        drawLayer(m_fine);
    notify(drawLayer(m_plain));
}

void tSprite::restore() {
    if (m_fine.canvas)
        restoreLayer(m_fine);
    notify(restoreLayer(m_plain));
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

// The old and the new place overlap or nearly so: remove and redraw off-screen, then put the union
// on the canvas in one copy so the peg does not flicker.
std::optional<QRect> tSprite::moveLayer(Layer& layer, int nx, int ny, int unionWidth, int unionHeight) {
    const long long s = layer.scale;
    if (unionWidth * s > std::numeric_limits<int>::max() || unionHeight * s > std::numeric_limits<int>::max())
        return std::nullopt;
    QImage composed =
        raster::MakePicture(static_cast<int>(unionWidth * s), static_cast<int>(unionHeight * s));
    if (composed.isNull())
        return std::nullopt;
    const int left = std::min(m_x, nx);
    const int top = std::min(m_y, ny);
    const int scale = layer.scale;
    raster::Copy(composed, 0, 0, *layer.canvas, left * scale, top * scale, composed.width(),
                 composed.height());
    raster::CopyAll(composed, (m_x - left) * scale, (m_y - top) * scale, layer.saveUnder);
    raster::Copy(layer.saveUnder, 0, 0, composed, (nx - left) * scale, (ny - top) * scale,
                 layer.saveUnder.width(), layer.saveUnder.height());
    paintSpriteInto(layer, composed, (nx - left) * scale, (ny - top) * scale);
    return raster::CopyAll(*layer.canvas, left * scale, top * scale, composed);
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
    const long long unionWidth = farX + m_width;
    const long long unionHeight = farY + m_height;
    if (unionWidth > std::numeric_limits<int>::max() || unionHeight > std::numeric_limits<int>::max())
        return;
    // Without room for the union the sprite stays where it is, on every layer.
    const std::optional<QRect> written =
        moveLayer(m_plain, nx, ny, static_cast<int>(unionWidth), static_cast<int>(unionHeight));
    if (!written)
        return;
    if (m_fine.canvas &&
        !moveLayer(m_fine, nx, ny, static_cast<int>(unionWidth), static_cast<int>(unionHeight))) {
        restoreLayer(m_fine);
        m_fine = {};
    }
    notify(*written);
    m_x = nx;
    m_y = ny;
}
