// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeadEndWatch.h"

#include <QMetaObject>

#include "session/Session.h"
#include "solver/Solver.h"
#include "view/BoardArea.h"

DeadEndWatch::DeadEndWatch(BoardArea& box, QObject* parent)
    : QObject(parent), m_box(box), m_mark(DeadEndMarkPicture()) {
    connect(this, &DeadEndWatch::answered, this, &DeadEndWatch::showMark);
}

void DeadEndWatch::follow(const Session& session) {
    const Watched now{session.collection().currentNumber(), session.play().JumpCount, session.play().Cells};
    if (now == m_watched)
        return;
    m_watched = now;
    m_box.hideOverlay(BoardOverlays::DeadEndMark);
    if (session.mode() == ModePlaying)
        ask(session.currentRecord(), now.cells);
    else
        callOff();
}

bool DeadEndWatch::markShown() const {
    return m_box.overlays().shown(BoardOverlays::DeadEndMark);
}

void DeadEndWatch::showMark(bool deadEnd) {
    if (deadEnd)
        m_box.showOverlay(BoardOverlays::DeadEndMark, m_mark, DeadEndMarkPlace);
}

DeadEndWatch::~DeadEndWatch() {
    callOff();
}

void DeadEndWatch::callOff() {
    ++m_question;
    if (m_cancelled)
        m_cancelled->store(true);
    // The search looks at the flag every thousand positions or so: the join is short.
    if (m_thread.joinable())
        m_thread.join();
    m_cancelled.reset();
}

void DeadEndWatch::ask(const LevelRecord& record, const Position& cells) {
    callOff();
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    const unsigned question = m_question;
    DeadEndWatch* self = this;
    m_thread = std::thread([record, cells, cancelled = m_cancelled, question, self] {
        const ReachAnswer answer = AskReachable(record, cells, ReachLimits{Seconds, cancelled.get()});
        if (answer.reach == Reach::Unknown || cancelled->load())
            return;
        const bool deadEnd = answer.reach == Reach::Unreachable;
        // Queued to the window's thread. The watch outlives this thread (it joins it before it goes),
        // and Qt drops the queued call if the watch is gone by the time it would run.
        QMetaObject::invokeMethod(
            self, [self, question, deadEnd] { self->deliver(question, deadEnd); }, Qt::QueuedConnection);
    });
}

void DeadEndWatch::deliver(unsigned question, bool deadEnd) {
    if (question != m_question)
        return;
    emit answered(deadEnd);
}
