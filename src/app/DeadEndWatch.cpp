// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeadEndWatch.h"

#include "rules/Rules.h"
#include "session/Session.h"
#include "solver/Solver.h"
#include "view/BoardArea.h"

DeadEndWatch::DeadEndWatch(BoardArea& box, QObject* parent)
    : QObject(parent), m_box(box), m_mark(DeadEndMarkPicture()) {
    connect(this, &DeadEndWatch::answered, this, &DeadEndWatch::showMark);
}

// The threads are joined as their question threads go, before the board area and the engine.
DeadEndWatch::~DeadEndWatch() = default;

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
    // The table's making looks at the flag every few thousand positions: the call-off is short.
    m_table.callOff();
    m_reach = std::move(reach);
    m_answers.clear();
    m_tableReady = false;
    m_table.ask([this, engine = m_reach](const std::atomic<bool>& calledOff) {
        engine->prepare(&calledOff);
        return [this] {
            tablePrepared();
        };
    });
}

void DeadEndWatch::tablePrepared() {
    m_tableReady = true;
    // A question still open asks again itself should it run out of positions.
    if (m_playing && !m_question.open() && m_answers.count(m_watched.cells) == 0)
        ask(m_watched.cells);
}

void DeadEndWatch::callOff() {
    m_question.callOff();
}

void DeadEndWatch::ask(const Position& cells) {
    callOff();
    const auto known = m_answers.find(cells);
    if (known != m_answers.end()) {
        emit answered(known->second);
        return;
    }
    ++m_searchesBegun;
    const bool withTable = m_tableReady;
    m_question.ask([this, engine = m_reach, cells, withTable](const std::atomic<bool>& calledOff) {
        ReachLimits limits;
        limits.positions = Positions;
        limits.cancelled = &calledOff;
        limits.wantWay = false;
        const Reach reach = engine->ask(cells, limits).reach;
        return [this, cells, reach, withTable] {
            deliver(cells, reach, withTable);
        };
    });
}

void DeadEndWatch::deliver(const Position& cells, Reach reach, bool withTable) {
    if (reach == Reach::Unknown) {
        if (m_tableReady && !withTable)
            ask(cells);
        return;
    }
    const bool deadEnd = reach == Reach::Unreachable;
    m_answers[cells] = deadEnd;
    emit answered(deadEnd);
}
