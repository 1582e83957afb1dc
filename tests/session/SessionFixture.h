// SPDX-License-Identifier: GPL-3.0-or-later
// Boards drawn as text, a collection file made from them, and a session started on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScriptedFrontend.h"
#include "session/Session.h"
#include "rules/PlayState.h"

// Rows of the 9 x 9 grid as text: '.' no hole, 'o' empty hole, 'P' first colour, 'Q' second colour.
// Missing rows and columns are no-hole cells.
inline Position DrawnPosition(const std::vector<std::string>& rows) {
    Position cells{};
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            const char c = rows[row][col];
            cells[row * GridWidth + col] = c == 'o'   ? EmptyHole
                                           : c == 'P' ? FirstColourPeg
                                           : c == 'Q' ? SecondColourPeg
                                                      : NoHole;
        }
    return cells;
}

inline LevelRecord DrawnBoard(const std::vector<std::string>& start, int size = 7,
                              const std::vector<std::string>& target = {}) {
    LevelRecord record;
    ClearRecord(record);
    record.Size = static_cast<std::uint8_t>(size);
    record.StartCells = DrawnPosition(start);
    record.TargetCells = DrawnPosition(target);
    for (int cell = 0; cell < CellCount; ++cell)
        if (record.TargetCells[cell] == NoHole && record.StartCells[cell] != NoHole)
            record.TargetCells[cell] = EmptyHole;
    return record;
}

inline void StoreJumps(LevelRecord& record, const std::vector<std::pair<int, int>>& jumps, int moves) {
    for (std::size_t k = 0; k < jumps.size(); ++k) {
        record.SolutionFrom[k] = static_cast<std::uint8_t>(jumps[k].first);
        record.SolutionTo[k] = static_cast<std::uint8_t>(jumps[k].second);
    }
    record.SolutionMoves = static_cast<std::uint8_t>(moves);
}

// Row 0: a peg that can jump three times in a row to finish with one peg.
inline LevelRecord RunBoard() {
    return DrawnBoard({"PPoPoPo"});
}
// Row 0: peg A at 0 and peg B at 5; A, B, A solves it in three moves.
inline LevelRecord TwoPegBoard() {
    return DrawnBoard({"PPooPP"});
}
// Row 0 of a size 5 board: after 0 -> 2 the pegs on 2 and 4 cannot reach each other.
inline LevelRecord StuckBoard() {
    return DrawnBoard({"PPooP"}, 5);
}

// What a jump changes in the play state, compared as a whole.
struct Counters {
    Position cells;
    int jumps;
    int moves;
    int lastLanding;
    bool operator==(const Counters& other) const {
        return cells == other.cells && jumps == other.jumps && moves == other.moves &&
               lastLanding == other.lastLanding;
    }
};

inline Counters CountersOf(const PlayState& play) {
    return {play.Cells, play.JumpCount, play.MoveCount, play.LastLanding};
}

class SessionTest : public testing::Test {
protected:
    SessionTest() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        // Parameterised tests have '/' in their names.
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_dir = std::filesystem::temp_directory_path() / ("tolvar_session_" + name);
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~SessionTest() override { std::filesystem::remove_all(m_dir); }
    void TearDown() override { EXPECT_FALSE(frontend.pendingAnswers()) << "answers left unasked"; }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    void writeCollection(const std::vector<LevelRecord>& boards) {
        std::ofstream out(path("vorn.dat"), std::ios::binary);
        for (const LevelRecord& board : boards) {
            const LevelRecord::Bytes bytes = board.toBytes();
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
    }

    // Loads the boards and selects one as at the first activation; the calls so far are dropped.
    void start(const std::vector<LevelRecord>& boards, int level = 1) {
        writeCollection(boards);
        ASSERT_TRUE(session.loadCollection(path("vorn.dat")));
        session.selectRememberedBoard(level);
        frontend.take();
    }

    Point centreOf(int cell) const {
        const Point anchor = CellAnchor(session.currentRecord(), cell);
        return {anchor.x + 8, anchor.y + 8};
    }

    void pick(int cell, MouseButton button = MouseButton::Left) {
        const Point p = centreOf(cell);
        session.boxMouseDown(p.x, p.y, button);
    }
    void drop(int cell, MouseButton button = MouseButton::Left) {
        const Point p = centreOf(cell);
        session.boxMouseUp(p.x, p.y, button);
    }
    void jump(int from, int to) {
        pick(from);
        drop(to);
    }

    ScriptedFrontend frontend;
    Session session{frontend};

private:
    std::filesystem::path m_dir;
};

using Calls = std::vector<std::string>;
