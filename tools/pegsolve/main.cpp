// SPDX-License-Identifier: GPL-3.0-or-later
// pegsolve, installed as tolvarpegs-solve: says whether a board can be solved, prints a solution
// with few moves and what is proven of it. Its forms, options and exit statuses are those of the
// help text below, which the manual page repeats.

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "solver/Solver.h"
#include "storage/AtomicFile.h"
#include "storage/LevelCollection.h"
#include "storage/ReadFully.h"
#include "storage/SafeRead.h"

namespace {

// The exit statuses, as the help text explains them.
enum Exit : int {
    Found = 0,
    FileError = 1,
    WrongUse = 2,
    CannotBeSolved = 3,
    NoneFound = 4,
    NotABoard = 5,
};

constexpr std::uint64_t DefaultPositions = 50'000'000;
constexpr double DefaultSeconds = 600;
constexpr int SmallestSize = 5, LargestSize = 9;

const char* const HelpText =
    R"(usage: PROGRAM FILE.vrn [--write] [OPTIONS]
       PROGRAM --collection FILE.dat --board K [OPTIONS]
       PROGRAM --collection FILE.dat --survey [OPTIONS]
       PROGRAM --collection FILE.dat --table MOVES.md [--boards LIST] [OPTIONS]

Tells whether a board can be solved, finds a solution with as few moves as it can (a run of jumps
by one peg is one move) and tries to prove that no solution has fewer. A solution stored with the
board counts as found already: only fewer moves are looked for.

  FILE.vrn          a board file as the editor's export writes it: one record of 732 bytes
  --write           store the solution in FILE.vrn: its jumps and move count; every other byte
                    stays as it was
  --collection FILE a collection file such as vorn.dat
  --board K         board K of the collection, counted from 1
  --survey          every board of the collection, one line each
  --table MOVES.md  put each board's stored solution to the proof and write the outcome into
                    MOVES.md as a table (the rows of the boards not searched are kept)
  --boards LIST     with --table: "all" (the default), "unproven", or numbers and ranges such as
                    "48,50,96-120"

OPTIONS
  --positions N     the budget of work: positions examined by all the search's methods together
                    (default 50000000; per board with --survey and --table). The same file and
                    options give the same result on an idle or a busy machine.
  --seconds N       a guard of the clock (default 600, per board): ends the search should the
                    budget of positions take longer. The result then says so, and another run
                    may end elsewhere.
  --memory AMOUNT   what the whole process may hold in memory: bytes, or with the suffix K, M or
                    G ("512M", "2G"); the default is half of the machine's memory. The search
                    watches what the process holds and stops before it passes the amount,
                    keeping its best solution and what it has proved.
  --first           stop at the first solution instead of looking for fewer moves
  --help            this text

PROVEN AND FOUND
  "minimum proven: N moves"   no solution has fewer moves: N is the board's par.
  "best found: N moves; proved that no solution has fewer than B"
                              a solution of N moves exists; fewer than B is impossible, and
                              whether B to N-1 moves can do is not known. A larger budget of
                              positions or memory may find a shorter solution or prove N.
  "the board cannot be solved: REASON"
                              proven: no sequence of jumps reaches the target.
  "no solution found"         proves nothing: the board may still be solvable.

OUTPUT
  The result goes to standard output and depends only on the file and the options. The time the
  search took and the most memory the process held go to standard error. While a search runs,
  and standard error is a terminal, a line there tells once a second the best solution so far,
  the proven bound, the positions examined and the memory the process holds.

EXIT STATUS
  0  a solution was found, or the board is solved at its start; with --survey and --table: every
     board was solved (and its stored solution confirmed)
  1  a file could not be read or written: it is missing, a directory, a pipe or a device, or
     reading or writing it failed
  2  wrong use: an unknown option, a bad value, or --memory below what the program holds already
  3  the board cannot be solved (proven)
  4  no solution was found within the budget; with --survey and --table: some board was not
     solved, or its stored solution is missing, broken or longer than one the search found
  5  the file holds no board: it is not one record long, or the record's size, shape or cell
     codes are out of range
)";

struct Options {
    std::string boardFile;
    std::string collection;
    int board = 0;
    std::uint64_t positions = DefaultPositions;
    double seconds = DefaultSeconds;
    std::size_t memory = 0;
    bool write = false;
    bool first = false;
    bool survey = false;
    bool help = false;
    std::string table;
    std::string boards = "all";
};

