// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HintAsker.h"

#include <QMetaObject>
#include <QWidget>

#include "session/Session.h"
#include "solver/Solver.h"

HintAsker::HintAsker(QWidget& window, Session& session, QObject* parent)
    : QObject(parent), m_window(window), m_session(session) {}

// The window may be half gone by now: its cursor is left alone.
HintAsker::~HintAsker() {
    stop();
}

HintAsker::Asked HintAsker::onTheBoard() const {
    return {m_session.collection().currentNumber(), m_session.play().JumpCount, m_session.play().Cells};
}

void HintAsker::ask() {
    if (!m_session.hintMayBeAsked())
        return;
    const Asked now = onTheBoard();
    if (m_open && now == m_asked)
        return;
    callOff();
    m_asked = now;
    m_open = true;
    showBusy(true);
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    const unsigned question = m_question;
    HintAsker* self = this;
    m_thread = std::thread(
        [engine = m_session.boardReach(), cells = now.cells, cancelled = m_cancelled, question, self] {
            const ReachAnswer answer =
                engine->ask(cells, ReachLimits{Positions, GuardSeconds, cancelled.get(), true});
            if (cancelled->load())
                return;
            // Queued to the window's thread. The asker outlives this thread (it joins it before it goes),
            // and Qt drops the queued call if the asker is gone by the time it would run.
            QMetaObject::invokeMethod(
                self, [self, question, answer] { self->deliver(question, answer); }, Qt::QueuedConnection);
        });
}

void HintAsker::follow() {
    if (m_open && !(onTheBoard() == m_asked))
        callOff();
}

void HintAsker::callOff() {
    if (m_open)
        showBusy(false);
    stop();
}

void HintAsker::stop() {
    ++m_question;
    m_open = false;
    if (m_cancelled)
        m_cancelled->store(true);
    // The search looks at the flag every thousand positions or so: the join is short.
    if (m_thread.joinable())
        m_thread.join();
    m_cancelled.reset();
}

void HintAsker::deliver(unsigned question, const ReachAnswer& answer) {
    if (question != m_question)
        return;
    m_open = false;
    showBusy(false);
    if (m_thread.joinable())
        m_thread.join();
    if (onTheBoard() == m_asked)
        m_session.showHintAnswer(answer);
}

void HintAsker::showBusy(bool busy) {
    if (busy)
        m_window.setCursor(Qt::BusyCursor);
    else
        m_window.unsetCursor();
}
