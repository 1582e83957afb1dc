// SPDX-License-Identifier: GPL-3.0-or-later
// The rule tests on a full 9 x 9 board and on the 33-hole cross, and loading and saving a full collection.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "rules/Rules.h"
#include "storage/LevelCollection.h"

namespace {

// Every cell a peg: no jump anywhere, so the stuck test visits every cell and direction.
LevelRecord fullNineByNine() {
    LevelRecord r;
    r.Size = 9;
    r.Diagonal = 1;
    r.StartCells.fill(FirstColourPeg);
    r.TargetCells.fill(FirstColourPeg);
    return r;
}

// The English cross with its centre hole, target: one peg left anywhere.
LevelRecord cross33() {
    LevelRecord r;
    r.Size = 7;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            const bool arm = (row >= 2 && row <= 4) || (col >= 2 && col <= 4);
            r.StartCells[row * 9 + col] = arm ? FirstColourPeg : NoHole;
            r.TargetCells[row * 9 + col] = arm ? EmptyHole : NoHole;
        }
    r.StartCells[3 * 9 + 3] = EmptyHole;
    return r;
}

void BM_IsStuck_Full9x9(benchmark::State& state) {
    const LevelRecord r = fullNineByNine();
    for (auto _ : state)
        benchmark::DoNotOptimize(IsStuck(r.StartCells, r));
}
BENCHMARK(BM_IsStuck_Full9x9);

void BM_IsSolved_Full9x9(benchmark::State& state) {
    const LevelRecord r = fullNineByNine();
    for (auto _ : state)
        benchmark::DoNotOptimize(IsSolved(r.StartCells, r));
}
BENCHMARK(BM_IsSolved_Full9x9);

void BM_IsStuck_Cross33(benchmark::State& state) {
    const LevelRecord r = cross33();
    for (auto _ : state)
        benchmark::DoNotOptimize(IsStuck(r.StartCells, r));
}
BENCHMARK(BM_IsStuck_Cross33);

void BM_IsSolved_Cross33(benchmark::State& state) {
    const LevelRecord r = cross33();
    for (auto _ : state)
        benchmark::DoNotOptimize(IsSolved(r.StartCells, r));
}
BENCHMARK(BM_IsSolved_Cross33);

std::string collectionPath() {
    const auto dir = std::filesystem::temp_directory_path() / ("tolvar-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "vorn.dat").string();
}

void fillCollection(LevelCollection& c, const std::string& path) {
    // 200 boards written once, then loaded back so the collection holds them.
    std::string bytes;
    const auto record = cross33().toBytes();
    for (int k = 0; k < LevelCollection::MaxBoards; ++k)
        bytes.append(record.begin(), record.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    c.load(path);
}

void BM_Load200(benchmark::State& state) {
    const std::string path = collectionPath();
    LevelCollection c;
    fillCollection(c, path);
    for (auto _ : state) {
        LevelCollection loaded;
        benchmark::DoNotOptimize(loaded.load(path));
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_Load200)->Unit(benchmark::kMicrosecond);

// Includes the flush to the device that keeps the old file safe, which dominates on most disks.
void BM_Save200(benchmark::State& state) {
    const std::string path = collectionPath();
    LevelCollection c;
    fillCollection(c, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.save(path));
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_Save200)->Unit(benchmark::kMicrosecond);

} // namespace
