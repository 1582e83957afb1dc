// SPDX-License-Identifier: GPL-3.0-or-later
// pegsolve: says whether a board can be solved and prints a solution with few moves.
//
//   pegsolve FILE.vrn [--seconds N] [--write]
//   pegsolve --collection vorn.dat --board K [--seconds N]
//   pegsolve --collection vorn.dat --survey [--seconds N]
//   pegsolve --collection vorn.dat --table MOVES.md [--boards LIST] [--seconds N]
//
// Every form takes --memory AMOUNT ("6G", "512M"), what the proof of the fewest moves may hold at
// once; the default is half of the machine's physical memory. A search that runs out of time or
// memory prints the best solution it has and the proven lower bound, and exits as when it ran out
// of time: 0 with a solution, 4 without one.
//
// --first stops at the first solution instead of looking for fewer moves; --survey solves every
// board of the collection and prints one line for each, with the time the solver took. --table
// tries to prove each board's stored solution the shortest and writes the outcome as a Markdown
// table: board, name, pegs, moves, whether no solution has fewer, the lower bound, the seconds,
// the peak memory and the command that repeats the row. --boards LIST ("all", "unproven" or
// numbers and ranges like "48,50,96-120") searches only those boards and keeps the other rows.
//
// --write stores the solution in the board file (solution jumps and move count only; every other
// byte stays as it was).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "solver/Solver.h"
#include "storage/AtomicFile.h"
#include "storage/LevelCollection.h"

namespace {

struct Options {
    std::string boardFile;
    std::string collection;
    int board = 0;
    double seconds = 10.0;
    std::size_t memory = 0;
    bool write = false;
    bool first = false;
    bool survey = false;
    std::string table;
    std::string boards = "all";
};

constexpr std::size_t TableColumns = 9;

int Usage() {
    std::cerr << "usage: pegsolve FILE.vrn [--seconds N] [--first] [--write]\n"
                 "       pegsolve --collection vorn.dat --board K [--seconds N] [--first]\n"
                 "       pegsolve --collection vorn.dat --survey [--seconds N] [--first]\n"
                 "       pegsolve --collection vorn.dat --table MOVES.md [--boards LIST] [--seconds N]\n"
                 "every form also takes --memory AMOUNT (bytes, or with the suffix K, M or G)\n";
    return 2;
}

bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

bool ParseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        double number = 0;
        if (a == "--write") {
            options.write = true;
        } else if (a == "--first") {
            options.first = true;
        } else if (a == "--survey") {
            options.survey = true;
        } else if (a == "--seconds" && hasValue && ParseNumber(args[i + 1], number) && number > 0) {
            options.seconds = number;
            ++i;
        } else if (a == "--memory" && hasValue && ParseMemoryAmount(args[i + 1], options.memory)) {
            ++i;
        } else if (a == "--boards" && hasValue) {
            options.boards = args[++i];
        } else if (a == "--table" && hasValue) {
            options.table = args[++i];
        } else if (a == "--collection" && hasValue) {
            options.collection = args[++i];
        } else if (a == "--board" && hasValue && ParseNumber(args[i + 1], number) && number >= 1 &&
                   number <= LevelCollection::MaxBoards) {
            options.board = static_cast<int>(number);
            ++i;
        } else if (!a.empty() && a[0] != '-' && options.boardFile.empty()) {
            options.boardFile = a;
        } else {
            return false;
        }
    }
    if (options.collection.empty())
        return !options.boardFile.empty() && options.board == 0 && !options.survey;
    const int modes = (options.board > 0) + options.survey + !options.table.empty();
    return options.boardFile.empty() && modes == 1 && !options.write;
}

bool ReadBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Rows and columns counted from 1, top left.
std::string RowCol(int cell) {
    return "row " + std::to_string(cell / GridWidth + 1) + " col " + std::to_string(cell % GridWidth + 1);
}

void PrintSolution(const SolveResult& result) {
    if (result.fewestMovesProven)
        std::cout << "minimum proven: " << result.moves << " moves\n";
    else
        std::cout << "best found: " << result.moves << " moves; proved that no solution has fewer than "
                  << result.movesLowerBound << "\n";
    std::cout << "solution: " << result.jumps.size() << " jumps, " << result.moves << " moves\n";
    int landing = -1;
    int move = 0;
    for (const SolverJump jump : result.jumps) {
        if (jump.from != landing)
            std::cout << "move " << ++move << ":\n";
        std::cout << "  " << int{jump.from} << "-" << int{jump.to} << "   row,col " << RowCol(jump.from)
                  << " -> " << RowCol(jump.to) << "\n";
        landing = jump.to;
    }
}

// Stores the solution fields into the file's bytes; every other byte is written back unchanged.
bool WriteSolution(const std::string& path, std::vector<std::uint8_t> bytes, const JumpList& jumps) {
    LevelRecord record = LevelRecord::fromBytes(bytes.data());
    StoreSolutionInRecord(record, jumps);
    const auto updated = record.toBytes();
    std::copy(updated.begin(), updated.end(), bytes.begin());
    AtomicFile file(path);
    return file.created() && file.write(bytes.data(), bytes.size()) && file.commit();
}

