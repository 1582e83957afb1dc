// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/ReachBoard.h"

#include "rules/Rules.h"
#include "solver/BoardSymmetry.h"

namespace reach {

namespace {

HoleSet Bit(int hole) {
    return HoleSet{1} << hole;
}

} // namespace

HoleSet Board::Map::apply(HoleSet set) const {
    HoleSet image = 0;
    for (int byte = 0; set != 0; ++byte, set >>= 8)
        image |= byByte[byte][set & 0xFF];
    return image;
}

std::optional<Board> Board::Of(const LevelRecord& record) {
    Board b;
    b.m_holeOf.fill(NoCell);
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsBoardHole(record, cell)) {
            b.m_holeOf[cell] = b.holes();
            b.m_cellOf.push_back(cell);
        }
    if (b.holes() > MaxHoles)
        return std::nullopt;
    const int directions =
        record.isHexagon() ? static_cast<int>(HexDirections) : static_cast<int>(SquareDirections);
    for (const int from : b.m_cellOf)
        for (int d = 0; d < directions; ++d) {
            if (!record.isHexagon() && d % 2 == 1 && !record.allowsDiagonal())
                continue;
            const int to = record.isHexagon() ? HexLanding[from][d] : SquareLanding[from][d];
            if (to == NoCell || b.m_holeOf[to] == NoCell)
                continue;
            const int over = JumpedOverCell(record.Shape, from, d);
            if (b.m_holeOf[over] == NoCell)
                continue;
            Line line{};
            line.from = static_cast<std::uint8_t>(b.m_holeOf[from]);
            line.over = static_cast<std::uint8_t>(b.m_holeOf[over]);
            line.land = static_cast<std::uint8_t>(b.m_holeOf[to]);
            line.fromAndOver = Bit(line.from) | Bit(line.over);
            line.to = Bit(line.land);
            line.all = line.fromAndOver | line.to;
            b.m_lines.push_back(line);
        }
    b.m_neighbours.assign(b.m_cellOf.size(), 0);
    for (const Line& line : b.m_lines)
        b.m_neighbours[line.from] |= Bit(line.over);
    const bool targetHasPegs = CountPegs(record.TargetCells, record) > 0;
    for (const CellImage& image : BoardSymmetries(record, targetHasPegs)) {
        if (b.m_maps.size() == MaxImages) // never more than the hexagonal grid's eleven
            break;
        Map map;
        for (int hole = 0; hole < b.holes(); ++hole) {
            const HoleSet target = Bit(b.m_holeOf[image[b.m_cellOf[hole]]]);
            for (int value = 0; value < 256; ++value)
                if (value & (1 << (hole % 8)))
                    map.byByte[hole / 8][value] |= target;
        }
        b.m_maps.push_back(map);
    }
    for (const Line& line : b.m_lines) {
        std::array<HoleSet, MaxImages> three{}, land{};
        for (std::size_t s = 0; s < b.m_maps.size(); ++s) {
            three[s] = b.m_maps[s].apply(line.all);
            land[s] = b.m_maps[s].apply(line.to);
        }
        b.m_lineImages.push_back(three);
        b.m_landImages.push_back(land);
    }
    return b;
}

HoleBoard Board::holeBoard() const {
    HoleBoard board;
    board.holes = holes();
    for (const Line& line : m_lines)
        board.lines.push_back({line.from, line.over, line.land});
    return board;
}

HolePegs Board::holePegs(Pegs p) const {
    HolePegs pegs(static_cast<std::size_t>(holes()), 0);
    for (int hole = 0; hole < holes(); ++hole) {
        const HoleSet bit = HoleSet{1} << hole;
        pegs[static_cast<std::size_t>(hole)] = (p.second & bit) != 0 ? 2 : (p.all & bit) != 0 ? 1 : 0;
    }
    return pegs;
}

std::optional<Pegs> Board::read(const Position& cells, bool colours) const {
    Pegs p;
    for (int cell = 0; cell < CellCount; ++cell) {
        const int hole = m_holeOf[cell];
        if (hole == NoCell)
            continue;
        if (cells[cell] == NoHole)
            return std::nullopt;
        if (HoldsPeg(cells[cell]))
            p.all |= Bit(hole);
        if (colours && cells[cell] == SecondColourPeg)
            p.second |= Bit(hole);
    }
    return p;
}

Position Board::write(Pegs p, Position onto) const {
    for (int hole = 0; hole < holes(); ++hole)
        onto[static_cast<std::size_t>(m_cellOf[static_cast<std::size_t>(hole)])] =
            (p.second & Bit(hole)) != 0 ? SecondColourPeg
            : (p.all & Bit(hole)) != 0  ? FirstColourPeg
                                        : EmptyHole;
    return onto;
}

Images Board::images(Pegs p) const {
    Images out{};
    for (std::size_t s = 0; s < m_maps.size(); ++s)
        out[s] = {m_maps[s].apply(p.all), m_maps[s].apply(p.second)};
    return out;
}

} // namespace reach
