// SPDX-License-Identifier: GPL-3.0-or-later
// What the hint answers on positions made by random play from the start of six built-in boards (the
// English Cross, the French Board, the German Board of 45 holes, a hexagonal one, a diagonal one and
// the largest), and what it costs:
// per board the share of each answer, the CPU time of one answer at the median and at the 99th
// percentile, and the board's one-off work, its table: CPU time, what the table holds, the most its
// making held, and how much more the process holds once it is made. The questions go to one engine per
// board, as in the game, with the hint's own budget of positions; the first of them are asked once
// more of a fresh engine without its table, as they are while the table is still being made.
// `Exactness` asks positions of random play on every built-in board of up to 33 holes whose jumps run
// along rows and columns only, each board's table made first, and counts the answers "not known" and
// the boards that gave any, with the CPU time of one answer at the 99th percentile and at most; and
// how many of those answers stay "not known" when the dead-end watch has asked first, as in play.
//
//   build/bench/bench_hint
//   build/bench/bench_hint --benchmark_filter=English
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "rules/Rules.h"
#include "solver/Solver.h"
#include "storage/LevelCollection.h"

namespace {

constexpr int PositionsPerBoard = 1000;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// What the process holds in memory now (its resident pages).
double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

std::vector<SolverJump> LegalJumps(const LevelRecord& board, const Position& cells) {
    std::vector<SolverJump> jumps;
    for (int from = 0; from < CellCount; ++from) {
        if (!IsOnBoard(board, from) || !HoldsPeg(cells[from]))
            continue;
        for (int to = 0; to < CellCount; ++to)
            if (IsLegalJump(cells, board, from, to).legal)
                jumps.push_back({static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to)});
    }
    return jumps;
}

// A game of random jumps from the start until none is left or the board is solved, and one of its
// positions after the first jump, drawn at random.
Position RandomlyPlayed(const LevelRecord& board, std::mt19937& random) {
    std::vector<Position> game{board.StartCells};
    for (;;) {
        const Position& cells = game.back();
        const std::vector<SolverJump> jumps = LegalJumps(board, cells);
        if (jumps.empty() || IsSolved(cells, board))
            break;
        const SolverJump jump = jumps[random() % jumps.size()];
        Position next = cells;
        ApplyJump(next, jump.from, IsLegalJump(cells, board, jump.from, jump.to).jumpedOver, jump.to,
                  cells[jump.from]);
        game.push_back(next);
    }
    if (game.size() == 1)
        return game.front();
    return game[1 + random() % (game.size() - 1)];
}

int Holes(const LevelRecord& board) {
    int holes = 0;
    for (int cell = 0; cell < CellCount; ++cell)
        holes += IsOnBoard(board, cell) && board.StartCells[cell] != NoHole ? 1 : 0;
    return holes;
}