const char* StatusText(SolveStatus status) {
    switch (status) {
    case SolveStatus::Solved:
        return "solved";
    case SolveStatus::Unsolvable:
        return "cannot be solved";
    case SolveStatus::GaveUp:
        return "no solution found";
    case SolveStatus::Unsupported:
        return "unsupported cell codes";
    }
    return "";
}

// One line per board: number, status, jumps, moves, seconds, English name; then the total.
int Survey(const LevelCollection& collection, const SolverLimits& limits) {
    double total = 0, worst = 0;
    int worstBoard = 0, unsolved = 0;
    for (int k = 1; k <= collection.count(); ++k) {
        const LevelRecord& record = collection.slot(k);
        const SolveResult result = SolveBoard(record, limits);
        std::cout << k << "\t" << StatusText(result.status) << "\t" << result.jumps.size() << " jumps\t"
                  << result.moves << " moves\t" << result.seconds << " s\t" << record.Names[0].text() << "\n";
        total += result.seconds;
        unsolved += result.status != SolveStatus::Solved;
        if (result.seconds > worst) {
            worst = result.seconds;
            worstBoard = k;
        }
    }
    std::cout << "total " << total << " s, worst " << worst << " s (board " << worstBoard << "), " << unsolved
              << " not solved\n";
    return unsolved == 0 ? 0 : 4;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

// The memory amount as the command line would give it.
std::string MemoryOption(std::size_t bytes) {
    for (const auto& [shift, suffix] : {std::pair{30, "G"}, std::pair{20, "M"}, std::pair{10, "K"}})
        if (bytes % (std::size_t{1} << shift) == 0)
            return std::to_string(bytes >> shift) + suffix;
    return std::to_string(bytes);
}

// The rows of an earlier table by board number, and whether each says its par is proven.
struct TableRow {
    std::string line;
    std::string name;
    int par = 0;
    bool proven = false;
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    std::getline(in, field, '|');
    while (std::getline(in, field, '|')) {
        const auto first = field.find_first_not_of(' '), last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
    }
    return fields;
}

std::map<int, TableRow> ReadTable(const std::string& path) {
    std::map<int, TableRow> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = Fields(line);
        double board = 0, par = 0;
        if (fields.size() < TableColumns || !ParseNumber(fields[0], board) || !ParseNumber(fields[3], par))
            continue;
        rows[static_cast<int>(board)] = {line, fields[1], static_cast<int>(par), fields[4] == "yes"};
    }
    return rows;
}

// Which boards to search again: "all", "unproven" (judged by the earlier table) or numbers and
// ranges such as "48,50,96-120".
bool Selected(const std::string& boards, int k, const std::map<int, TableRow>& earlier) {
    if (boards == "all")
        return true;
    if (boards == "unproven") {
        const auto row = earlier.find(k);
        return row == earlier.end() || !row->second.proven;
    }
    std::istringstream in(boards);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto dash = item.find('-');
        const int low = std::atoi(item.substr(0, dash).c_str());
        const int high = dash == std::string::npos ? low : std::atoi(item.substr(dash + 1).c_str());
        if (k >= low && k <= high)
            return true;
    }
    return false;
}

// One board's row: its stored solution put to the proof.
std::string TableLine(const LevelCollection& collection, int k, const SolverLimits& base, bool& parProven,
                      bool& problem) {
    const LevelRecord& record = collection.slot(k);
    SolverLimits limits = base;
    limits.knownSolution = StoredSolution(record);
    const SolveResult result = SolveBoard(record, limits);
    const int stored = CountMoves(limits.knownSolution);
    const bool shorterFound = result.status == SolveStatus::Solved && result.moves < stored;
    problem = limits.knownSolution.empty() || result.status != SolveStatus::Solved || shorterFound;
    if (problem)
        std::cerr << "pegsolve: board " << k << ": the stored solution is missing, broken or longer than "
                  << result.moves << " moves; re-solve the collection\n";
    // A par counts as proven only when the search proves exactly the stored number of moves.
    parProven = result.fewestMovesProven && !shorterFound && !limits.knownSolution.empty();
    std::cout << k << "\t" << stored << " moves\t" << (parProven ? "proven" : "not proven") << "\tat least "
              << result.movesLowerBound << "\t" << Seconds(result.seconds) << " s\t"
              << MemoryText(result.peakBytes) << "\n";
    std::ostringstream row;
    row << "| " << k << " | " << record.Names[0].text() << " | " << int{CountPegs(record.StartCells, record)}
        << " | " << stored << " | "
        << (parProven      ? "yes"
            : shorterFound ? "no: " + std::to_string(result.moves) + " found"
                           : "no")
        << " | " << (parProven ? stored : result.movesLowerBound) << " | " << Seconds(result.seconds) << " | "
        << MemoryText(result.peakBytes) << " | `pegsolve --collection build/data/vorn.dat --board " << k
        << " --seconds " << base.seconds << " --memory " << MemoryOption(base.memoryBytes) << "` |";
    return row.str();
}

