// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardSource.h"

#include <array>
#include <cstdint>
#include <sstream>

#include "rules/Rules.h"

namespace {

// The characters of Windows-1252 from 0x80 to 0x9F; 0 where the code page has none.
constexpr std::array<char32_t, 32> HighControlRange{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> ToCodePage(char32_t c) {
    if (c >= 0x20 && c < 0x7F)
        return static_cast<char>(c);
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<char>(static_cast<unsigned char>(c));
    for (std::size_t i = 0; i < HighControlRange.size(); ++i)
        if (HighControlRange[i] != 0 && HighControlRange[i] == c)
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
    return std::nullopt;
}

// Decodes one UTF-8 sequence at text[pos], advancing pos; nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(const std::string& text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < extra; ++k) {
        if (pos >= text.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(text[pos++]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 4> Smallest{0, 0x80, 0x800, 0x10000};
    if (c < Smallest[extra] || c > 0x10FFFF)
        return std::nullopt;
    return c;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::istringstream in(s);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

std::string StripComment(const std::string& line) {
    const auto hash = line.find('#');
    return hash == std::string::npos ? line : line.substr(0, hash);
}

bool IsIndented(const std::string& line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

std::optional<CellCode> CellFromChar(const std::string& token) {
    if (token == ".")
        return NoHole;
    if (token == "o")
        return EmptyHole;
    if (token == "x")
        return FirstColourPeg;
    if (token == "*")
        return SecondColourPeg;
    return std::nullopt;
}

// The cells of each drawn row, in cell-index order: hexagonal odd rows are one cell shorter.
int RowLength(const LevelRecord& record, int row) {
    return record.isHexagon() && row % 2 == 1 ? record.Size - 1 : record.Size;
}

std::optional<int> ParseCell(const std::string& s) {
    if (s.empty() || s.size() > 2 || s.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int cell = std::stoi(s);
    return cell < CellCount ? std::optional<int>(cell) : std::nullopt;
}

// "a-b-c" is the peg on a jumping to b, then on to c.
bool ParseChain(const std::string& token, JumpList& jumps) {
    std::vector<int> cells;
    std::size_t start = 0;
    while (true) {
        const auto dash = token.find('-', start);
        const auto cell = ParseCell(token.substr(start, dash == std::string::npos ? dash : dash - start));
        if (!cell)
            return false;
        cells.push_back(*cell);
        if (dash == std::string::npos)
            break;
        start = dash + 1;
    }
    if (cells.size() < 2)
        return false;
    for (std::size_t i = 1; i < cells.size(); ++i)
        jumps.push_back({static_cast<std::uint8_t>(cells[i - 1]), static_cast<std::uint8_t>(cells[i])});
    return true;
}

class Parser {
public:
    Parser(const std::string& text, std::string fileName)
        : m_lines(SplitLines(text)), m_file(std::move(fileName)) {}

    ParsedBoards run();

private:
    std::string at(std::size_t line) const { return m_file + ":" + std::to_string(line + 1); }
    void error(std::size_t line, const std::string& message) {
        m_result.errors.push_back(at(line) + ": " + message);
    }
    void startBoard(std::size_t line);
    void finishBoard();
    void setting(std::size_t line, const std::string& key, const std::string& value);
    std::size_t readGrid(std::size_t line, Position& cells, const std::string& what);

    std::vector<std::string> m_lines;
    std::string m_file;
    ParsedBoards m_result;
    std::optional<BoardSource> m_board;
    bool m_hasSize = false, m_hasShape = false, m_hasStart = false, m_hasTarget = false;
    std::size_t m_startLine = 0, m_targetLine = 0;
};

void Parser::startBoard(std::size_t line) {
    finishBoard();
    m_board = BoardSource{};
    m_board->where = at(line);
    m_board->lastLine = static_cast<int>(line);
    LevelRecord& r = m_board->record;
    ClearRecord(r);
    r.Original = 1;
    r.Solved = 0;
    m_hasSize = m_hasShape = m_hasStart = m_hasTarget = false;
}

void Parser::setting(std::size_t line, const std::string& key, const std::string& value) {
    LevelRecord& r = m_board->record;
    if (key == "name.en") {
        m_board->nameEn = value;
    } else if (key == "name.de") {
        m_board->nameDe = value;
    } else if (key == "shape") {
        if (value != "square" && value != "hexagon")
            error(line, "shape must be square or hexagon");
        r.Shape = value == "hexagon" ? ShapeHexagon : ShapeSquare;
        m_hasShape = true;
    } else if (key == "size") {
        const auto cell = ParseCell(value);
        if (!cell || *cell < 5 || *cell > 9)
            error(line, "size must be 5 to 9");
        else
            r.Size = static_cast<std::uint8_t>(*cell);
        m_hasSize = true;
    } else if (key == "diagonal") {
        if (value != "yes" && value != "no")
            error(line, "diagonal must be yes or no");
        r.Diagonal = value == "yes" ? 1 : 0;
    } else if (key == "solution") {
        m_board->hasSolution = true;
        m_board->solutionLine = static_cast<int>(line);
        for (const std::string& token : Words(value))
            if (!ParseChain(token, m_board->solution))
                error(line, "bad jump '" + token + "' (cells 0 to 80, written from-to or as a chain a-b-c)");
    } else {
        error(line, "unknown setting '" + key + "'");
    }
}

// Reads the indented rows after "start:" or "target:"; returns the first line after them.
std::size_t Parser::readGrid(std::size_t line, Position& cells, const std::string& what) {
    const LevelRecord& r = m_board->record;
    if (!m_hasSize || !m_hasShape)
        error(line, what + " must come after size and shape");
    cells.fill(NoHole);
    int row = 0;
    std::size_t next = line + 1;
    for (; next < m_lines.size() && IsIndented(m_lines[next]) && !Trim(StripComment(m_lines[next])).empty();
         ++next, ++row) {
        const auto tokens = Words(StripComment(m_lines[next]));
        if (row >= r.Size) {
            error(next, what + " has more than " + std::to_string(r.Size) + " rows");
            continue;
        }
        if (static_cast<int>(tokens.size()) != RowLength(r, row)) {
            error(next, what + " row " + std::to_string(row + 1) + " needs " +
                            std::to_string(RowLength(r, row)) + " cells");
            continue;
        }
        for (int col = 0; col < RowLength(r, row); ++col) {
            const auto code = CellFromChar(tokens[col]);
            if (!code)
                error(next, "unknown cell '" + tokens[col] + "' (use . o x *)");
            else
                cells[row * GridWidth + col] = *code;
        }
    }
    if (row < r.Size)
        error(line,
              what + " has " + std::to_string(row) + " rows, the board needs " + std::to_string(r.Size));
    m_board->lastLine = static_cast<int>(next - 1);
    return next;
}

void Parser::finishBoard() {
    if (!m_board)
        return;
    LevelRecord& r = m_board->record;
    if (!m_hasStart)
        error(m_startLine, "board without a start position");
    // No target drawn: every hole empty, so one peg left anywhere solves the board.
    if (!m_hasTarget)
        for (int cell = 0; cell < CellCount; ++cell)
            r.TargetCells[cell] = r.StartCells[cell] == NoHole ? NoHole : EmptyHole;
    m_result.boards.push_back(std::move(*m_board));
    m_board.reset();
}

ParsedBoards Parser::run() {
    for (std::size_t line = 0; line < m_lines.size();) {
        const std::string content = Trim(StripComment(m_lines[line]));
        if (content.empty()) {
            ++line;
            continue;
        }
        if (content == "board") {
            startBoard(line);
            m_startLine = line;
            ++line;
            continue;
        }
        if (!m_board) {
            error(line, "expected 'board'");
            ++line;
            continue;
        }
        const auto colon = content.find(':');
        if (colon == std::string::npos) {
            error(line, "expected 'key: value'");
            ++line;
            continue;
        }
        const std::string key = Trim(content.substr(0, colon));
        const std::string value = Trim(content.substr(colon + 1));
        m_board->lastLine = static_cast<int>(line);
        if (key == "start" || key == "target") {
            const bool start = key == "start";
            (start ? m_hasStart : m_hasTarget) = true;
            line = readGrid(line, start ? m_board->record.StartCells : m_board->record.TargetCells, key);
            continue;
        }
        setting(line, key, value);
        ++line;
    }
    finishBoard();
    return std::move(m_result);
}

bool SetName(const std::string& utf8, NameSlot& slot, const std::string& language, const BoardSource& board,
             std::vector<std::string>& problems) {
    if (utf8.empty()) {
        problems.push_back(board.label() + ": the " + language + " name is missing");
        return false;
    }
    const auto bytes = ToWindows1252(utf8);
    if (!bytes) {
        problems.push_back(board.label() + ": the " + language +
                           " name is not valid UTF-8 or has characters " + "outside Windows-1252");
        return false;
    }
    if (bytes->size() > static_cast<std::size_t>(NameCapacity)) {
        problems.push_back(board.label() + ": the " + language + " name is " + std::to_string(bytes->size()) +
                           " bytes long in Windows-1252, at most 50 fit");
        return false;
    }
    slot.setText(*bytes);
    return true;
}

} // namespace

std::string BoardSource::label() const {
    return where + " (" + (nameEn.empty() ? "unnamed" : nameEn) + ")";
}

ParsedBoards ParseBoardText(const std::string& text, const std::string& fileName) {
    return Parser(text, fileName).run();
}

std::optional<std::string> ToWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = NextCodePoint(utf8, pos);
        if (!c)
            return std::nullopt;
        const auto byte = ToCodePage(*c);
        if (!byte)
            return std::nullopt;
        out.push_back(*byte);
    }
    return out;
}

std::vector<std::string> CheckBoard(BoardSource& board) {
    std::vector<std::string> problems;
    SetName(board.nameEn, board.record.Names[0], "English", board, problems);
    SetName(board.nameDe, board.record.Names[1], "German", board, problems);
    if (!board.hasSolution) {
        problems.push_back(board.label() + ": no solution (run boardc --solve on the file)");
        return problems;
    }
    const ReplayResult replay = ReplaySolution(board.record, board.solution);
    if (!replay.solved) {
        problems.push_back(board.label() + ": the stored solution is refused: " + replay.problem);
        return problems;
    }
    StoreSolutionInRecord(board.record, board.solution);
    return problems;
}

std::string FormatSolution(const JumpList& jumps) {
    std::string text;
    int landing = -1;
    for (const SolverJump jump : jumps) {
        if (jump.from != landing) {
            if (!text.empty())
                text += ' ';
            text += std::to_string(jump.from);
        }
        text += '-' + std::to_string(jump.to);
        landing = jump.to;
    }
    return text;
}

std::string WriteSolutions(const std::string& text, const std::vector<SolutionUpdate>& updates) {
    std::vector<std::string> lines = SplitLines(text);
    std::vector<std::string> after(lines.size()); // lines to add after line i
    for (const SolutionUpdate& update : updates) {
        const std::string line = "solution: " + FormatSolution(update.jumps);
        if (update.board->solutionLine >= 0)
            lines[update.board->solutionLine] = line;
        else if (update.board->lastLine >= 0 && update.board->lastLine < static_cast<int>(lines.size()))
            after[update.board->lastLine] += line + "\n";
    }
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += lines[i] + "\n" + after[i];
    return out;
}
