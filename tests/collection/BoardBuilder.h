// SPDX-License-Identifier: GPL-3.0-or-later
// Small boards for the tests, drawn as rows of text like the board sources.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "rules/LevelRecord.h"
#include "rules/Rules.h"

// Rows use '.' no hole, 'o' empty hole, 'x' first colour, '*' second colour, spaces ignored.
inline void DrawCells(Position& cells, const std::vector<std::string>& rows) {
    cells.fill(NoHole);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int col = 0;
        for (const char ch : rows[r]) {
            if (ch == ' ')
                continue;
            const int cell = static_cast<int>(r) * GridWidth + col++;
            cells[cell] = ch == 'o'   ? EmptyHole
                          : ch == 'x' ? FirstColourPeg
                          : ch == '*' ? SecondColourPeg
                                      : NoHole;
        }
    }
}

// A board whose target is every hole empty (solved by one peg left) unless target rows are given.
inline LevelRecord MakeBoard(int size, std::uint8_t shape, bool diagonal,
                             const std::vector<std::string>& start,
                             const std::vector<std::string>& target = {}) {
    LevelRecord record;
    ClearRecord(record);
    record.Size = static_cast<std::uint8_t>(size);
    record.Shape = shape;
    record.Diagonal = diagonal ? 1 : 0;
    DrawCells(record.StartCells, start);
    if (target.empty()) {
        for (int cell = 0; cell < CellCount; ++cell)
            record.TargetCells[cell] = record.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    } else {
        DrawCells(record.TargetCells, target);
    }
    return record;
}

inline LevelRecord EnglishCross() {
    return MakeBoard(7, ShapeSquare, false,
                     {"..xxx..", "..xxx..", "xxxxxxx", "xxxoxxx", "xxxxxxx", "..xxx..", "..xxx.."});
}

// The full 9 x 9 board but for its centre, one peg left anywhere as the target: beyond the reach
// engine's 64 holes, some three hundred jumps from a position with diagonal ones.
inline LevelRecord FullNineByNine(bool diagonal) {
    LevelRecord board;
    ClearRecord(board);
    board.Size = 9;
    board.Diagonal = diagonal ? 1 : 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        board.StartCells[cell] = FirstColourPeg;
        board.TargetCells[cell] = EmptyHole;
    }
    board.StartCells[CellCount / 2] = EmptyHole;
    return board;
}

enum class Kind { Square, Diagonal, Hexagon };

// A size-5 board of the kind with no hole yet, for the tests' random boards to fill.
inline LevelRecord EmptySizeFiveBoard(Kind kind) {
    LevelRecord r;
    ClearRecord(r);
    r.Size = 5;
    r.Shape = kind == Kind::Hexagon ? ShapeHexagon : ShapeSquare;
    r.Diagonal = kind == Kind::Diagonal ? 1 : 0;
    return r;
}

// The position after the first legal jump in the order of the cells, or `cells` where none is left.
inline Position FirstJumpPlayed(const LevelRecord& board, Position cells) {
    for (int from = 0; from < CellCount; ++from)
        for (int to = 0; to < CellCount; ++to)
            if (IsOnBoard(board, from) && HoldsPeg(cells[from]) &&
                IsLegalJump(cells, board, from, to).legal) {
                ApplyJump(cells, from, IsLegalJump(cells, board, from, to).jumpedOver, to, cells[from]);
                return cells;
            }
    return cells;
}

// The position after up to `jumps` random legal jumps from `played` (a jump is sought a few hundred
// times before it is given up).
inline Position PlayRandomJumps(const LevelRecord& r, Position played, int jumps, std::mt19937& random) {
    for (int j = 0; j < jumps; ++j)
        for (int attempt = 0; attempt < 400; ++attempt) {
            const int from = static_cast<int>(random() % CellCount),
                      to = static_cast<int>(random() % CellCount);
            if (!IsOnBoard(r, from) || !HoldsPeg(played[from]))
                continue;
            const JumpCheck check = IsLegalJump(played, r, from, to);
            if (check.legal) {
                ApplyJump(played, from, check.jumpedOver, to, played[from]);
                break;
            }
        }
    return played;
}
