// SPDX-License-Identifier: GPL-3.0-or-later
// boardc: compiles the text sources of the built-in boards into a collection file, refusing any
// board whose names or stored solution are wrong; with --solve it finds the solutions and writes
// them into a source file; with --openings it makes the opening book of the hint (every position
// of the first jumps on the boards of up to 33 holes with jumps along rows and columns, answered).
//
//   boardc -o vorn.dat FILE.txt...
//   boardc --openings openings.dat FILE.txt...
//   boardc --solve FILE.txt [--positions N] [--seconds N] [--memory AMOUNT] [--all] [--only NAME]
//
// --all looks again for fewer moves on boards whose stored solution is good; --only limits the
// search to the board with that English name. A stored solution is only ever replaced by a shorter one.
// The budgets are those of pegsolve, per board: --positions the work (positions examined), so that
// the solutions written do not depend on the clock; --seconds a guard of the clock; --memory ("6G",
// "512M") what the whole process may hold, by default half of the machine's physical memory. A search
// that runs out of any of them keeps the best solution it found.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "BoardSource.h"
#include "solver/OpeningBook.h"
#include "solver/Solver.h"
#include "storage/AtomicFile.h"
#include "storage/LevelCollection.h"
#include "storage/SafeRead.h"

namespace {

// Board sources are small: anything that is not a regular file, or is larger than this, is refused.
constexpr std::size_t MaxSourceBytes = std::size_t{4} << 20;

bool ReadText(const std::string& path, std::string& text) {
    FileBytes read = ReadRegularFile(path, MaxSourceBytes);
    if (!read.ok())
        return false;
    text = std::move(read.bytes);
    return true;
}

int Usage() {
    std::cerr << "usage: boardc -o OUT.dat FILE.txt...\n"
                 "       boardc --openings OUT.dat FILE.txt...\n"
                 "       boardc --solve FILE.txt [--positions N] [--seconds N] [--memory AMOUNT] [--all] "
                 "[--only NAME]\n";
    return 2;
}

struct SolveOptions {
    std::uint64_t positions = 50'000'000;
    double seconds = 600.0;
    std::size_t memory = 0;
    bool all = false;
    std::string only;
};

// The boards of the sources, each checked; what is wrong with them goes to `problems`.
std::vector<LevelRecord> ReadBoards(const std::vector<std::string>& inputs,
                                    std::vector<std::string>& problems) {
    std::vector<LevelRecord> records;
    for (const std::string& input : inputs) {
        std::string text;
        if (!ReadText(input, text)) {
            problems.push_back(input + ": cannot be read");
            continue;
        }
        ParsedBoards parsed = ParseBoardText(text, input);
        problems.insert(problems.end(), parsed.errors.begin(), parsed.errors.end());
        for (BoardSource& board : parsed.boards) {
            const auto found = CheckBoard(board);
            problems.insert(problems.end(), found.begin(), found.end());
            records.push_back(board.record);
        }
    }
    return records;
}

int Compile(const std::string& output, const std::vector<std::string>& inputs) {
    std::vector<std::string> problems;
    const std::vector<LevelRecord> records = ReadBoards(inputs, problems);
    if (records.empty())
        problems.push_back("no boards in the sources");
    if (records.size() > static_cast<std::size_t>(LevelCollection::MaxBoards))
        problems.push_back("the sources hold " + std::to_string(records.size()) + " boards, at most 200 fit");
    for (const std::string& problem : problems)
        std::cerr << "boardc: " << problem << "\n";
    if (!problems.empty())
        return 1;
    AtomicFile file(output);
    bool written = file.created();
    for (const LevelRecord& record : records) {
        const auto bytes = record.toBytes();
        written = written && file.write(bytes.data(), bytes.size());
    }
    if (!written || !file.commit()) {
        std::perror(("boardc: cannot write " + output).c_str());
        return 1;
    }
    std::cout << "boardc: " << records.size() << " boards written to " << output << "\n";
    return 0;
}

int Solve(const std::string& input, const SolveOptions& options) {
    std::string text;
    if (!ReadText(input, text)) {
        std::cerr << "boardc: " << input << " cannot be read\n";
        return 1;
    }
    ParsedBoards parsed = ParseBoardText(text, input);
    for (const std::string& error : parsed.errors)
        std::cerr << "boardc: " << error << "\n";
    if (!parsed.errors.empty())
        return 1;
    std::vector<SolutionUpdate> updates;
    int failures = 0;
    for (const BoardSource& board : parsed.boards) {
        const bool storedIsGood = board.hasSolution && ReplaySolution(board.record, board.solution).solved;
        if ((storedIsGood && !options.all) || (!options.only.empty() && board.nameEn != options.only))
            continue;
        SolverLimits limits;
        limits.seconds = options.seconds;
        limits.maxNodes = options.positions;
        limits.memoryBytes = options.memory;
        limits.processBytes = options.memory;
        if (storedIsGood)
            limits.knownSolution = board.solution;
        const SolveResult result = SolveBoard(board.record, limits);
        std::cout << board.label() << ": ";
        if (result.status != SolveStatus::Solved || result.jumps.empty()) {
            std::cout << (result.status == SolveStatus::Unsolvable ? "cannot be solved" : "no solution found")
                      << " (" << result.nodes << " positions, " << result.seconds << " s)\n";
            ++failures;
            continue;
        }
        const int storedMoves = storedIsGood ? CountMoves(board.solution) : 0;
        std::cout << result.moves << " moves";
        if (result.fewestMovesProven)
            std::cout << " (minimum proven)";
        else
            std::cout << " (at least " << result.movesLowerBound << ")";
        std::cout << ", " << result.nodes << " positions, " << result.seconds << " s, "
                  << MemoryText(PeakResidentBytes()) << " held"
                  << (result.memoryRanOut ? " (the memory ran out)" : "")
                  << (result.clockStopped ? " (the --seconds guard ended it)" : "");
        if (storedIsGood && storedMoves <= result.moves) {
            std::cout << ", kept the stored " << storedMoves << "\n";
            continue;
        }
        std::cout << "\n";
        updates.push_back({&board, result.jumps});
    }
    if (!updates.empty()) {
        AtomicFile file(input);
        const std::string updated = WriteSolutions(text, updates);
        if (!file.created() || !file.write(updated.data(), updated.size()) || !file.commit()) {
            std::perror(("boardc: cannot write " + input).c_str());
            return 1;
        }
    }
    return failures == 0 ? 0 : 1;
}

int WriteBook(const std::string& output, const std::vector<std::string>& inputs) {
    std::vector<std::string> problems;
    const std::vector<LevelRecord> records = ReadBoards(inputs, problems);
    for (const std::string& problem : problems)
        std::cerr << "boardc: " << problem << "\n";
    if (!problems.empty())
        return 1;
    std::vector<reach::OpeningPage> pages;
    std::size_t unknown = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        if (!reach::OpeningsWanted(records[n]))
            continue;
        std::cout << "board " << n + 1 << " (" << records[n].Names[0].text() << "):";
        const auto progress = [&unknown](int pegs, std::size_t positions, std::size_t notKnown) {
            std::cout << " " << pegs << ":" << positions
                      << (notKnown > 0 ? "?" + std::to_string(notKnown) : "") << std::flush;
            unknown += notKnown;
        };
        std::optional<reach::OpeningPage> page =
            reach::MakeOpeningPage(records[n], reach::OpeningBudget{}, progress);
        std::cout << "\n";
        if (page)
            pages.push_back(std::move(*page));
    }
    const std::vector<std::uint8_t> bytes = reach::WriteOpenings(pages);
    AtomicFile file(output);
    if (!file.created() || !file.write(bytes.data(), bytes.size()) || !file.commit()) {
        std::perror(("boardc: cannot write " + output).c_str());
        return 1;
    }
    std::cout << "boardc: " << pages.size() << " pages, " << unknown << " positions not known, "
              << bytes.size() << " bytes written to " << output << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "-o")
        return Compile(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    if (args.size() >= 3 && args[0] == "--openings")
        return WriteBook(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    if (args.size() >= 2 && args[0] == "--solve") {
        SolveOptions options;
        options.memory = DefaultMemoryBudget();
        for (std::size_t i = 2; i < args.size(); ++i) {
            const bool hasValue = i + 1 < args.size();
            if (args[i] == "--only" && hasValue)
                options.only = args[++i];
            else if (args[i] == "--all")
                options.all = true;
            else if (args[i] == "--seconds" && hasValue && std::atof(args[i + 1].c_str()) > 0)
                options.seconds = std::atof(args[++i].c_str());
            else if (args[i] == "--positions" && hasValue &&
                     std::strtoull(args[i + 1].c_str(), nullptr, 10) > 0)
                options.positions = std::strtoull(args[++i].c_str(), nullptr, 10);
            else if (args[i] == "--memory" && hasValue && ParseMemoryAmount(args[i + 1], options.memory))
                ++i;
            else
                return Usage();
        }
        return Solve(args[1], options);
    }
    return Usage();
}
