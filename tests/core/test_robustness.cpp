// SPDX-License-Identifier: GPL-3.0-or-later
// Any 732 bytes make a record the rules can work on: random and mutated records through every rule,
// and random collection files through load and save. Built with the sanitizers, any read outside a
// table or a position fails the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "rules/Rules.h"
#include "storage/LevelCollection.h"

namespace {

LevelRecord randomRecord(std::mt19937& rng) {
    LevelRecord::Bytes bytes{};
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return LevelRecord::fromBytes(bytes);
}

// A plausible board with a few fields pushed out of range, the way a damaged file would look.
LevelRecord mutatedRecord(std::mt19937& rng) {
    LevelRecord r;
    r.Size = static_cast<std::uint8_t>(5 + rng() % 5);
    r.Shape = static_cast<std::uint8_t>(rng() % 2);
    for (int i = 0; i < CellCount; ++i) {
        r.StartCells[i] = static_cast<CellCode>(rng() % 4);
        r.TargetCells[i] = static_cast<CellCode>(rng() % 4);
    }
    const std::uint8_t wild = static_cast<std::uint8_t>(rng());
    switch (rng() % 6) {
    case 0:
        r.Size = wild;
        break;
    case 1:
        r.Shape = wild;
        break;
    case 2:
        r.StartCells[rng() % CellCount] = wild;
        break;
    case 3:
        r.Names[rng() % NameSlotCount].Length = wild;
        break;
    case 4:
        r.SolutionFrom[rng() % SolutionCapacity] = wild;
        break;
    default:
        r.Diagonal = wild;
        break;
    }
    return r;
}

// Runs every rule over the record and returns a digest so that nothing is optimised away.
int exerciseRules(const LevelRecord& r) {
    int digest = CountPegs(r.StartCells, r) + CountPegs(r.TargetCells, r);
    Position p = r.StartCells;
    digest += IsStuck(p, r) + IsSolved(p, r);
    for (int from = -1; from <= CellCount; ++from)
        for (int to = -1; to <= CellCount; ++to) {
            const JumpCheck jump = IsLegalJump(p, r, from, to);
            if (jump.legal) {
                EXPECT_TRUE(!IsOnBoard(r, from) || IsOnBoard(r, jump.jumpedOver));
                ApplyJump(p, from, jump.jumpedOver, to, FirstColourPeg);
                digest += IsStuck(p, r) + IsSolved(p, r);
                p = r.StartCells;
            }
            digest += FindDirection(r.Shape, from, to);
        }
    for (int k = 0; k < SolutionCapacity; ++k) {
        const int d = FindDirection(r.Shape, r.SolutionFrom[k], r.SolutionTo[k]);
        digest += JumpedOverCell(r.Shape, r.SolutionFrom[k], d);
    }
    digest += static_cast<int>(r.Names[0].text().size() + r.Names[1].text().size());
    return digest;
}

} // namespace

TEST(Robustness, RandomRecordsThroughEveryRule) {
    std::mt19937 rng(20261208);
    long digest = 0;
    for (int n = 0; n < 300; ++n)
        digest += exerciseRules(randomRecord(rng));
    for (int n = 0; n < 300; ++n)
        digest += exerciseRules(mutatedRecord(rng));
    EXPECT_NE(digest, 0);
}

TEST(Robustness, NamesNeverReachPastTheirSlot) {
    std::mt19937 rng(5);
    for (int n = 0; n < 200; ++n) {
        const LevelRecord r = randomRecord(rng);
        for (const NameSlot& slot : r.Names)
            EXPECT_LE(slot.text().size(), static_cast<std::size_t>(NameCapacity));
    }
}

TEST(Robustness, RandomCollectionFilesLoadAndSaveByteForByte) {
    const auto dir = std::filesystem::temp_directory_path() / ("tolvar-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "vorn.dat").string();
    std::mt19937 rng(99);
    for (int n = 0; n < 40; ++n) {
        std::string bytes(rng() % (5 * RecordBytes + 400), '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

        LevelCollection c;
        const LoadResult loaded = c.load(path);
        const std::size_t whole = bytes.size() / RecordBytes;
        ASSERT_EQ(loaded.ok, whole > 0);
        ASSERT_EQ(static_cast<std::size_t>(c.count()), std::max<std::size_t>(whole, 1));
        for (int k = 1; k <= c.count(); ++k)
            exerciseRules(c.slot(k));

        ASSERT_TRUE(c.save(path).ok);
        std::ifstream in(path, std::ios::binary);
        const std::string saved{std::istreambuf_iterator<char>(in), {}};
        if (whole > 0)
            EXPECT_EQ(saved, bytes.substr(0, whole * RecordBytes));
        else
            EXPECT_EQ(saved.size(), RecordBytes);
    }
    std::filesystem::remove_all(dir);
}
