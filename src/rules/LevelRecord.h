// SPDX-License-Identifier: GPL-3.0-or-later
// One board: the fixed 732-byte record shared by memory, the collection file and board files,
// with the geometry of the 9 x 9 cell grid it is laid into.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int GridWidth = 9;
constexpr int CellCount = GridWidth * GridWidth;
constexpr std::size_t RecordBytes = 732;
constexpr int NameSlotCount = 6;
constexpr int NameCapacity = 50;
constexpr int SolutionCapacity = 80;

// One byte per cell. Any value of 2 or more counts as a peg in the rules; only 0 to 3 are ever written.
using CellCode = std::uint8_t;
constexpr CellCode NoHole = 0;
constexpr CellCode EmptyHole = 1;
constexpr CellCode FirstColourPeg = 2;
constexpr CellCode SecondColourPeg = 3;

using Position = std::array<CellCode, CellCount>;

constexpr std::uint8_t ShapeSquare = 0;
constexpr std::uint8_t ShapeHexagon = 1;

constexpr bool HoldsPeg(CellCode code) {
    return code >= FirstColourPeg;
}

// A length-prefixed name in the single-byte code page. A stored length above the capacity is read
// as the capacity, so a damaged length byte can never reach past the slot.
struct NameSlot {
    std::uint8_t Length = 0;
    std::array<std::uint8_t, NameCapacity> Chars{};

    std::string text() const;
    void setText(const std::string& bytes); // cut to 50 bytes
};

struct LevelRecord {
    Position StartCells{};
    Position TargetCells{};
    std::uint8_t Size = 7;
    std::uint8_t Shape = ShapeSquare;
    std::uint8_t Reserved1 = 0;
    std::uint8_t Diagonal = 0;
    std::array<NameSlot, NameSlotCount> Names{};
    std::array<std::uint8_t, SolutionCapacity> SolutionFrom{};
    std::array<std::uint8_t, SolutionCapacity> SolutionTo{};
    std::uint8_t Reserved2 = 0;
    std::uint8_t SolutionMoves = 0;
    std::int16_t Original = 0;
    std::int16_t Reserved3 = 0;
    std::int16_t Solved = 0;
    std::array<std::uint8_t, 92> Reserved4{};

    using Bytes = std::array<std::uint8_t, RecordBytes>;
    static LevelRecord fromBytes(const std::uint8_t* bytes); // reads exactly RecordBytes
    static LevelRecord fromBytes(const Bytes& bytes) { return fromBytes(bytes.data()); }
    void toBytes(std::uint8_t* bytes) const; // writes exactly RecordBytes
    Bytes toBytes() const;

    bool isHexagon() const { return Shape == ShapeHexagon; }
    bool allowsDiagonal() const { return Diagonal != 0; }
    // Any word but 0 marks an original, whatever reads it: a damaged negative word included.
    bool isOriginal() const { return Original != 0; }
    bool isSolved() const { return Solved > 0; }
    bool hasSolution() const { return SolutionMoves != 0; }

    friend bool operator==(const LevelRecord& a, const LevelRecord& b) { return a.toBytes() == b.toBytes(); }
    friend bool operator!=(const LevelRecord& a, const LevelRecord& b) { return !(a == b); }
};

// Whether a number names a cell of the grid at all: jumps come from files and stored solutions,
// which may hold any byte.
constexpr bool IsCellIndex(int cell) {
    return cell >= 0 && cell < CellCount;
}

// Whether cell i belongs to the board of this record. Sizes above 9 behave like 9 and sizes below 5
// simply give smaller boards; a shape other than 1 is square. Inline: every rule asks it per cell.
inline bool IsOnBoard(const LevelRecord& record, int cell) {
    if (!IsCellIndex(cell))
        return false;
    const int size = record.Size < GridWidth ? record.Size : GridWidth;
    if (cell % GridWidth >= size || cell / GridWidth >= size)
        return false;
    // Odd rows of a hexagon are one cell shorter: there i mod 18 is the column plus 9.
    return !record.isHexagon() || (cell % (2 * GridWidth)) - 8 < size;
}

// Pegs (codes 2 and 3) on the on-board cells of a position, judged by the record's size and shape.
std::uint8_t CountPegs(const Position& position, const LevelRecord& record);

// The blank record: no holes, size 7, square, no diagonal jumps, empty names.
void ClearRecord(LevelRecord& record);

// A board freshly inserted by the editor: blank, without a solution, not original, not solved.
void MakeNewBoard(LevelRecord& record);

// The name slot that belongs to an interface language (-1 not chosen, 0 English, 1 German).
int NameSlotForLanguage(int language);
