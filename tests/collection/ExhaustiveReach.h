// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the target can still be reached, worked out by trying every sequence of jumps the game's
// own rules allow: the answer the reachability tests hold the engine to.
#pragma once

#include <cstdlib>
#include <string_view>
#include <unordered_map>

#include "rules/Rules.h"
#include "solver/Solver.h"

class ExhaustiveReach {
public:
    explicit ExhaustiveReach(const LevelRecord& record) : m_record(record) {}

    bool reachable(const Position& position) {
        if (IsSolved(position, m_record))
            return true;
        const auto known = m_memo.find(position);
        if (known != m_memo.end())
            return known->second;
        bool found = false;
        for (int from = 0; from < CellCount && !found; ++from) {
            if (!IsOnBoard(m_record, from) || !HoldsPeg(position[from]))
                continue;
            for (int to = 0; to < CellCount && !found; ++to) {
                // Every jump lands within two rows and two columns; the rules judge the rest.
                if (std::abs(to / GridWidth - from / GridWidth) > 2 ||
                    std::abs(to % GridWidth - from % GridWidth) > 2)
                    continue;
                const JumpCheck check = IsLegalJump(position, m_record, from, to);
                if (!check.legal)
                    continue;
                Position next = position;
                ApplyJump(next, from, check.jumpedOver, to, position[from]);
                found = reachable(next);
            }
        }
        m_memo[position] = found;
        return found;
    }

private:
    struct PositionHash {
        std::size_t operator()(const Position& p) const {
            return std::hash<std::string_view>{}({reinterpret_cast<const char*>(p.data()), p.size()});
        }
    };

    const LevelRecord& m_record;
    std::unordered_map<Position, bool, PositionHash> m_memo;
};

// Plays `move` on `cells`; false when it is no legal jump of an on-board peg.
inline bool PlayHintedJump(const LevelRecord& record, Position& cells, SolverJump move) {
    if (!IsOnBoard(record, move.from) || !HoldsPeg(cells[move.from]))
        return false;
    const JumpCheck check = IsLegalJump(cells, record, move.from, move.to);
    if (!check.legal)
        return false;
    ApplyJump(cells, move.from, check.jumpedOver, move.to, cells[move.from]);
    return true;
}

// Whether the way, played from `cells` with the game's rules, reaches the target.
inline bool WayReplays(const LevelRecord& record, const Position& cells, const JumpList& way) {
    LevelRecord fromHere = record;
    fromHere.StartCells = cells;
    return ReplaySolution(fromHere, way).solved;
}
