// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/LevelRecord.h"

#include "rules/Language.h"

#include <algorithm>
#include <cstring>

namespace {

// Field offsets of the on-disk layout; the sizes follow from the member types.
constexpr std::size_t OffStart = 0;
constexpr std::size_t OffTarget = 81;
constexpr std::size_t OffSize = 162;
constexpr std::size_t OffShape = 163;
constexpr std::size_t OffReserved1 = 164;
constexpr std::size_t OffDiagonal = 165;
constexpr std::size_t OffNames = 166;
constexpr std::size_t NameSlotBytes = 1 + NameCapacity;
constexpr std::size_t OffSolutionFrom = 472;
constexpr std::size_t OffSolutionTo = 552;
constexpr std::size_t OffReserved2 = 632;
constexpr std::size_t OffSolutionMoves = 633;
constexpr std::size_t OffOriginal = 634;
constexpr std::size_t OffReserved3 = 636;
constexpr std::size_t OffSolved = 638;
constexpr std::size_t OffReserved4 = 640;

static_assert(OffNames + NameSlotCount * NameSlotBytes == OffSolutionFrom);
static_assert(OffReserved4 + 92 == RecordBytes);

std::int16_t readWord(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void writeWord(std::uint8_t* p, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    p[0] = static_cast<std::uint8_t>(bits & 0xFF);
    p[1] = static_cast<std::uint8_t>(bits >> 8);
}

template <std::size_t N> void readArray(std::array<std::uint8_t, N>& out, const std::uint8_t* p) {
    std::memcpy(out.data(), p, N);
}

template <std::size_t N> void writeArray(const std::array<std::uint8_t, N>& in, std::uint8_t* p) {
    std::memcpy(p, in.data(), N);
}

} // namespace

std::string NameSlot::text() const {
    const std::size_t length = std::min<std::size_t>(Length, NameCapacity);
    return std::string(reinterpret_cast<const char*>(Chars.data()), length);
}

void NameSlot::setText(const std::string& bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), NameCapacity);
    std::memcpy(Chars.data(), bytes.data(), length);
    Length = static_cast<std::uint8_t>(length);
}

LevelRecord LevelRecord::fromBytes(const std::uint8_t* p) {
    LevelRecord r;
    readArray(r.StartCells, p + OffStart);
    readArray(r.TargetCells, p + OffTarget);
    r.Size = p[OffSize];
    r.Shape = p[OffShape];
    r.Reserved1 = p[OffReserved1];
    r.Diagonal = p[OffDiagonal];
    for (int k = 0; k < NameSlotCount; ++k) {
        const std::uint8_t* slot = p + OffNames + k * NameSlotBytes;
        r.Names[k].Length = slot[0];
        readArray(r.Names[k].Chars, slot + 1);
    }
    readArray(r.SolutionFrom, p + OffSolutionFrom);
    readArray(r.SolutionTo, p + OffSolutionTo);
    r.Reserved2 = p[OffReserved2];
    r.SolutionMoves = p[OffSolutionMoves];
    r.Original = readWord(p + OffOriginal);
    r.Reserved3 = readWord(p + OffReserved3);
    r.Solved = readWord(p + OffSolved);
    readArray(r.Reserved4, p + OffReserved4);
    return r;
}

void LevelRecord::toBytes(std::uint8_t* p) const {
    writeArray(StartCells, p + OffStart);
    writeArray(TargetCells, p + OffTarget);
    p[OffSize] = Size;
    p[OffShape] = Shape;
    p[OffReserved1] = Reserved1;
    p[OffDiagonal] = Diagonal;
    for (int k = 0; k < NameSlotCount; ++k) {
        std::uint8_t* slot = p + OffNames + k * NameSlotBytes;
        slot[0] = Names[k].Length;
        writeArray(Names[k].Chars, slot + 1);
    }
    writeArray(SolutionFrom, p + OffSolutionFrom);
    writeArray(SolutionTo, p + OffSolutionTo);
    p[OffReserved2] = Reserved2;
    p[OffSolutionMoves] = SolutionMoves;
    writeWord(p + OffOriginal, Original);
    writeWord(p + OffReserved3, Reserved3);
    writeWord(p + OffSolved, Solved);
    writeArray(Reserved4, p + OffReserved4);
}

LevelRecord::Bytes LevelRecord::toBytes() const {
    Bytes bytes{};
    toBytes(bytes.data());
    return bytes;
}

std::uint8_t CountPegs(const Position& position, const LevelRecord& record) {
    std::uint8_t count = 0;
    for (int cell = 0; cell < CellCount; ++cell)
        if (HoldsPeg(position[cell]) && IsOnBoard(record, cell))
            ++count;
    return count;
}

void ClearRecord(LevelRecord& record) {
    record.StartCells.fill(NoHole);
    record.TargetCells.fill(NoHole);
    record.Size = 7;
    record.Shape = ShapeSquare;
    record.Reserved1 = 0;
    record.Diagonal = 0;
    for (NameSlot& slot : record.Names)
        slot.Length = 0;
}

void MakeNewBoard(LevelRecord& record) {
    ClearRecord(record);
    record.SolutionMoves = 0;
    record.Reserved3 = 0;
    record.Solved = 0;
    record.Original = 0;
}

int NameSlotForLanguage(int language) {
    return IsGerman(language) ? 1 : 0;
}
