// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keyboard: a cursor over the big board's cells moved by the arrow keys, Space or
// Enter to pick a peg up and drop it (or to cycle a cell in the editor), Escape to put it back, and the
// shortcuts of the tool panel. Every key runs what the mouse or the button runs; nothing is decided
// here that the session does not decide for the mouse.
#pragma once

#include <QAbstractSlider>
#include <QObject>
#include <QPointF>

#include "rules/BoardCursor.h"
#include "view/BoardOverlay.h"

class BoardArea;
class HintAsker;
class QKeyEvent;
class QScrollBar;
class Session;
class TStyleSpeedButton;

// What the keys act on: the session, the board area they draw the cursor on, the board selector and
// the tool buttons whose clicks the shortcuts run, and the hint. `window` is the one whose keys these are.
struct KeyTargets {
    QWidget& window;
    Session& session;
    HintAsker& hints;
    BoardArea& box;
    QScrollBar& levelscroll;
    TStyleSpeedButton& backmoveBtn;
    TStyleSpeedButton& restartBtn;
    TStyleSpeedButton& stepBtn;
    TStyleSpeedButton& helpBtn;
    TStyleSpeedButton& editBtn;
    TStyleSpeedButton& exitBtn;
};

class BoardKeys : public QObject {
    Q_OBJECT
public:
    BoardKeys(const KeyTargets& targets, QObject* parent);
    ~BoardKeys() override;

    // After the whole board area was drawn again (another board, another size or shape): the cursor
    // stays on its cell where it may, and goes home where it may not.
    void boardRedrawn();

    bool cursorShown() const { return m_shown; }
    int cursorCell() const { return m_cell; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(const QKeyEvent& key);
    bool handleShortcut(const QKeyEvent& key);
    void moveCursor(CursorStep step);
    void pickOrDrop();
    void putBack();
    void stepSelector(QAbstractSlider::SliderAction action);
    void showCursorAt(int cell);
    void hideCursor();
    bool editing() const;

    KeyTargets m_to;
    MaskedPicture m_ring;
    bool m_shown = false;
    int m_cell = -1;
    QPointF m_pointer{-1, -1}; // where the pointer was last seen, on the screen
};