constexpr std::size_t TableColumns = 9;

// The name the program was called by, which its messages begin with: pegsolve in the build,
// tolvarpegs-solve where it is installed.
std::string Program = "pegsolve";

// Standard error, the message begun with the program's name.
std::ostream& Complain() {
    return std::cerr << Program << ": ";
}

int Usage(const std::string& problem) {
    Complain() << problem << "\n"
               << "usage: " << Program << " FILE.vrn [--write] [OPTIONS]\n"
               << "       " << Program
               << " --collection FILE.dat (--board K | --survey | --table MOVES.md) [OPTIONS]\n"
               << Program << " --help explains the options and the exit statuses\n";
    return WrongUse;
}

bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

bool ParseCount(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoull(text);
    return value > 0;
}

// Empty when the options make sense, else what is wrong with them.
std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : "";
        double number = 0;
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--write") {
            options.write = true;
        } else if (a == "--first") {
            options.first = true;
        } else if (a == "--survey") {
            options.survey = true;
        } else if (a == "--seconds" || a == "--positions" || a == "--memory" || a == "--boards" ||
                   a == "--table" || a == "--collection" || a == "--board") {
            if (!hasValue)
                return a + " needs a value";
            ++i;
            if (a == "--seconds" && !(ParseNumber(value, options.seconds) && options.seconds > 0))
                return "--seconds takes a number of seconds above 0, not \"" + value + "\"";
            if (a == "--positions" && !ParseCount(value, options.positions))
                return "--positions takes a whole number above 0, not \"" + value + "\"";
            if (a == "--memory" && !ParseMemoryAmount(value, options.memory))
                return "--memory takes an amount such as 512M or 2G, not \"" + value + "\"";
            if (a == "--board") {
                if (!ParseNumber(value, number) || number < 1 || number > LevelCollection::MaxBoards ||
                    number != static_cast<int>(number))
                    return "--board takes a board number from 1 to 200, not \"" + value + "\"";
                options.board = static_cast<int>(number);
            }
            if (a == "--boards")
                options.boards = value;
            if (a == "--table")
                options.table = value;
            if (a == "--collection")
                options.collection = value;
        } else if (!a.empty() && a[0] != '-' && options.boardFile.empty()) {
            options.boardFile = a;
        } else {
            return "unknown option \"" + a + "\"";
        }
    }
    if (options.help)
        return "";
    if (options.collection.empty()) {
        if (options.boardFile.empty())
            return "no board file given";
        if (options.board > 0 || options.survey || !options.table.empty())
            return "--board, --survey and --table need --collection";
        return "";
    }
    const int modes = (options.board > 0) + options.survey + !options.table.empty();
    if (!options.boardFile.empty())
        return "a board file and --collection exclude each other";
    if (modes != 1)
        return "--collection needs exactly one of --board, --survey and --table";
    if (options.write)
        return "--write stores into a board file, not into a collection";
    return "";
}

// What keeps a file from being read, in the words of someone who gave its name.
std::string FileProblem(int error) {
    switch (error) {
    case ENOENT:
        return "no such file";
    case EISDIR:
        return "is a directory, not a file";
    case EINVAL:
        return "is not a regular file (a named pipe, a device or a socket): only files are read";
    default:
        return std::strerror(error);
    }
}

// Reads the one record of a board file: only a regular file of exactly that length, opened without
// waiting, and never more than the record.
int ReadBoardFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    int error = 0;
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) {
        Complain() << path << ": " << FileProblem(error) << "\n";
        return FileError;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        Complain() << path << ": " << std::strerror(errno) << "\n";
        ::close(fd);
        return FileError;
    }
    if (static_cast<std::uint64_t>(info.st_size) != RecordBytes) {
        Complain() << path << ": is " << info.st_size << " bytes long; a board file holds one record of "
                   << RecordBytes << " bytes\n";
        ::close(fd);
        return NotABoard;
    }
    bytes.assign(RecordBytes, 0);
    const ssize_t n = ReadFully(fd, bytes.data(), bytes.size());
    const int readError = errno;
    ::close(fd);
    if (n < 0) {
        Complain() << path << ": " << std::strerror(readError) << "\n";
        return FileError;
    }
    if (n != static_cast<ssize_t>(RecordBytes)) {
        Complain() << path << ": ended after " << n << " bytes; a board file holds one record of "
                   << RecordBytes << " bytes\n";
        return NotABoard;
    }
    return Found;
}

