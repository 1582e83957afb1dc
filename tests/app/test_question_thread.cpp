// SPDX-License-Identifier: GPL-3.0-or-later
// One question at a time beside the window: only the awaited answer runs, on the receiver's thread,
// and never after the receiver is gone.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

#include "app/QuestionThread.h"

namespace {

struct Receiver : QObject {
    QuestionThread question{*this};
};

// Set when the thread that touched it ends: by then its answer is queued, if it was going to be.
struct ThreadEnd {
    std::atomic<bool>* ended = nullptr;
    ~ThreadEnd() {
        if (ended != nullptr)
            ended->store(true);
    }
};
thread_local ThreadEnd TheThreadsEnd;

void WaitFor(const std::atomic<bool>& ended) {
    while (!ended.load())
        QThread::usleep(100);
}

std::vector<int> Shown;
QThread* ShownOn = nullptr;

// A search that answers `answer` at once and tells when its thread has ended.
QuestionThread::Search Answering(int answer, std::atomic<bool>& ended) {
    return [answer, &ended](const std::atomic<bool>&) -> QuestionThread::Answer {
        TheThreadsEnd.ended = &ended;
        return [answer] {
            Shown.push_back(answer);
            ShownOn = QThread::currentThread();
        };
    };
}

} // namespace

TEST(QuestionThread, OnlyTheAwaitedAnswerRunsAndOnTheReceiversThread) {
    Shown.clear();
    Receiver receiver;
    // The first answer is queued when the second question is asked: only the second one's runs.
    std::atomic<bool> first{false}, second{false}, third{false};
    receiver.question.ask(Answering(1, first));
    WaitFor(first);
    receiver.question.ask(Answering(2, second));
    EXPECT_TRUE(receiver.question.open());
    WaitFor(second);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(receiver.question.open());
    EXPECT_EQ(Shown, std::vector<int>{2});
    EXPECT_EQ(ShownOn, QCoreApplication::instance()->thread());

    // Called off with its answer queued: nothing runs.
    receiver.question.ask(Answering(3, third));
    WaitFor(third);
    receiver.question.callOff();
    EXPECT_FALSE(receiver.question.open());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Shown, std::vector<int>{2});
}

TEST(QuestionThread, ASearchSeesTheCallOffAndAGoneReceiverGetsNoAnswer) {
    Shown.clear();
    // A search that runs until it is called off: the call-off ends it.
    auto receiver = std::make_unique<Receiver>();
    receiver->question.ask([](const std::atomic<bool>& calledOff) -> QuestionThread::Answer {
        while (!calledOff.load())
            QThread::usleep(100);
        return [] {
            Shown.push_back(1);
        };
    });
    receiver->question.callOff();
    EXPECT_FALSE(receiver->question.open());

    // The receiver goes while the answer is queued: it is dropped with it.
    std::atomic<bool> ended{false};
    receiver->question.ask(Answering(2, ended));
    WaitFor(ended);
    receiver.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(Shown.empty());
}
