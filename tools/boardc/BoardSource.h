// SPDX-License-Identifier: GPL-3.0-or-later
// The readable text form of the built-in boards: parsing it into records, checking every board
// (names, stored solution replayed with the rules) and writing solutions back into the text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rules/LevelRecord.h"
#include "solver/Solver.h"

struct BoardSource {
    std::string where; // "file:line" of the board's first line, for messages
    std::string nameEn;
    std::string nameDe;
    LevelRecord record; // names converted, Original set; the solution is stored by CheckBoard
    JumpList solution;
    bool hasSolution = false;
    int solutionLine = -1; // 0-based line index of the "solution:" line, -1 when there is none
    int lastLine = -1;     // 0-based line index of the board's last line with content

    std::string label() const; // where and English name, for messages
};

struct ParsedBoards {
    std::vector<BoardSource> boards;
    std::vector<std::string> errors;
};

ParsedBoards ParseBoardText(const std::string& text, const std::string& fileName);

// UTF-8 to Windows-1252; nothing when the text is not valid UTF-8, holds a control character or a
// character the code page lacks.
std::optional<std::string> ToWindows1252(const std::string& utf8);

// Checks names and solution, then stores the solution and its replayed move count in the record.
// Returns the problems found, each naming the board; empty when the board may be shipped.
std::vector<std::string> CheckBoard(BoardSource& board);

// "19-17 30-18-6": one chain of cells per run of jumps by the same peg.
std::string FormatSolution(const JumpList& jumps);

// The text with each given board's solution line replaced or added; other lines stay as they are.
struct SolutionUpdate {
    const BoardSource* board;
    JumpList jumps;
};
std::string WriteSolutions(const std::string& text, const std::vector<SolutionUpdate>& updates);
