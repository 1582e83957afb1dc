// SPDX-License-Identifier: GPL-3.0-or-later
// The drag sprite: a masked picture drawn straight onto a canvas, keeping a copy of what lies under
// it (the save-under) so that it can move and vanish without the board being redrawn.
#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <optional>

class tSprite {
public:
    // `changed` is told every rectangle of the canvas the sprite wrote, so its owner can show it.
    tSprite(QImage& canvas, int width, int height, std::function<void(const QRect&)> changed = {});

    tSprite(const tSprite&) = delete;
    tSprite& operator=(const tSprite&) = delete;

    // The pictures stay with their owners and must outlive the sprite.
    void SetImage(const QImage* picture, int sourceX, int sourceY);
    void SetMask(const QImage* picture, int sourceX, int sourceY);
    // Draws the sprite also onto `canvas`, a finer picture of the same canvas with `scale` device
    // pixels for each of its pixels, from `picture`, which holds the image and the mask at the
    // places SetImage and SetMask named, multiplied by the scale. Positions stay the canvas's.
    // Ignored while the sprite is shown.
    void SetFine(QImage& canvas, int scale, const QImage* picture);

    void MoveTo(int newX, int newY);
    void Show();
    void Hide();
    bool Grab(int px, int py);
    void DragTo(int px, int py);
    void Release() { m_grabbed = false; }
    bool HitTest(int px, int py) const;
    bool IsReady() const { return m_hasImage && m_hasMask && m_hasSaveUnder; }

    int x() const { return m_x; }
    int y() const { return m_y; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isVisible() const { return m_visible; }
    bool isGrabbed() const { return m_grabbed; }
    QPoint grabOffset() const { return {m_grabX, m_grabY}; }

private:
    // A canvas the sprite is drawn onto, with what lies under the sprite there.
    struct Layer {
        QImage* canvas = nullptr;
        const QImage* image = nullptr;
        const QImage* mask = nullptr;
        QImage saveUnder;
        int scale = 1;
    };

    void draw();
    void restore();
    void move(int px, int py);
    QRect drawLayer(Layer& layer);
    QRect restoreLayer(Layer& layer);
    std::optional<QRect> moveLayer(Layer& layer, int nx, int ny, int unionWidth, int unionHeight);
    // (under AND mask) OR image, into `target` at (tx, ty), all in the layer's device pixels.
    void paintSpriteInto(const Layer& layer, QImage& target, int tx, int ty) const;
    void notify(const QRect& rect) const;

    int m_x = 0;
    int m_y = 0;
    int m_width;
    int m_height;
    int m_grabX = 0;
    int m_grabY = 0;
    bool m_visible = false;
    bool m_grabbed = false;
    int m_imageX = 0;
    int m_imageY = 0;
    bool m_hasImage = false;
    int m_maskX = 0;
    int m_maskY = 0;
    bool m_hasMask = false;
    bool m_hasSaveUnder = false;
    Layer m_plain;
    Layer m_fine;
    std::function<void(const QRect&)> m_changed;
};
