// SPDX-License-Identifier: GPL-3.0-or-later
// A board as the reachability search plays on it: its holes as the bits of one 64-bit word, its jump
// lines as masks of those bits, and its symmetries as maps of such words. A jump flips three bits, and
// so it flips three known bits in each image of the position too: the images of a child follow from
// those of its parent without mapping a single hole.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "rules/LevelRecord.h"
#include "solver/SearchBounds.h"

namespace reach {

using HoleSet = std::uint64_t;
constexpr int MaxHoles = 64;
// Square boards have up to 8 symmetries and hexagonal ones up to 12, the identity among them.
constexpr int MaxImages = 11;

inline int Count(HoleSet set) {
    return __builtin_popcountll(set);
}

// Whether the flag another thread sets to end a search or a build early is set; none is never set.
inline bool CalledOff(const std::atomic<bool>* cancelled) {
    return cancelled != nullptr && cancelled->load(std::memory_order_relaxed);
}

// Pegs over the holes; `second` holds those of the second colour and stays empty where colours do
// not matter. Ordered by the pegs first, so that the smallest image of a position is its key.
struct Pegs {
    HoleSet all = 0;
    HoleSet second = 0;

    friend bool operator==(Pegs a, Pegs b) { return a.all == b.all && a.second == b.second; }
    friend bool operator<(Pegs a, Pegs b) { return a.all != b.all ? a.all < b.all : a.second < b.second; }
};

struct Line {
    HoleSet fromAndOver;
    HoleSet to;
    HoleSet all; // the three holes
    std::uint8_t from, over, land;
};

// The images of one position under the board's symmetries other than the identity.
using Images = std::array<Pegs, MaxImages>;

class Board {
public:
    // Nothing for a board of more than 64 holes. The symmetries keep the target's codes where the
    // target has pegs, and only the holes where it has none.
    static std::optional<Board> Of(const LevelRecord& record);

    int holes() const { return static_cast<int>(m_cellOf.size()); }
    int cellOf(int hole) const { return m_cellOf[hole]; }
    const std::vector<Line>& lines() const { return m_lines; }
    // The holes one step from `hole` along a line.
    HoleSet neighbours(int hole) const { return m_neighbours[static_cast<std::size_t>(hole)]; }
    HoleBoard holeBoard() const;
    // The position over the holes as the board's bounds read it: 1 a peg, 2 one of the second colour.
    HolePegs holePegs(Pegs p) const;

    // The position of `cells` over the holes, with its second colour when `colours`; nothing when one
    // of the board's holes is no hole in `cells`.
    std::optional<Pegs> read(const Position& cells, bool colours) const;
    // `onto` with the pegs of `p` on the board's holes and every other hole empty.
    Position write(Pegs p, Position onto) const;

    bool canJump(HoleSet pegs, const Line& line) const {
        return (pegs & line.fromAndOver) == line.fromAndOver && (pegs & line.to) == 0;
    }
    bool canJumpBack(HoleSet pegs, const Line& line) const { return (pegs & line.all) == line.to; }
    // The peg on `from` lands on `to` in its own colour.
    static Pegs jump(Pegs p, const Line& line) {
        const HoleSet second = p.second & ~line.all;
        return {p.all ^ line.all, (p.second & (HoleSet{1} << line.from)) != 0 ? second | line.to : second};
    }

    int imageCount() const { return static_cast<int>(m_maps.size()); }
    Images images(Pegs p) const;
    // The images after a jump along `line` from the position whose images are `parent`, written over
    // the first `imageCount()` of `out`: the search's hottest step, so nothing else is touched.
    void imagesAfter(const Images& parent, Pegs p, int line, Images& out) const {
        const bool secondJumps = (p.second & (HoleSet{1} << m_lines[line].from)) != 0;
        const std::array<HoleSet, MaxImages>& three = m_lineImages[line];
        const std::array<HoleSet, MaxImages>& land = m_landImages[line];
        for (std::size_t s = 0; s < m_maps.size(); ++s) {
            const HoleSet second = parent[s].second & ~three[s];
            out[s] = {parent[s].all ^ three[s], secondJumps ? second | land[s] : second};
        }
    }
    Images imagesAfter(const Images& parent, Pegs p, int line) const {
        Images out{};
        imagesAfter(parent, p, line, out);
        return out;
    }
    // The smallest of the position and its images: the same for every image of a position.
    Pegs key(Pegs p, const Images& images) const {
        Pegs smallest = p;
        for (std::size_t s = 0; s < m_maps.size(); ++s)
            if (images[s] < smallest)
                smallest = images[s];
        return smallest;
    }
    HoleSet pegsKey(HoleSet pegs, const Images& images) const {
        HoleSet smallest = pegs;
        for (std::size_t s = 0; s < m_maps.size(); ++s)
            smallest = images[s].all < smallest ? images[s].all : smallest;
        return smallest;
    }
    // The pegs' key after a jump, or a jump taken back, along `line`: either flips the same holes.
    HoleSet pegsKeyAfter(HoleSet pegs, const Images& images, int line) const {
        HoleSet smallest = pegs ^ m_lines[line].all;
        const std::array<HoleSet, MaxImages>& three = m_lineImages[line];
        for (std::size_t s = 0; s < m_maps.size(); ++s)
            smallest = std::min(smallest, images[s].all ^ three[s]);
        return smallest;
    }
    Pegs key(Pegs p) const { return key(p, images(p)); }

private:
    // A symmetry looked up a byte of the word at a time.
    struct Map {
        std::array<std::array<HoleSet, 256>, 8> byByte{};
        HoleSet apply(HoleSet set) const;
    };

    std::vector<int> m_cellOf;
    std::array<int, CellCount> m_holeOf{};
    std::vector<Line> m_lines;
    std::vector<HoleSet> m_neighbours;
    std::vector<Map> m_maps;
    // Per line and symmetry: the images of its three holes, and of its landing hole alone.
    std::vector<std::array<HoleSet, MaxImages>> m_lineImages, m_landImages;
};

} // namespace reach
