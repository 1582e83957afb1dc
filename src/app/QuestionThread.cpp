// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuestionThread.h"

#include <QMetaObject>
#include <QObject>

void QuestionThread::ask(Search search) {
    callOff();
    m_open = true;
    m_calledOff = std::make_shared<std::atomic<bool>>(false);
    const unsigned question = m_question;
    m_thread = std::thread([this, search = std::move(search), calledOff = m_calledOff, question] {
        const Answer answer = search(*calledOff);
        if (calledOff->load())
            return;
        // Queued to the receiver's thread. This outlives the thread (it joins it before it goes), and
        // Qt drops the queued call if the receiver is gone by the time it would run.
        QMetaObject::invokeMethod(
            &m_receiver, [this, question, answer] { arrive(question, answer); }, Qt::QueuedConnection);
    });
}

void QuestionThread::callOff() {
    ++m_question;
    m_open = false;
    if (m_calledOff)
        m_calledOff->store(true);
    // The searches look at the flag every thousand positions or so: the join is short.
    if (m_thread.joinable())
        m_thread.join();
    m_calledOff.reset();
}

void QuestionThread::arrive(unsigned question, const Answer& answer) {
    if (question != m_question)
        return;
    m_open = false;
    // The thread has nothing left to do but end.
    if (m_thread.joinable())
        m_thread.join();
    m_calledOff.reset();
    answer();
}