// The board of that English name, or with an empty name the one of the most holes.
const LevelRecord* Find(const LevelCollection& collection, const std::string& name) {
    const LevelRecord* found = nullptr;
    for (int number = 1; number <= collection.count(); ++number) {
        const LevelRecord& board = collection.slot(number);
        if (name.empty() ? found == nullptr || Holes(board) > Holes(*found)
                         : board.Names[NameSlotForLanguage(0)].text() == name)
            found = &board;
    }
    return found;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

// Positions asked of the engine before its table is ready.
constexpr std::size_t AskedBeforeTheTable = 200;

struct Tally {
    double asked = 0;
    int unknown = 0;
    std::vector<double> millis;
};

Tally AskedWithoutTable(const LevelRecord& board, const std::vector<Position>& positions) {
    BoardReach reach(board);
    Tally tally;
    for (std::size_t k = 0; k < std::min(positions.size(), AskedBeforeTheTable); ++k) {
        const double started = ThreadSeconds();
        const ReachAnswer answer = reach.ask(positions[k], ReachLimits{});
        tally.millis.push_back((ThreadSeconds() - started) * 1e3);
        tally.unknown += answer.reach == Reach::Unknown ? 1 : 0;
        ++tally.asked;
    }
    return tally;
}

void Answers(benchmark::State& state, const std::string& name) {
    LevelCollection collection;
    if (!collection.load(TOLVAR_COLLECTION_FILE).ok) {
        state.SkipWithError("cannot read the collection");
        return;
    }
    const LevelRecord* board = Find(collection, name);
    if (board == nullptr) {
        state.SkipWithError("no such board");
        return;
    }
    std::mt19937 random(19);
    std::vector<Position> positions;
    for (int k = 0; k < PositionsPerBoard; ++k)
        positions.push_back(RandomlyPlayed(*board, random));
    for (auto _ : state) {
        BoardReach reach(*board);
        const double residentBefore = ResidentMegabytes();
        const double tableStarted = ThreadSeconds();
        reach.prepare();
        state.counters["table_s"] = ThreadSeconds() - tableStarted;
        state.counters["table_resident_MB"] = ResidentMegabytes() - residentBefore;
        const ReachTableFacts table = reach.tableFacts();
        state.counters["table_MB"] = static_cast<double>(table.bytes) / 1e6;
        state.counters["table_peak_MB"] = static_cast<double>(table.peakBytes) / 1e6;
        state.counters["table_top_pegs"] = table.topPegs;
        std::vector<double> millis;
        int reachable = 0, unreachable = 0, unknown = 0;
        for (const Position& cells : positions) {
            const double started = ThreadSeconds();
            const ReachAnswer answer = reach.ask(cells, ReachLimits{});
            millis.push_back((ThreadSeconds() - started) * 1e3);
            reachable += answer.reach == Reach::Reachable ? 1 : 0;
            unreachable += answer.reach == Reach::Unreachable ? 1 : 0;
            unknown += answer.reach == Reach::Unknown ? 1 : 0;
        }
        const double asked = static_cast<double>(positions.size());
        const Tally early = AskedWithoutTable(*board, positions);
        state.counters["no_table_unknown_pct"] = 100.0 * early.unknown / early.asked;
        state.counters["no_table_cpu_p50_ms"] = Percentile(early.millis, 0.5);
        state.counters["no_table_cpu_p99_ms"] = Percentile(early.millis, 0.99);
        state.counters["holes"] = Holes(*board);
        state.counters["positions"] = asked;
        state.counters["reachable_pct"] = 100.0 * reachable / asked;
        state.counters["unreachable_pct"] = 100.0 * unreachable / asked;
        state.counters["unknown_pct"] = 100.0 * unknown / asked;
        state.counters["cpu_p50_ms"] = Percentile(millis, 0.5);
        state.counters["cpu_p99_ms"] = Percentile(millis, 0.99);
        state.counters["cpu_max_ms"] = Percentile(millis, 1.0);
    }
}

constexpr int PositionsPerSmallBoard = 300;
// The dead-end watch's budget (DeadEndWatch::Positions): in play it asks after every jump, before
// the player can press H.
constexpr std::uint64_t WatchPositions = 30'000'000;

// The hint's answer as in play, where the dead-end watch has asked first, for the answer alone.
Reach HintAfterTheWatch(BoardReach& reach, const Position& cells) {
    ReachLimits watch;
    watch.positions = WatchPositions;
    watch.wantWay = false;
    reach.ask(cells, watch);
    return reach.ask(cells, ReachLimits{}).reach;
}

void Exactness(benchmark::State& state) {
    LevelCollection collection;
    if (!collection.load(TOLVAR_COLLECTION_FILE).ok) {
        state.SkipWithError("cannot read the collection");
        return;
    }
    for (auto _ : state) {
        int boards = 0, asked = 0, unknown = 0, boardsNotKnowing = 0, unknownInPlay = 0;
        double slowestTable = 0, largestTableMB = 0;
        std::vector<double> millis;
        std::mt19937 random(33);
        for (int number = 1; number <= collection.count(); ++number) {
            const LevelRecord& board = collection.slot(number);
            if (board.isHexagon() || board.allowsDiagonal() || Holes(board) > 33)
                continue;
            ++boards;
            BoardReach reach(board);
            const double tableStarted = ThreadSeconds();
            reach.prepare();
            slowestTable = std::max(slowestTable, ThreadSeconds() - tableStarted);
            largestTableMB =
                std::max(largestTableMB, static_cast<double>(reach.tableFacts().peakBytes) / 1e6);
            const int unknownBefore = unknown;
            for (int k = 0; k < PositionsPerSmallBoard; ++k) {
                const Position cells = RandomlyPlayed(board, random);
                const double started = ThreadSeconds();
                const bool known = reach.ask(cells, ReachLimits{}).reach != Reach::Unknown;
                millis.push_back((ThreadSeconds() - started) * 1e3);
                ++asked;
                unknown += known ? 0 : 1;
                if (!known)
                    unknownInPlay += HintAfterTheWatch(reach, cells) == Reach::Unknown ? 1 : 0;
            }
            boardsNotKnowing += unknown > unknownBefore ? 1 : 0;
        }
        state.counters["boards"] = boards;
        state.counters["positions"] = asked;
        state.counters["unknown"] = unknown;
        state.counters["unknown_in_play"] = unknownInPlay;
        state.counters["table_s_max"] = slowestTable;
        state.counters["table_peak_MB_max"] = largestTableMB;
        state.counters["boards_not_knowing"] = boardsNotKnowing;
        state.counters["cpu_p99_ms"] = Percentile(millis, 0.99);
        state.counters["cpu_max_ms"] = Percentile(millis, 1.0);
    }
}

BENCHMARK(Exactness)->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_CAPTURE(Answers, EnglishCross, std::string("English Cross"))
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Answers, FrenchBoard, std::string("French Board"))->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(Answers, GermanBoard, std::string("German Board"))->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(Answers, Hexagon37, std::string("Hexagon 37"))->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(Answers, DiagonalEnglishCross, std::string("Diagonal English Cross"))
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Answers, Largest, std::string())->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
