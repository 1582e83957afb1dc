// SPDX-License-Identifier: GPL-3.0-or-later
// What the question window and the notice window share: the frameless 300 x 150 window placed
// over the main window, its background and figure from the sprite atlas (drawn at the device pixels
// on a screen of a higher pixel ratio), and the text area.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>

#include "session/Texts.h"
#include "windows/SpriteAtlas.h"

class QLabel;
class TGradButton;

// Centres a window of the given client size on the main window's outer rectangle (frame and
// title bar included); the divisions truncate toward zero.
QPoint PlaceOver(const QRect& mainOuter, QSize client);

class TMessageWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 300;
    static constexpr int ClientHeight = 150;

    // The sprite atlas b5.bmp, with the window's background at (0, 0). On a screen of a higher pixel
    // ratio the window draws at fineScale() device pixels for each of its pixels, from `fineAtlas`,
    // the atlas at that scale (LoadFinePicture of b5.bmp); without it, or at another scale, it
    // scales what it has smoothly.
    void setAtlas(const QImage& atlas, const QImage& fineAtlas = {});
    int fineScale() const { return m_fineScale; }
    int code() const { return m_code; }
    QLabel* messageLabel() const { return m_msg; }

    // The message windows are answered with their buttons only: no key (Escape included) and no
    // close request from the window manager answers or closes them.
    void reject() override {}

protected:
    TMessageWindow(const QImage& atlas, int textHeight, QWidget* parent);

    // FormActivate: remember the code, place the window over `over`'s window and set the text.
    void activate(int code, int language, const QWidget* over);
    virtual MessageText messageFor(int code) const = 0;
    virtual void setCaptions(int language) = 0;

    // A 69 x 29 gradient button without bevel and with the bold yellow caption.
    TGradButton* makeButton(int left, QColor gradColour);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QImage m_atlas;
    QImage m_fineAtlas; // at m_fineScale, or none on a screen of ratio 1
    int m_fineScale = 1;
    QLabel* m_msg = nullptr;
    int m_code = 0;
    int m_figure = -1;
};
