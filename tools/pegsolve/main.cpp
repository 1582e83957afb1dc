// pegsolve: says whether a board can be solved and prints a solution with few moves.
//
//   pegsolve FILE.vrn [--seconds N] [--write]
//   pegsolve --collection vorn.dat --board K [--seconds N]
//   pegsolve --collection vorn.dat --survey [--seconds N]
//   pegsolve --collection vorn.dat --table MOVES.md [--seconds N]
//
// --first stops at the first solution instead of looking for fewer moves; --survey solves every
// board of the collection and prints one line for each, with the time the solver took. --table
// tries to prove each board's stored solution the shortest and writes the outcome as a Markdown
// table: board, name, pegs, moves, whether no solution has fewer, the lower bound and the seconds.
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
#include <sstream>
#include <string>
#include <vector>

#include "game/Solver.h"
#include "storage/AtomicFile.h"
#include "storage/LevelCollection.h"

namespace {

struct Options {
    std::string boardFile;
    std::string collection;
    int board = 0;
    double seconds = 10.0;
    bool write = false;
    bool first = false;
    bool survey = false;
    std::string table;
};

int Usage() {
    std::cerr << "usage: pegsolve FILE.vrn [--seconds N] [--first] [--write]\n"
                 "       pegsolve --collection vorn.dat --board K [--seconds N] [--first]\n"
                 "       pegsolve --collection vorn.dat --survey [--seconds N] [--first]\n"
                 "       pegsolve --collection vorn.dat --table MOVES.md [--seconds N]\n";
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

// Each board's stored solution put to the proof; the table is written only when every board had
// a solution to prove.
int Table(const LevelCollection& collection, const SolverLimits& base, const std::string& path) {
    std::ostringstream out;
    out << "# Moves of the built-in boards\n\n"
           "Written by `pegsolve --collection vorn.dat --table MOVES.md --seconds "
        << base.seconds
        << "`. *Moves* is the par, the moves of the stored solution; *proven* means no "
           "solution has fewer moves; otherwise *at least* is the fewest moves the search could prove "
           "necessary within its time.\n\n"
           "| Board | Name | Pegs | Moves | Proven | At least | Seconds |\n"
           "|---:|---|---:|---:|---|---:|---:|\n";
    int proven = 0, problems = 0;
    for (int k = 1; k <= collection.count(); ++k) {
        const LevelRecord& record = collection.slot(k);
        SolverLimits limits = base;
        limits.knownSolution = StoredSolution(record);
        const SolveResult result = SolveBoard(record, limits);
        const int stored = CountMoves(limits.knownSolution);
        const bool shorterFound = result.status == SolveStatus::Solved && result.moves < stored;
        if (limits.knownSolution.empty() || result.status != SolveStatus::Solved || shorterFound) {
            std::cerr << "pegsolve: board " << k << ": the stored solution is missing, broken or longer than "
                      << result.moves << " moves; re-solve the collection\n";
            ++problems;
        }
        // A par counts as proven only when the search proves exactly the stored number of moves.
        const bool parProven = result.fewestMovesProven && !shorterFound && !limits.knownSolution.empty();
        proven += parProven;
        out << "| " << k << " | " << record.Names[0].text() << " | "
            << int{CountPegs(record.StartCells, record)} << " | " << stored << " | "
            << (parProven      ? "yes"
                : shorterFound ? "no: " + std::to_string(result.moves) + " found"
                               : "no")
            << " | " << (parProven ? stored : result.movesLowerBound) << " | " << Seconds(result.seconds)
            << " |\n";
        std::cout << k << "\t" << stored << " moves\t" << (result.fewestMovesProven ? "proven" : "not proven")
                  << "\tat least " << result.movesLowerBound << "\t" << Seconds(result.seconds) << " s\n";
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
            return Table(collection, limits, options.table);
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
    std::cout << "searched " << result.nodes << " positions in " << result.seconds << " s\n";
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