// Each selected board's stored solution put to the proof; the rows of the other boards are kept
// from the earlier table as long as their par is still the stored one. The table is written even
// when a board had no solution to prove; the exit status tells.
int Table(const LevelCollection& collection, const SolverLimits& base, const std::string& path,
          const std::string& boards) {
    const std::map<int, TableRow> earlier = ReadTable(path);
    std::ostringstream out;
    out << "# Moves of the built-in boards\n\n"
           "Written by `pegsolve --collection build/data/vorn.dat --table data/boards/MOVES.md --boards "
           "LIST --seconds N --memory M`, which searches the listed boards again and keeps the other rows. "
           "*Par* is the moves of the stored solution; *proven* means no solution has fewer moves; "
           "otherwise *at least* is the fewest moves the search could prove necessary within its time "
           "and memory. *Seconds* and *peak memory* (the most the proof's tables, levels and work buffers "
           "held at once, as the search counts them) "
           "are those of the run that wrote the row; *command* repeats that run for one board.\n\n"
           "| Board | Name | Pegs | Par | Proven | At least | Seconds | Peak memory | Command |\n"
           "|---:|---|---:|---:|---|---:|---:|---:|---|\n";
    int proven = 0, problems = 0;
    for (int k = 1; k <= collection.count(); ++k) {
        const LevelRecord& record = collection.slot(k);
        const auto row = earlier.find(k);
        const bool keep = !Selected(boards, k, earlier) && row != earlier.end() &&
                          row->second.par == record.SolutionMoves &&
                          row->second.name == record.Names[0].text() &&
                          Fields(row->second.line).size() == TableColumns;
        if (keep) {
            out << row->second.line << "\n";
            proven += row->second.proven;
            continue;
        }
        bool parProven = false, problem = false;
        out << TableLine(collection, k, base, parProven, problem) << "\n";
        proven += parProven;
        problems += problem;
    }
    out << "\n" << proven << " of " << collection.count() << " pars are proven minima.\n";
    const std::string text = out.str();
    AtomicFile file(path);
    if (!file.created() || !file.write(text.data(), text.size()) || !file.commit()) {
        std::cerr << "pegsolve: cannot write " << path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    std::cout << proven << " of " << collection.count() << " pars are proven minima; written to " << path
              << "\n";
    return problems == 0 ? 0 : 4;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options))
        return Usage();

    SolverLimits limits;
    limits.seconds = options.seconds;
    limits.preferFewerMoves = !options.first;
    limits.memoryBytes = options.memory ? options.memory : DefaultMemoryBudget();

    LevelRecord record;
    std::vector<std::uint8_t> fileBytes;
    if (!options.collection.empty()) {
        LevelCollection collection;
        const LoadResult loaded = collection.load(options.collection);
        if (!loaded.ok) {
            std::cerr << "pegsolve: cannot read boards from " << options.collection << ": "
                      << std::strerror(loaded.error) << "\n";
            return 1;
        }
        if (options.survey)
            return Survey(collection, limits);
        if (!options.table.empty())
            return Table(collection, limits, options.table, options.boards);
        if (options.board > collection.count()) {
            std::cerr << "pegsolve: " << options.collection << " holds only " << collection.count()
                      << " boards\n";
            return 1;
        }
        record = collection.slot(options.board);
    } else {
        if (!ReadBytes(options.boardFile, fileBytes)) {
            std::cerr << "pegsolve: cannot read " << options.boardFile << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        if (fileBytes.size() < RecordBytes) {
            std::cerr << "pegsolve: " << options.boardFile << " is " << fileBytes.size()
                      << " bytes long; a board file holds one record of " << RecordBytes << " bytes\n";
            return 1;
        }
        record = LevelRecord::fromBytes(fileBytes.data());
    }

    // A stored solution is the best known so far: only fewer moves are looked for.
    if (!options.first)
        limits.knownSolution = StoredSolution(record);
    const SolveResult result = SolveBoard(record, limits);
    std::cout << "searched " << result.nodes << " positions in " << result.seconds
              << " s; the proof held at most " << MemoryText(result.peakBytes) << " of "
              << MemoryText(limits.memoryBytes) << "\n";
    if (result.memoryRanOut)
        std::cout << "the memory budget ran out: the search stopped before a level that would not fit\n";
    switch (result.status) {
    case SolveStatus::Unsolvable:
        std::cout << "the board cannot be solved\n";
        return 3;
    case SolveStatus::GaveUp:
        std::cout << "no solution found within " << options.seconds
                  << " s; the board may still be solvable\n";
        return 4;
    case SolveStatus::Unsupported:
        std::cout << "the board holds cell codes other than 0 to 3 and a target that depends on them\n";
        return 5;
    case SolveStatus::Solved:
        break;
    }
    if (result.jumps.empty()) {
        std::cout << "the board is already solved at its start\n";
        return 0;
    }
    std::cout << "the board can be solved\n";
    PrintSolution(result);
    if (options.write) {
        if (!WriteSolution(options.boardFile, fileBytes, result.jumps)) {
            std::cerr << "pegsolve: cannot write " << options.boardFile << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        std::cout << "stored in " << options.boardFile << "\n";
    }
    return 0;
}
