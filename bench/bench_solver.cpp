// SPDX-License-Identifier: GPL-3.0-or-later
// The solver on the central game of the 33-hole English cross, and the proof of the fewest moves
// on it and on the 15-hole triangle.
//
//   build/bench/bench_solver --benchmark_filter=Fewest
//
// The proof of the central game's 18 moves (BM_CentralGameFewestMoves/2), measured on the shared
// two-core machine with /usr/bin/time around the benchmark: before the position classes, pagoda
// functions and Merson regions 2.65-2.85 s of processor time, 134-135 MB resident, 4.09 million
// positions; with them 2.84-2.91 s, 136 MB resident (112 MiB of it in the search's tables), 3.89
// million positions: the same within what the shared machine lets one measure.
#include <benchmark/benchmark.h>

#include "solver/Solver.h"

namespace {

LevelRecord EnglishCross() {
    LevelRecord record;
    ClearRecord(record);
    record.Size = 7;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            const bool onCross = (row >= 2 && row <= 4) || (col >= 2 && col <= 4);
            const int cell = row * GridWidth + col;
            record.StartCells[cell] = onCross ? FirstColourPeg : NoHole;
            record.TargetCells[cell] = onCross ? EmptyHole : NoHole;
        }
    record.StartCells[3 * GridWidth + 3] = EmptyHole;
    return record;
}

// The first solution the depth-first search finds.
void BM_CentralGameFirstSolution(benchmark::State& state) {
    const LevelRecord board = EnglishCross();
    SolverLimits limits;
    limits.seconds = 60.0;
    limits.preferFewerMoves = false;
    for (auto _ : state) {
        const SolveResult result = SolveBoard(board, limits);
        if (result.status != SolveStatus::Solved)
            state.SkipWithError("not solved");
        benchmark::DoNotOptimize(result.moves);
    }
}
BENCHMARK(BM_CentralGameFirstSolution)->Unit(benchmark::kMillisecond);

// The same, ending exactly in the centre (a target with one peg).
void BM_CentralGameToTheCentre(benchmark::State& state) {
    LevelRecord board = EnglishCross();
    board.TargetCells[3 * GridWidth + 3] = FirstColourPeg;
    SolverLimits limits;
    limits.seconds = 60.0;
    limits.preferFewerMoves = false;
    for (auto _ : state) {
        const SolveResult result = SolveBoard(board, limits);
        if (result.status != SolveStatus::Solved)
            state.SkipWithError("not solved");
        benchmark::DoNotOptimize(result.moves);
    }
}
BENCHMARK(BM_CentralGameToTheCentre)->Unit(benchmark::kMillisecond);

// Found and proven from nothing: no solution is known beforehand. `threads` is the argument.
void ProveFewest(benchmark::State& state, const LevelRecord& board, int expected) {
    MinMovesLimits limits;
    limits.seconds = 120.0;
    limits.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const MinMovesResult result = FindFewestMoves(board, limits);
        if (result.outcome != MinMovesOutcome::Proven || result.moves != expected ||
            !ReplaySolution(board, result.jumps).solved)
            state.SkipWithError("the fewest moves were not found and proven");
        state.counters["positions"] = static_cast<double>(result.positions);
        state.counters["moves"] = result.moves;
        state.counters["peak_MiB"] = static_cast<double>(result.peakBytes) / (1 << 20);
    }
}

// The central game: the centre vacated, one peg left in the centre. 18 moves, and no fewer.
void BM_CentralGameFewestMoves(benchmark::State& state) {
    LevelRecord board = EnglishCross();
    board.TargetCells[3 * GridWidth + 3] = FirstColourPeg;
    ProveFewest(state, board, 18);
}
BENCHMARK(BM_CentralGameFewestMoves)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 15-hole triangle, a corner vacated and the last peg in that corner: 10 moves.
void BM_TriangleCornerFewestMoves(benchmark::State& state) {
    LevelRecord board;
    ClearRecord(board);
    board.Size = 5;
    board.Shape = ShapeHexagon;
    // Rows of 5, 4, 3, 2 and 1 holes; odd rows lie half a cell to the right.
    constexpr std::array<int, 15> Holes{0, 1, 2, 3, 4, 9, 10, 11, 12, 19, 20, 21, 28, 29, 38};
    for (const int cell : Holes) {
        board.StartCells[cell] = FirstColourPeg;
        board.TargetCells[cell] = EmptyHole;
    }
    board.StartCells[0] = EmptyHole;
    board.TargetCells[0] = FirstColourPeg;
    ProveFewest(state, board, 10);
}
BENCHMARK(BM_TriangleCornerFewestMoves)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
