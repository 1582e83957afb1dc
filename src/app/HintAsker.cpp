// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HintAsker.h"

#include <QWidget>

#include "session/Session.h"
#include "solver/Solver.h"

HintAsker::HintAsker(QWidget& window, Session& session, QObject* parent)
    : QObject(parent), m_window(window), m_session(session) {
    m_busyCursor.setSingleShot(true);
    m_busyCursor.setInterval(BusyCursorAfter);
    connect(&m_busyCursor, &QTimer::timeout, this, [this] { m_window.setCursor(Qt::BusyCursor); });
}

// The window may be half gone by now: its cursor is left alone, and the question's thread is joined
// as the asker goes.
HintAsker::~HintAsker() = default;

HintAsker::Asked HintAsker::onTheBoard() const {
    return {m_session.collection().currentNumber(), m_session.play().JumpCount, m_session.play().Cells};
}

void HintAsker::ask() {
    if (!m_session.hintMayBeAsked())
        return;
    const Asked now = onTheBoard();
    if (m_question.open() && now == m_asked)
        return;
    callOff();
    m_asked = now;
    m_busyCursor.start();
    m_question.ask([this, engine = m_session.boardReach(),
                    cells = now.cells](const std::atomic<bool>& calledOff) {
        const ReachAnswer answer = engine->ask(cells, ReachLimits{Positions, GuardSeconds, &calledOff, true});
        return [this, answer] {
            deliver(answer);
        };
    });
}

void HintAsker::follow() {
    if (m_question.open() && !(onTheBoard() == m_asked))
        callOff();
}

void HintAsker::callOff() {
    if (m_question.open())
        hideBusy();
    m_question.callOff();
}

void HintAsker::deliver(const ReachAnswer& answer) {
    hideBusy();
    if (onTheBoard() == m_asked)
        m_session.showHintAnswer(answer);
}

void HintAsker::hideBusy() {
    m_busyCursor.stop();
    m_window.unsetCursor();
}