// Rows and columns counted from 1, top left.
std::string RowCol(int cell) {
    return "row " + std::to_string(cell / GridWidth + 1) + " col " + std::to_string(cell % GridWidth + 1);
}

// Empty when the record is a board the editor can make; else what is out of range.
std::string RecordProblem(const LevelRecord& record) {
    if (record.Size < SmallestSize || record.Size > LargestSize)
        return "its size is " + std::to_string(record.Size) + "; boards have sizes 5 to 9";
    if (record.Shape != ShapeSquare && record.Shape != ShapeHexagon)
        return "its shape is " + std::to_string(record.Shape) + "; boards are square (0) or hexagonal (1)";
    for (const auto& [cells, part] :
         {std::pair{&record.StartCells, "start"}, std::pair{&record.TargetCells, "target"}}) {
        for (int cell = 0; cell < CellCount; ++cell)
            if (IsOnBoard(record, cell) && (*cells)[cell] > SecondColourPeg)
                return "cell " + std::to_string(cell) + " (" + RowCol(cell) + ") of its " + part +
                       " holds code " + std::to_string((*cells)[cell]) + "; cells hold 0 to 3";
    }
    return "";
}

// A line on standard error, rewritten once a second while a search runs, when that is a terminal.
class ProgressLine {
public:
    ProgressLine(const SearchProgress& progress, std::size_t memory)
        : m_progress(progress), m_memory(memory) {
        if (::isatty(STDERR_FILENO))
            m_thread = std::thread([this] { show(); });
    }
    ~ProgressLine() {
        if (!m_thread.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
        if (m_shown)
            std::cerr << "\r\033[K" << std::flush;
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    void show() {
        const auto started = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::seconds(1), [this] { return m_done; })) {
            const int best = m_progress.bestMoves.load(), bound = m_progress.lowerBound.load();
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::cerr << "\r\033[K" << Program << ": "
                      << (best > 0 ? "best " + std::to_string(best) + " moves" : "no solution yet")
                      << ", at least " << bound << ", " << m_progress.positions.load() << " positions, "
                      << MemoryText(ResidentBytes()) << " of " << MemoryText(m_memory) << ", "
                      << static_cast<int>(seconds) << " s" << std::flush;
            m_shown = true;
        }
    }

    const SearchProgress& m_progress;
    std::size_t m_memory;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_shown = false;
    std::thread m_thread;
};

