// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BoardSource.h"

namespace {

const std::string LineBoard = "board\n"
                              "name.en: Two Pegs\n"
                              "name.de: Zwei Stöpsel\n"
                              "shape: square\n"
                              "size: 5\n"
                              "diagonal: no\n"
                              "start:\n"
                              "  o o o o o\n"
                              "  o o o o o\n"
                              "  o x x o o\n"
                              "  o o o o o\n"
                              "  o o o o o\n";

BoardSource ParseOne(const std::string& text) {
    const ParsedBoards parsed = ParseBoardText(text, "test.txt");
    EXPECT_TRUE(parsed.errors.empty()) << (parsed.errors.empty() ? "" : parsed.errors.front());
    EXPECT_EQ(parsed.boards.size(), 1u);
    return parsed.boards.empty() ? BoardSource{} : parsed.boards.front();
}

bool AnyProblemMentions(const std::vector<std::string>& problems, const std::string& words) {
    for (const std::string& p : problems)
        if (p.find(words) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(Windows1252, ConvertsGermanLettersToSingleBytes) {
    EXPECT_EQ(ToWindows1252("Größe"), std::string("Gr\xF6\xDF"
                                                  "e"));
    EXPECT_EQ(ToWindows1252("ÄÖÜäöü"), std::string("\xC4\xD6\xDC\xE4\xF6\xFC"));
    EXPECT_EQ(ToWindows1252("€ – …"), std::string("\x80 \x96 \x85"));
}

TEST(Windows1252, RefusesWhatTheCodePageCannotHold) {
    EXPECT_FALSE(ToWindows1252("日本"));
    EXPECT_FALSE(ToWindows1252("\xC3"));         // cut-off sequence
    EXPECT_FALSE(ToWindows1252("\xC0\xAF"));     // overlong slash
    EXPECT_FALSE(ToWindows1252("tab\there"));    // control character
    EXPECT_FALSE(ToWindows1252("\xED\xA0\x80")); // lone surrogate
}

TEST(BoardSource, CompilesAGoodBoardIntoAnOriginalRecord) {
    BoardSource board = ParseOne(LineBoard + "solution: 19-21\n");
    EXPECT_TRUE(CheckBoard(board).empty());
    const LevelRecord& r = board.record;
    EXPECT_EQ(r.Size, 5);
    EXPECT_EQ(r.Shape, ShapeSquare);
    EXPECT_EQ(r.Original, 1);
    EXPECT_EQ(r.Solved, 0);
    EXPECT_EQ(r.SolutionMoves, 1);
    EXPECT_EQ(r.SolutionFrom[0], 19);
    EXPECT_EQ(r.SolutionTo[0], 21);
    EXPECT_EQ(r.Names[0].text(), "Two Pegs");
    EXPECT_EQ(r.Names[1].text(), "Zwei St\xF6psel");
    EXPECT_EQ(r.StartCells[19], FirstColourPeg);
    EXPECT_EQ(r.StartCells[5], NoHole); // beyond the board's size
    // No target drawn: every hole empty, so one peg left solves the board.
    EXPECT_EQ(r.TargetCells[19], EmptyHole);
    EXPECT_EQ(r.TargetCells[5], NoHole);
}

TEST(BoardSource, CountsMovesByReplayingChains) {
    BoardSource board = ParseOne("board\nname.en: Run\nname.de: Lauf\nshape: square\nsize: 7\n"
                                 "start:\n  o o o o o o o\n  o o o o o o o\n  o x x o x o o\n"
                                 "  o o o o o o o\n  o o o o o o o\n  o o o o o o o\n  o o o o o o o\n"
                                 "solution: 19-21-23\n");
    EXPECT_TRUE(CheckBoard(board).empty());
    EXPECT_EQ(board.record.SolutionMoves, 1);
    EXPECT_EQ(board.solution.size(), 2u);
}

TEST(BoardSource, RefusesAnIllegalSolutionNamingTheBoard) {
    BoardSource board = ParseOne(LineBoard + "solution: 19-17\n"); // column 8 is off this board
    const auto problems = CheckBoard(board);
    ASSERT_FALSE(problems.empty());
    EXPECT_TRUE(AnyProblemMentions(problems, "Two Pegs"));
    EXPECT_TRUE(AnyProblemMentions(problems, "not a legal jump"));
}

TEST(BoardSource, RefusesASolutionThatDoesNotReachTheTarget) {
    const std::string withTarget = LineBoard + "target:\n  o o o o o\n  o o o o o\n  x o o o o\n"
                                               "  o o o o o\n  o o o o o\n";
    BoardSource board = ParseOne(withTarget + "solution: 19-21\n");
    EXPECT_TRUE(AnyProblemMentions(CheckBoard(board), "does not reach the target"));

    BoardSource none = ParseOne(LineBoard);
    EXPECT_TRUE(AnyProblemMentions(CheckBoard(none), "no solution"));
}

TEST(BoardSource, ChecksNamesInWindows1252Bytes) {
    // 50 umlauts are 100 bytes of UTF-8 but exactly 50 in the code page: they fit.
    std::string fifty;
    for (int i = 0; i < 50; ++i)
        fifty += "ä";
    BoardSource fits = ParseOne("board\nname.en: " + fifty + "\nname.de: x" +
                                LineBoard.substr(LineBoard.find("\nshape")) + "solution: 19-21\n");
    EXPECT_TRUE(CheckBoard(fits).empty());
    EXPECT_EQ(fits.record.Names[0].Length, 50);

    BoardSource tooLong = ParseOne("board\nname.en: " + fifty + "ä\nname.de: x" +
                                   LineBoard.substr(LineBoard.find("\nshape")) + "solution: 19-21\n");
    EXPECT_TRUE(AnyProblemMentions(CheckBoard(tooLong), "at most 50"));

    BoardSource missing = ParseOne("board\nname.en: Only English" +
                                   LineBoard.substr(LineBoard.find("\nshape")) + "solution: 19-21\n");
    EXPECT_TRUE(AnyProblemMentions(CheckBoard(missing), "German name is missing"));

    BoardSource foreign = ParseOne("board\nname.en: 日本\nname.de: x" +
                                   LineBoard.substr(LineBoard.find("\nshape")) + "solution: 19-21\n");
    EXPECT_TRUE(AnyProblemMentions(CheckBoard(foreign), "outside Windows-1252"));
}

TEST(BoardSource, ReadsHexagonalRowsOneCellShorterOnOddRows) {
    BoardSource board = ParseOne("board\nname.en: Hex\nname.de: Sechs\nshape: hexagon\nsize: 5\n"
                                 "start:\n  o o o o o\n   o x o o\n  o x o o o\n   o o o o\n  o o o o o\n"
                                 "solution: 19-2\n");
    EXPECT_TRUE(CheckBoard(board).empty());
    EXPECT_EQ(board.record.Shape, ShapeHexagon);
    EXPECT_EQ(board.record.StartCells[10], FirstColourPeg);
    EXPECT_EQ(board.record.StartCells[19], FirstColourPeg);
    EXPECT_EQ(board.record.StartCells[13], NoHole); // odd rows end one column earlier
}

TEST(BoardSource, ReportsMistakesInTheTextWithTheirLine) {
    const auto errorsOf = [](const std::string& text) {
        return ParseBoardText(text, "bad.txt").errors;
    };
    EXPECT_TRUE(AnyProblemMentions(errorsOf("name.en: x\n"), "bad.txt:1: expected 'board'"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf("board\nsize: 12\n"), "size must be 5 to 9"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf("board\nshape: round\n"), "shape must be"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf("board\ncolour: red\n"), "unknown setting"));
    EXPECT_TRUE(
        AnyProblemMentions(errorsOf("board\nshape: square\nsize: 5\nstart:\n  o o o\n"), "needs 5 cells"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf("board\nshape: square\nsize: 5\nstart:\n  o o q o o\n"),
                                   "unknown cell 'q'"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf(LineBoard + "solution: 19-99\n"), "bad jump '19-99'"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf("board\nname.en: x\n"), "without a start"));
    EXPECT_TRUE(AnyProblemMentions(errorsOf(LineBoard + "  o o o o o\n"), "more than 5 rows"));
}

TEST(BoardSource, WritesSolutionsBackIntoTheText) {
    const std::string text = LineBoard + "\n" + LineBoard + "solution: 20-18\n";
    const ParsedBoards parsed = ParseBoardText(text, "t.txt");
    ASSERT_EQ(parsed.boards.size(), 2u);
    const JumpList jump{{19, 21}};
    const std::string updated = WriteSolutions(text, {{&parsed.boards[0], jump}, {&parsed.boards[1], jump}});
    ParsedBoards again = ParseBoardText(updated, "t.txt");
    ASSERT_EQ(again.boards.size(), 2u);
    for (BoardSource& board : again.boards) {
        EXPECT_EQ(board.solution, jump);
        EXPECT_TRUE(CheckBoard(board).empty());
    }
    EXPECT_EQ(FormatSolution({{19, 21}, {21, 23}, {3, 21}}), "19-21-23 3-21");
}
