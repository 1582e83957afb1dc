// SPDX-License-Identifier: GPL-3.0-or-later
// The board selector `levelscroll`: a horizontal scroll bar on which every player action selects at
// most one board. The arrows move by one, a click beside the thumb by ten, the thumb selects where it
// is released and one notch of the wheel moves one board.
#pragma once

#include <QScrollBar>

class BoardSelector : public QScrollBar {
    Q_OBJECT
public:
    explicit BoardSelector(QWidget* parent = nullptr);

    // Ends a press held on the selector, as its release would. A modal window that a selection opens
    // takes the mouse, so the release never reaches the selector and the held button would repeat
    // behind the window; the main window calls this before it shows one.
    void endPress();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void releasePress(QPointF at);

    bool m_inPress = false;
    bool m_pressEnded = false;
    int m_wheelDelta = 0; // the part of a notch a fine-grained wheel has turned so far
};
