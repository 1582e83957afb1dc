// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardSelector.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

BoardSelector::BoardSelector(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    // A dragged thumb selects once, where it is released, not at every board it passes.
    setTracking(false);
}

void BoardSelector::endPress() {
    // Inside the press, the scroll bar arms its repeat only after the selection returns: end the
    // press once it has.
    if (m_inPress) {
        m_pressEnded = true;
        return;
    }
    releasePress(mapFromGlobal(QCursor::pos()));
}

void BoardSelector::mousePressEvent(QMouseEvent* event) {
    m_inPress = true;
    m_pressEnded = false;
    QScrollBar::mousePressEvent(event);
    m_inPress = false;
    if (m_pressEnded)
        releasePress(event->position());
}

void BoardSelector::releasePress(QPointF at) {
    QMouseEvent release(QEvent::MouseButtonRelease, at, mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QScrollBar::mouseReleaseEvent(&release);
    setRepeatAction(SliderNoAction);
}

void BoardSelector::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    m_wheelDelta += std::abs(angle.x()) > std::abs(angle.y()) ? angle.x() : angle.y();
    const int notches = m_wheelDelta / QWheelEvent::DefaultDeltasPerStep;
    m_wheelDelta -= notches * QWheelEvent::DefaultDeltasPerStep;
    // Turning the wheel towards the player moves on to the next board.
    if (notches != 0)
        setValue(value() - notches);
    event->accept();
}
