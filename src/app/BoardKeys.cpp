// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BoardKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "app/HintAsker.h"
#include "session/Session.h"
#include "view/BoardArea.h"
#include "view/ToolButton.h"

namespace {

// Where the mouse would press for a cell: the middle of its hole.
Point HoleMiddle(const LevelRecord& record, int cell) {
    constexpr int HalfHole = 8;
    const Point anchor = CellAnchor(record, cell);
    return {anchor.x + HalfHole, anchor.y + HalfHole};
}

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

CursorStep StepOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return CursorStep::Left;
    case Qt::Key_Right:
        return CursorStep::Right;
    case Qt::Key_Up:
        return CursorStep::Up;
    default:
        return CursorStep::Down;
    }
}

bool Pressed(const QKeyEvent& key, QKeyCombination combination) {
    // The keypad flag is not part of any shortcut.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return QKeyCombination(modifiers, Qt::Key(key.key())) == combination;
}

} // namespace

BoardKeys::BoardKeys(const KeyTargets& targets, QObject* parent)
    : QObject(parent), m_to(targets), m_ring(CursorRingPicture()) {
    qApp->installEventFilter(this);
}

BoardKeys::~BoardKeys() {
    qApp->removeEventFilter(this);
}

// Keys pressed anywhere in the main window, and the mouse moving over it, whichever of its widgets
// has them. Other windows (the editor, the message windows) keep their own keys.
bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseMove)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &m_to.window)
        return false;
    if (type == QEvent::MouseMove) {
        // Only a move of the real pointer: Qt also sends moves of its own when windows come and go.
        const QPointF pointer = static_cast<QMouseEvent*>(event)->globalPosition();
        if (event->spontaneous() && pointer != m_pointer)
            hideCursor();
        m_pointer = pointer;
        return false;
    }
    return handleKey(*static_cast<QKeyEvent*>(event));
}

bool BoardKeys::handleKey(const QKeyEvent& key) {
    if (handleShortcut(key))
        return true;
    if (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    Session& session = m_to.session;
    // A peg dragged with the mouse belongs to the mouse; the keys are only kept from the other controls.
    const bool mouseDrag = session.play().Dragging && !m_shown;
    if (IsArrow(key.key())) {
        if (!mouseDrag)
            moveCursor(StepOf(key.key()));
        return true;
    }
    if (mouseDrag)
        return key.key() == Qt::Key_Space || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
               key.key() == Qt::Key_Escape;
    switch (key.key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickOrDrop();
        return true;
    case Qt::Key_Escape:
        putBack();
        return true;
    default:
        return false;
    }
}

// Each shortcut runs its button's click, which does nothing while the button is disabled.
bool BoardKeys::handleShortcut(const QKeyEvent& key) {
    Session& session = m_to.session;
    if (Pressed(key, Qt::CTRL | Qt::Key_Z))
        m_to.backmoveBtn.clickAsMouse();
    else if (Pressed(key, Qt::CTRL | Qt::Key_Y) || Pressed(key, Qt::CTRL | Qt::SHIFT | Qt::Key_Z))
        session.redoJump();
    else if (Pressed(key, Qt::CTRL | Qt::Key_R))
        m_to.restartBtn.clickAsMouse();
    else if (Pressed(key, QKeyCombination(Qt::Key_N)) || Pressed(key, Qt::CTRL | Qt::Key_Right))
        m_to.stepBtn.clickAsMouse();
    else if (Pressed(key, QKeyCombination(Qt::Key_PageUp)))
        stepSelector(QAbstractSlider::SliderSingleStepSub);
    else if (Pressed(key, QKeyCombination(Qt::Key_PageDown)))
        stepSelector(QAbstractSlider::SliderSingleStepAdd);
    else if (Pressed(key, QKeyCombination(Qt::Key_F1)))
        m_to.helpBtn.clickAsMouse();
    else if (Pressed(key, Qt::CTRL | Qt::Key_E))
        m_to.editBtn.clickAsMouse();
    else if (Pressed(key, Qt::CTRL | Qt::Key_Q))
        m_to.exitBtn.clickAsMouse();
    else if (Pressed(key, QKeyCombination(Qt::Key_H)))
        m_to.hints.ask();
    else
        return false;
    // The board may have changed under the cursor.
    if (m_shown)
        showCursorAt(m_cell);
    return true;
}

// One step of the board selector, as its arrow buttons make it: the selection runs with its questions.
void BoardKeys::stepSelector(QAbstractSlider::SliderAction action) {
    if (m_to.levelscroll.isEnabled())
        m_to.levelscroll.triggerAction(action);
}

bool BoardKeys::editing() const {
    return m_to.session.mode() == ModeEditing;
}

void BoardKeys::moveCursor(CursorStep step) {
    const Session& session = m_to.session;
    const LevelRecord& record = session.currentRecord();
    const Position& cells = session.play().Cells;
    // The first arrow only shows the cursor.
    int cell = CursorHome(record, cells, m_cell, editing());
    if (m_shown && cell == m_cell)
        cell = CursorMove(record, cells, m_cell, step, editing());
    if (cell == NoCell)
        return;
    showCursorAt(cell);
    if (session.play().Dragging) {
        const Point middle = HoleMiddle(record, cell);
        m_to.session.boxMouseMove(middle.x, middle.y);
    }
}

// Space and Enter press and release the mouse over the cursor's hole: the first pick, the second drop.
void BoardKeys::pickOrDrop() {
    if (!m_shown)
        return;
    Session& session = m_to.session;
    const Point middle = HoleMiddle(session.currentRecord(), m_cell);
    if (session.play().Dragging)
        session.boxMouseUp(middle.x, middle.y, MouseButton::Left);
    else
        session.boxMouseDown(middle.x, middle.y, MouseButton::Left);
    if (m_shown)
        showCursorAt(m_cell);
}

void BoardKeys::putBack() {
    m_to.session.putPegBack();
}

void BoardKeys::boardRedrawn() {
    if (m_shown)
        showCursorAt(m_cell);
}

void BoardKeys::showCursorAt(int cell) {
    const Session& session = m_to.session;
    cell = CursorHome(session.currentRecord(), session.play().Cells, cell, editing());
    if (cell == NoCell) {
        hideCursor();
        return;
    }
    m_cell = cell;
    m_shown = true;
    m_to.box.showOverlay(BoardOverlays::Cursor, m_ring,
                         CursorRingPlace(PlaceOf(session.currentRecord(), cell)));
}

void BoardKeys::hideCursor() {
    if (!m_shown)
        return;
    m_shown = false;
    m_to.box.hideOverlay(BoardOverlays::Cursor);
}
