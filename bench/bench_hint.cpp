// SPDX-License-Identifier: GPL-3.0-or-later
// How long the hint takes to answer on the collection's 33-hole boards: from each board's start, from
// every position along its stored solution, and from positions after random jumps (mostly dead ends).
// Reports the median and the worst answer time and how many answers were "not known" (over 300 ms).
//
//   build/bench/bench_hint
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "rules/Rules.h"
#include "solver/Solver.h"
#include "storage/LevelCollection.h"

namespace {

constexpr int HoleCount = 33;
constexpr int RandomGamesPerBoard = 4;

struct Question {
    const LevelRecord* board;
    Position cells;
    bool onStoredSolution; // surely reachable
};

int Holes(const LevelRecord& record) {
    int holes = 0;
    for (int cell = 0; cell < CellCount; ++cell)
        holes += IsOnBoard(record, cell) && record.StartCells[cell] != NoHole ? 1 : 0;
    return holes;
}

// Plays random legal jumps from `cells` until the position is stuck or `jumps` are made.
void PlayRandomly(const LevelRecord& record, Position& cells, int jumps, std::mt19937& random) {
    for (int made = 0; made < jumps; ++made) {
        std::vector<std::pair<int, JumpCheck>> legal;
        std::vector<int> targets;
        for (int from = 0; from < CellCount; ++from) {
            if (!IsOnBoard(record, from) || !HoldsPeg(cells[from]))
                continue;
            for (int to = 0; to < CellCount; ++to) {
                const JumpCheck check = IsLegalJump(cells, record, from, to);
                if (check.legal) {
                    legal.emplace_back(from, check);
                    targets.push_back(to);
                }
            }
        }
        if (legal.empty())
            return;
        const std::size_t pick = random() % legal.size();
        ApplyJump(cells, legal[pick].first, legal[pick].second.jumpedOver, targets[pick],
                  cells[legal[pick].first]);
    }
}

std::vector<Question> Questions(const LevelCollection& collection) {
    std::vector<Question> questions;
    std::mt19937 random(33);
    for (int number = 1; number <= collection.count(); ++number) {
        const LevelRecord& board = collection.slot(number);
        if (Holes(board) != HoleCount)
            continue;
        Position cells = board.StartCells;
        questions.push_back({&board, cells, true});
        for (int k = 0; k < SolutionCapacity && board.hasSolution(); ++k) {
            const JumpCheck check = IsLegalJump(cells, board, board.SolutionFrom[k], board.SolutionTo[k]);
            if (IsSolved(cells, board) || !HoldsPeg(cells[board.SolutionFrom[k]]) || !check.legal)
                break;
            ApplyJump(cells, board.SolutionFrom[k], check.jumpedOver, board.SolutionTo[k],
                      cells[board.SolutionFrom[k]]);
            if (!IsSolved(cells, board))
                questions.push_back({&board, cells, true});
        }
        for (int game = 0; game < RandomGamesPerBoard; ++game) {
            Position played = board.StartCells;
            PlayRandomly(board, played, 3 + game * 5, random);
            if (!IsSolved(played, board))
                questions.push_back({&board, played, false});
        }
    }
    return questions;
}

void BM_HintOn33HoleBoards(benchmark::State& state) {
    LevelCollection collection;
    if (!collection.load(TOLVAR_COLLECTION_FILE).ok) {
        state.SkipWithError("cannot read the collection");
        return;
    }
    const std::vector<Question> questions = Questions(collection);
    if (questions.empty()) {
        state.SkipWithError("no 33-hole board");
        return;
    }
    std::vector<double> millis;
    int unknown = 0, unknownOnSolution = 0, unreachable = 0;
    for (auto _ : state) {
        millis.clear();
        unknown = unknownOnSolution = unreachable = 0;
        for (const Question& question : questions) {
            const auto started = std::chrono::steady_clock::now();
            const ReachAnswer answer = AskReachable(*question.board, question.cells, ReachLimits{});
            millis.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                    .count());
            unknown += answer.reach == Reach::Unknown ? 1 : 0;
            unknownOnSolution += answer.reach == Reach::Unknown && question.onStoredSolution ? 1 : 0;
            if (answer.reach == Reach::Unreachable && question.onStoredSolution)
                state.SkipWithError("a position on the stored solution was called unreachable");
            unreachable += answer.reach == Reach::Unreachable ? 1 : 0;
        }
    }
    std::sort(millis.begin(), millis.end());
    state.counters["positions"] = static_cast<double>(millis.size());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p90_ms"] = millis[millis.size() * 9 / 10];
    state.counters["worst_ms"] = millis.back();
    state.counters["unreachable"] = unreachable;
    state.counters["unknown"] = unknown;
    state.counters["unknown_on_solution"] = unknownOnSolution;
}
BENCHMARK(BM_HintOn33HoleBoards)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
