// SPDX-License-Identifier: GPL-3.0-or-later
// The dead-end warning: whenever the position changes in a game played by hand, the board's engine is
// asked, on a thread of its own, whether the target can still be reached; when it cannot, a warning
// mark shows over the board area until the position changes again (undo, restart, another board). A
// position answered once on a board is answered again from memory, with no search, and so is every
// position one jump after a dead end. While a board is shown its engine makes its table on another
// thread, called off when the player leaves the board; a question that ran out of positions before
// the table was ready is asked again once it is. The window never waits for an answer: a newer
// position calls the old question off.
#pragma once

#include <QObject>

#include <cstdint>
#include <map>
#include <memory>

#include "app/QuestionThread.h"
#include "rules/LevelRecord.h"
#include "view/BoardOverlay.h"

class BoardArea;
class BoardReach;
enum class Reach;
class Session;

class DeadEndWatch : public QObject {
    Q_OBJECT
public:
    // The positions one question may examine: the same answer on an idle and on a busy machine. On the
    // boards of up to 33 holes nearly every answer takes a small part of it; the few dead ends of
    // 26 to 28 pegs on the two-colour boards, where the table knows no colours, need up to 30 million.
    static constexpr std::uint64_t Positions = 30'000'000;

    explicit DeadEndWatch(BoardArea& box, QObject* parent = nullptr);
    ~DeadEndWatch() override;

    // Called whenever the counters may have changed: a new position takes the mark away and, in a game
    // played by hand, asks about the new one.
    void follow(const Session& session);
    bool markShown() const;
    // The searches begun on the boards shown so far; a position answered before begins none.
    int searchesBegun() const { return m_searchesBegun; }
    // No question is being searched, and the board's table is made (or was never begun).
    bool idle() const { return !m_question.open() && !m_table.open(); }

    // Calls off the open question; no answer will come for it.
    void callOff();

signals:
    // The answer about the position in play: true when the target can no longer be reached. A
    // question that ran out of positions gives no answer.
    void answered(bool deadEnd);

private:
    void watchBoard(std::shared_ptr<BoardReach> reach);
    void ask(const Position& cells);
    void deliver(const Position& cells, Reach reach, bool withTable);
    void tablePrepared();
    void showMark(bool deadEnd);

    struct Watched {
        int board = 0;
        int jumps = -1;
        Position cells{};
        bool operator==(const Watched& other) const {
            return board == other.board && jumps == other.jumps && cells == other.cells;
        }
    };
    bool followsADeadEnd(const Watched& before, const Watched& now, const LevelRecord& record) const;

    BoardArea& m_box;
    MaskedPicture m_mark;
    Watched m_watched;
    bool m_playing = false;

    std::shared_ptr<BoardReach> m_reach;
    std::map<Position, bool> m_answers; // on the board of m_reach: true for a dead end
    int m_searchesBegun = 0;

    bool m_tableReady = false;
    // Declared last, so that they are the first to go: their threads are joined before anything they
    // answer to.
    QuestionThread m_question{*this};
    QuestionThread m_table{*this};
};