// The search with a progress line beside it.
SolveResult Solve(const LevelRecord& record, SolverLimits limits) {
    SearchProgress progress;
    limits.progress = &progress;
    const ProgressLine line(progress, limits.memoryBytes);
    return SolveBoard(record, limits);
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

const char* ReasonText(UnsolvableReason reason) {
    switch (reason) {
    case UnsolvableReason::NoPegs:
        return "its start holds no pegs (the editor's edits of the start reach the board only when they are "
               "accepted, so leave the editor, accepting them, before the export)";
    case UnsolvableReason::TargetMisfit:
        return "its target does not fit the start: the target's holes differ from the start's, or it holds "
               "more "
               "pegs of a colour than the start";
    case UnsolvableReason::PositionClass:
        return "its target lies in another position class than its start, and no jump changes a position's "
               "class";
    case UnsolvableReason::Pagoda:
        return "a pagoda function weighs its target more than its start, and no jump raises that weight";
    case UnsolvableReason::Searched:
        return "every sequence of jumps was tried";
    case UnsolvableReason::None:
        break;
    }
    return "no sequence of jumps reaches its target";
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

// What ended the search before it proved all it set out to, if anything did.
void PrintStops(const SolveResult& result, const SolverLimits& limits) {
    if (result.clockStopped)
        std::cout << "the --seconds guard (" << limits.seconds
                  << " s) ended the search before its budget of positions; another run may end elsewhere\n";
    else if (result.workRanOut)
        std::cout << "the budget of " << limits.maxNodes << " positions ran out\n";
    if (result.memoryRanOut)
        std::cout << "the memory ran out: the search stopped before the process would hold more than "
                  << MemoryText(limits.memoryBytes) << "\n";
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

// One line per board: number, status, jumps, moves, positions, seconds, English name; then the total.
int Survey(const LevelCollection& collection, const SolverLimits& limits) {
    double total = 0, worst = 0;
    int worstBoard = 0, unsolved = 0;
    for (int k = 1; k <= collection.count(); ++k) {
        const LevelRecord& record = collection.slot(k);
        const std::string problem = RecordProblem(record);
        if (!problem.empty()) {
            std::cout << k << "\tnot a board: " << problem << "\n";
            ++unsolved;
            continue;
        }
        const SolveResult result = Solve(record, limits);
        std::cout << k << "\t" << StatusText(result.status) << "\t" << result.jumps.size() << " jumps\t"
                  << result.moves << " moves\t" << result.nodes << " positions\t" << Seconds(result.seconds)
                  << " s\t" << record.Names[0].text() << "\n";
        total += result.seconds;
        unsolved += result.status != SolveStatus::Solved;
        if (result.seconds > worst) {
            worst = result.seconds;
            worstBoard = k;
        }
    }
    std::cout << "total " << Seconds(total) << " s, worst " << Seconds(worst) << " s (board " << worstBoard
              << "), " << unsolved << " not solved\n";
    return unsolved == 0 ? Found : NoneFound;
}

// One board's row: its stored solution put to the proof.
std::string TableLine(const LevelCollection& collection, int k, const SolverLimits& base, bool& parProven,
                      bool& problem) {
    const LevelRecord& record = collection.slot(k);
    SolverLimits limits = base;
    limits.knownSolution = StoredSolution(record);
    const std::string notABoard = RecordProblem(record);
    if (!notABoard.empty())
        Complain() << "board " << k << " is not a board: " << notABoard << "\n";
    // Each row's peak is its own board's.
    ResetPeakResident();
    const SolveResult result = notABoard.empty() ? Solve(record, limits) : SolveResult{};
    const std::size_t peak = PeakResidentBytes();
    const int stored = CountMoves(limits.knownSolution);
    const bool shorterFound = result.status == SolveStatus::Solved && result.moves < stored;
    problem = limits.knownSolution.empty() || result.status != SolveStatus::Solved || shorterFound;
    if (problem)
        Complain() << "board " << k << ": the stored solution is missing, broken or longer than "
                   << result.moves << " moves; re-solve the collection\n";
    // A par counts as proven only when the search proves exactly the stored number of moves.
    parProven = result.fewestMovesProven && !shorterFound && !limits.knownSolution.empty();
    std::cout << k << "\t" << stored << " moves\t" << (parProven ? "proven" : "not proven") << "\tat least "
              << result.movesLowerBound << "\t" << result.nodes << " positions\t" << Seconds(result.seconds)
              << " s\t" << MemoryText(peak) << "\n";
    std::ostringstream row;
    row << "| " << k << " | " << record.Names[0].text() << " | " << int{CountPegs(record.StartCells, record)}
        << " | " << stored << " | "
        << (parProven      ? "yes"
            : shorterFound ? "no: " + std::to_string(result.moves) + " found"
                           : "no")
        << " | " << (parProven ? stored : result.movesLowerBound) << " | " << Seconds(result.seconds) << " | "
        << MemoryText(peak) << " | `pegsolve --collection build/data/vorn.dat --board " << k
        << " --positions " << base.maxNodes << " --memory " << MemoryOption(base.memoryBytes) << "` |";
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
           "LIST --positions N --memory M`, which searches the listed boards again and keeps the other rows. "
           "*Par* is the moves of the stored solution; *proven* means no solution has fewer moves; "
           "otherwise *at least* is the fewest moves the search could prove necessary within its budget "
           "of positions and its memory. *Seconds* and *peak memory* (the most the process held resident "
           "while it searched that board) are measurements of the run that wrote the row; *command* "
           "repeats that run for one board, and since its budget is work, not time, it gives the same "
           "par, proof and bound on any machine (unless its `--seconds` guard or the memory ends it "
           "first, which it then says).\n\n"
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
        Complain() << "cannot write " << path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    std::cout << proven << " of " << collection.count() << " pars are proven minima; written to " << path
              << "\n";
    return problems == 0 ? 0 : 4;
}

// The record of board K of the collection, or the exit status that tells why there is none.
int ReadCollection(const Options& options, LevelCollection& collection) {
    const LoadResult loaded = collection.load(options.collection);
    if (!loaded.ok && loaded.error == ENODATA) {
        Complain() << options.collection << ": holds no whole board record of " << RecordBytes << " bytes\n";
        return NotABoard;
    }
    if (!loaded.ok) {
        Complain() << options.collection << ": " << FileProblem(loaded.error) << "\n";
        return FileError;
    }
    return Found;
}

// The result of one board as the designer reads it, and the exit status it gives.
int Report(const SolveResult& result, const SolverLimits& limits, const Options& options,
           const std::vector<std::uint8_t>& fileBytes) {
    std::cout << "searched " << result.nodes << " positions (budget " << limits.maxNodes << ")\n";
    PrintStops(result, limits);
    Complain() << Seconds(result.seconds) << " s; the process held at most "
               << MemoryText(PeakResidentBytes()) << " of " << MemoryText(limits.memoryBytes)
               << " (the proof's own tables " << MemoryText(result.peakBytes) << ")\n";
    switch (result.status) {
    case SolveStatus::Unsolvable:
        std::cout << "the board cannot be solved: " << ReasonText(result.reason) << "\n";
        return CannotBeSolved;
    case SolveStatus::GaveUp:
        std::cout << "no solution found within the budget; the board may still be solvable\n";
        return NoneFound;
    case SolveStatus::Unsupported:
        std::cout << "the board holds cell codes other than 0 to 3 and a target that depends on them\n";
        return NotABoard;
    case SolveStatus::Solved:
        break;
    }
    if (result.jumps.empty()) {
        std::cout << "the board is already solved at its start\n";
        return Found;
    }
    std::cout << "the board can be solved\n";
    PrintSolution(result);
    if (options.write) {
        if (!WriteSolution(options.boardFile, fileBytes, result.jumps)) {
            Complain() << "cannot write " << options.boardFile << ": " << std::strerror(errno) << "\n";
            return FileError;
        }
        std::cout << "stored in " << options.boardFile << "\n";
    }
    return Found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 0 && !NamePart(argv[0]).empty())
        Program = NamePart(argv[0]);
    Options options;
    const std::string problem = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!problem.empty())
        return Usage(problem);
    if (options.help) {
        std::string text = HelpText;
        const std::string placeholder = "PROGRAM";
        for (std::size_t at = text.find(placeholder); at != std::string::npos;
             at = text.find(placeholder, at + Program.size()))
            text.replace(at, placeholder.size(), Program);
        std::cout << text;
        return Found;
    }

    SolverLimits limits;
    limits.seconds = options.seconds;
    limits.maxNodes = options.positions;
    limits.preferFewerMoves = !options.first;
    limits.memoryBytes = options.memory ? options.memory : DefaultMemoryBudget();
    limits.processBytes = limits.memoryBytes;
    // Below what the program holds before it searches, no search could begin.
    const std::size_t held = ResidentBytes();
    if (limits.memoryBytes < 2 * held)
        return Usage("--memory " + MemoryText(limits.memoryBytes) +
                     " leaves no room: the program alone holds " + MemoryText(held) + "; give at least " +
                     MemoryText(2 * held));

    LevelRecord record;
    std::vector<std::uint8_t> fileBytes;
    std::string source = options.boardFile;
    if (!options.collection.empty()) {
        LevelCollection collection;
        if (const int status = ReadCollection(options, collection); status != Found)
            return status;
        if (options.survey)
            return Survey(collection, limits);
        if (!options.table.empty())
            return Table(collection, limits, options.table, options.boards);
        if (options.board > collection.count()) {
            Complain() << options.collection << " holds only " << collection.count() << " boards\n";
            return WrongUse;
        }
        record = collection.slot(options.board);
        source = options.collection + " board " + std::to_string(options.board);
    } else {
        if (const int status = ReadBoardFile(options.boardFile, fileBytes); status != Found)
            return status;
        record = LevelRecord::fromBytes(fileBytes.data());
    }
    if (const std::string wrong = RecordProblem(record); !wrong.empty()) {
        Complain() << source << ": not a board: " << wrong << "\n";
        return NotABoard;
    }

    // The game's rules call a start without pegs solved when its target has none either; a designer
    // is told what the export missed.
    if (CountPegs(record.StartCells, record) == 0) {
        std::cout << "the board cannot be solved: " << ReasonText(UnsolvableReason::NoPegs) << "\n";
        return CannotBeSolved;
    }
    // A stored solution is the best known so far: only fewer moves are looked for.
    if (!options.first)
        limits.knownSolution = StoredSolution(record);
    return Report(Solve(record, limits), limits, options, fileBytes);
}
