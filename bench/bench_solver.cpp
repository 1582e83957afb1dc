// The solver on the central game of the 33-hole English cross.
#include <benchmark/benchmark.h>

#include "game/Solver.h"

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

} // namespace
