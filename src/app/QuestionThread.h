// SPDX-License-Identifier: GPL-3.0-or-later
// One question at a time asked on a thread of its own, beside the window: a search that the window
// never waits for. A newer question, or a call-off, drops the open one's answer; the answer that is
// awaited runs on the receiver's thread. It belongs to its receiver (a member of it), which it must
// not outlive: it joins its thread when it goes.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QObject;

class QuestionThread {
public:
    // What the question's thread found, to be shown on the receiver's thread.
    using Answer = std::function<void()>;
    // The search itself, on the question's thread; it looks at the flag now and then and gives up
    // once it is set.
    using Search = std::function<Answer(const std::atomic<bool>& calledOff)>;

    explicit QuestionThread(QObject& receiver) : m_receiver(receiver) {}
    ~QuestionThread() { callOff(); }
    QuestionThread(const QuestionThread&) = delete;
    QuestionThread& operator=(const QuestionThread&) = delete;

    // Calls the open question off and begins `search`.
    void ask(Search search);
    // Calls off the open question and waits for its thread; no answer will come for it.
    void callOff();
    // A question is being searched, or its answer is on its way.
    bool open() const { return m_open; }

private:
    void arrive(unsigned question, const Answer& answer);

    QObject& m_receiver;
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_calledOff;
    unsigned m_question = 0; // the number of the question whose answer is awaited
    bool m_open = false;
};
