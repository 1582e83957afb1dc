// SPDX-License-Identifier: GPL-3.0-or-later
// The hint (key H), asked on a thread of its own: the window goes on answering the mouse and the keys
// while the board's engine searches, and shows the busy cursor meanwhile where the search lasts. The answer
// is shown only for the position it was asked about: a peg lifted, a jump, an undo, a restart or another
// board calls the question off, and H pressed again for the same position while it is searched begins nothing
// new.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

#include "app/QuestionThread.h"
#include "rules/LevelRecord.h"

class QWidget;
class Session;
struct ReachAnswer;

class HintAsker : public QObject {
    Q_OBJECT
public:
    // The hint's budget: positions examined, so that it answers the same on a busy machine (about a
    // second of one core at the most), and the clock only as a last guard, since the player waits.
    static constexpr std::uint64_t Positions = 3'000'000;
    static constexpr double GuardSeconds = 2.0;
    // The busy cursor shows only for a question that lasts: on the boards of up to 33 holes nearly
    // every answer comes within a few milliseconds, and a cursor shown for those would only flicker.
    static constexpr std::chrono::milliseconds BusyCursorAfter{200};

    HintAsker(QWidget& window, Session& session, QObject* parent = nullptr);
    ~HintAsker() override;

    // H: asks about the position on the board, where the session gives hints now.
    void ask();
    // Called whenever the counters may have changed, and when a peg is lifted: a question about another
    // position is called off.
    void follow();
    // No question is being searched.
    bool idle() const { return !m_question.open(); }

private:
    struct Asked {
        int board = 0;
        int jumps = -1;
        Position cells{};
        bool operator==(const Asked& other) const {
            return board == other.board && jumps == other.jumps && cells == other.cells;
        }
    };
    Asked onTheBoard() const;
    void callOff();
    void deliver(const ReachAnswer& answer);
    void hideBusy();

    QWidget& m_window;
    Session& m_session;
    Asked m_asked;
    QTimer m_busyCursor;
    QuestionThread m_question{*this};
};
