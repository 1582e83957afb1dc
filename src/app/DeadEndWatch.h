// SPDX-License-Identifier: GPL-3.0-or-later
// The dead-end warning: whenever the position changes in a game played by hand, the solver asks, on a
// thread of its own, whether the target can still be reached; when it cannot, a warning mark shows over
// the board area until the position changes again (undo, restart, another board). The window never
// waits for the answer: a newer position calls the old question off.
#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

#include "rules/LevelRecord.h"
#include "view/BoardOverlay.h"

class BoardArea;
class Session;

class DeadEndWatch : public QObject {
    Q_OBJECT
public:
    // The budget of one question; the thread only costs time the player does not wait for.
    static constexpr double Seconds = 1.5;

    explicit DeadEndWatch(BoardArea& box, QObject* parent = nullptr);
    ~DeadEndWatch() override;

    // Called whenever the counters may have changed: a new position takes the mark away and, in a game
    // played by hand, asks about the new one.
    void follow(const Session& session);
    bool markShown() const;

    // Asks about `cells` on `record`, calling off any question still open.
    void ask(const LevelRecord& record, const Position& cells);
    // Calls off the open question; no answer will come for it.
    void callOff();

signals:
    // The answer to the last question asked: true when the target can no longer be reached. A question
    // that ran out of time gives no answer.
    void answered(bool deadEnd);

private:
    void deliver(unsigned question, bool deadEnd);
    void showMark(bool deadEnd);

    struct Watched {
        int board = 0;
        int jumps = -1;
        Position cells{};
        bool operator==(const Watched& other) const {
            return board == other.board && jumps == other.jumps && cells == other.cells;
        }
    };

    BoardArea& m_box;
    MaskedPicture m_mark;
    Watched m_watched;

    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    unsigned m_question = 0; // the number of the question whose answer is awaited
};
