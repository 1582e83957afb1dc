// SPDX-License-Identifier: GPL-3.0-or-later
// What the question window and the notice window share: the frameless 300 x 150 window placed
// over the main window, its background and figure from the sprite atlas, and the text area.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>

#include "session/Texts.h"

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

    // The sprite atlas b5.bmp: background at (0, 0), figures k at (60 k, 150), mask at (360, 150).
    void setAtlas(const QImage& atlas);
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
    QLabel* m_msg = nullptr;
    int m_code = 0;
    int m_figure = -1;
};
