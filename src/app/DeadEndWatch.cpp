// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeadEndWatch.h"

#include <QMetaObject>

#include "rules/Rules.h"
#include "session/Session.h"
#include "solver/Solver.h"
#include "view/BoardArea.h"

DeadEndWatch::DeadEndWatch(BoardArea& box, QObject* parent)
    : QObject(parent), m_box(box), m_mark(DeadEndMarkPicture()) {
    connect(this, &DeadEndWatch::answered, this, &DeadEndWatch::showMark);
}

DeadEndWatch::~DeadEndWatch() {
    callOff();
    stopTable();
}

void DeadEndWatch::follow(const Session& session) {
    const Watched now{session.collection().currentNumber(), session.play().JumpCount, session.play().Cells};
    if (now == m_watched)
        return;
    const Watched before = m_watched;
    m_watched = now;
    m_box.hideOverlay(BoardOverlays::DeadEndMark);
    m_playing = session.mode() == ModePlaying;
    // The board is shown from the start-up on, while the mode still says so: its table is made
    // while the player looks at it, not at the first jump.
    if (m_playing || session.mode() == ModeReady || session.mode() == ModeStartup)
        watchBoard(session.boardReach());
    if (!m_playing) {
        callOff();
        return;
    }
    // No jump brings a peg back: a jump from a dead end leads to another one, with no search.
    if (followsADeadEnd(before, now, session.currentRecord()))
        m_answers[now.cells] = true;
    ask(now.cells);
}

bool DeadEndWatch::followsADeadEnd(const Watched& before, const Watched& now,
                                   const LevelRecord& record) const {
    if (before.board != now.board || now.jumps != before.jumps + 1)
        return false;
    const auto known = m_answers.find(before.cells);
    return known != m_answers.end() && known->second && FollowsByOneJump(before.cells, now.cells, record);
}

bool DeadEndWatch::markShown() const {
    return m_box.overlays().shown(BoardOverlays::DeadEndMark);
}

void DeadEndWatch::showMark(bool deadEnd) {
    if (deadEnd)
        m_box.showOverlay(BoardOverlays::DeadEndMark, m_mark, DeadEndMarkPlace);
}

void DeadEndWatch::watchBoard(std::shared_ptr<BoardReach> reach) {
    if (reach == m_reach)
        return;
    callOff();
    stopTable();
    m_reach = std::move(reach);
    m_answers.clear();
    m_tableReady = false;
    m_tableCancelled = std::make_shared<std::atomic<bool>>(false);
    const unsigned board = ++m_board;
    DeadEndWatch* self = this;
    m_tableThread = std::thread([engine = m_reach, cancelled = m_tableCancelled, board, self] {
        engine->prepare(cancelled.get());
        if (cancelled->load())
            return;
        QMetaObject::invokeMethod(
            self, [self, board] { self->tablePrepared(board); }, Qt::QueuedConnection);
    });
}

void DeadEndWatch::stopTable() {
    if (m_tableCancelled)
        m_tableCancelled->store(true);
    // The table's making looks at the flag every few thousand positions: the join is short.
    if (m_tableThread.joinable())
        m_tableThread.join();
    m_tableCancelled.reset();
}

void DeadEndWatch::tablePrepared(unsigned board) {
    if (board != m_board)
        return;
    m_tableReady = true;
    // A question still open asks again itself should it run out of positions.
    if (m_playing && !m_open && m_answers.count(m_watched.cells) == 0)
        ask(m_watched.cells);
}

void DeadEndWatch::callOff() {
    ++m_question;
    m_open = false;
    if (m_cancelled)
        m_cancelled->store(true);
    // The search looks at the flag every thousand positions or so: the join is short.
    if (m_thread.joinable())
        m_thread.join();
    m_cancelled.reset();
}

void DeadEndWatch::ask(const Position& cells) {
    callOff();
    const auto known = m_answers.find(cells);
    if (known != m_answers.end()) {
        emit answered(known->second);
        return;
    }
    ++m_searchesBegun;
    m_open = true;
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    const unsigned question = m_question;
    const bool withTable = m_tableReady;
    DeadEndWatch* self = this;
    m_thread = std::thread([engine = m_reach, cells, cancelled = m_cancelled, question, withTable, self] {
        ReachLimits limits;
        limits.positions = Positions;
        limits.cancelled = cancelled.get();
        limits.wantWay = false;
        const ReachAnswer answer = engine->ask(cells, limits);
        if (cancelled->load())
            return;
        const int reach = static_cast<int>(answer.reach);
        // Queued to the window's thread. The watch outlives this thread (it joins it before it goes),
        // and Qt drops the queued call if the watch is gone by the time it would run.
        QMetaObject::invokeMethod(
            self,
            [self, question, cells, reach, withTable] { self->deliver(question, cells, reach, withTable); },
            Qt::QueuedConnection);
    });
}

void DeadEndWatch::deliver(unsigned question, const Position& cells, int reach, bool withTable) {
    if (question != m_question)
        return;
    m_open = false;
    if (static_cast<Reach>(reach) == Reach::Unknown) {
        if (m_tableReady && !withTable)
            ask(cells);
        return;
    }
    const bool deadEnd = static_cast<Reach>(reach) == Reach::Unreachable;
    m_answers[cells] = deadEnd;
    emit answered(deadEnd);
}
