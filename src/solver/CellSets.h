// SPDX-License-Identifier: GPL-3.0-or-later
// The positions of the search for any solution (SolveBoard) as 81-bit cell sets, one for all pegs
// and one for the pegs of the second colour; the exact table that remembers them; and the board's
// symmetries over them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rules/LevelRecord.h"

namespace solve_board {

struct Bits {
    std::uint64_t lo = 0; // cells 0 to 63
    std::uint64_t hi = 0; // cells 64 to 80

    static Bits cell(int i) {
        Bits b;
        if (i < 64)
            b.lo = std::uint64_t{1} << i;
        else
            b.hi = std::uint64_t{1} << (i - 64);
        return b;
    }
    bool has(int i) const { return i < 64 ? (lo >> i) & 1 : (hi >> (i - 64)) & 1; }
    bool any() const { return (lo | hi) != 0; }
    bool containsAll(Bits b) const { return (lo & b.lo) == b.lo && (hi & b.hi) == b.hi; }
    bool meets(Bits b) const { return ((lo & b.lo) | (hi & b.hi)) != 0; }
    int count() const { return __builtin_popcountll(lo) + __builtin_popcountll(hi); }
    Bits operator|(Bits b) const { return {lo | b.lo, hi | b.hi}; }
    Bits operator&(Bits b) const { return {lo & b.lo, hi & b.hi}; }
    Bits without(Bits b) const { return {lo & ~b.lo, hi & ~b.hi}; }
    friend bool operator==(Bits a, Bits b) { return a.lo == b.lo && a.hi == b.hi; }
};

struct State {
    Bits pegs;
    Bits second; // pegs of the second colour; always empty when colours do not matter
};

// A jump that the board's geometry allows; whether it is possible depends only on the pegs.
struct JumpLine {
    std::uint8_t from;
    std::uint8_t to;
    Bits fromMask;
    Bits toMask;
    Bits fromAndOver;
};

// Remembered positions, exact (no false matches), with one byte of value each. Open addressing;
// once the table holds its maximum it stops taking new entries, which only costs pruning.
class PositionTable {
public:
    explicit PositionTable(std::size_t maxEntries) : m_maxEntries(maxEntries) { resize(1 << 12); }

    // The stored value, or -1 when the key is not in the table.
    int find(const State& s, int tag) const {
        const Key key = makeKey(s, tag);
        for (std::size_t i = hash(key) & m_mask;; i = (i + 1) & m_mask) {
            if (m_keys[i].empty())
                return -1;
            if (m_keys[i] == key)
                return m_values[i];
        }
    }

    void put(const State& s, int tag, std::uint8_t value) {
        const Key key = makeKey(s, tag);
        std::size_t i = hash(key) & m_mask;
        for (; !m_keys[i].empty(); i = (i + 1) & m_mask) {
            if (m_keys[i] == key) {
                m_values[i] = value;
                return;
            }
        }
        if (m_used >= m_maxEntries)
            return;
        m_keys[i] = key;
        m_values[i] = value;
        ++m_used;
        if (m_used * 10 > m_keys.size() * 7)
            resize(m_keys.size() * 2);
    }

private:
    // The pegs always include at least one cell, so an all-zero key marks a free slot.
    struct Key {
        std::uint64_t a = 0, b = 0, c = 0;
        bool empty() const { return (a | c) == 0; }
        friend bool operator==(const Key& x, const Key& y) { return x.a == y.a && x.b == y.b && x.c == y.c; }
    };

    static Key makeKey(const State& s, int tag) {
        return {s.pegs.lo, s.second.lo,
                s.pegs.hi | (s.second.hi << 20) | (static_cast<std::uint64_t>(tag & 0xFF) << 40)};
    }

    static std::size_t hash(const Key& k) {
        std::uint64_t h = k.a * 0x9E3779B97F4A7C15ULL;
        h ^= (k.b + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
        h ^= (k.c + 0x165667B19E3779F9ULL) * 0x94D049BB133111EBULL;
        h ^= h >> 29;
        return static_cast<std::size_t>(h * 0xBF58476D1CE4E5B9ULL >> 17);
    }

    void resize(std::size_t slots) {
        std::vector<Key> oldKeys;
        std::vector<std::uint8_t> oldValues;
        oldKeys.swap(m_keys);
        oldValues.swap(m_values);
        m_keys.assign(slots, Key{});
        m_values.assign(slots, 0);
        m_mask = slots - 1;
        for (std::size_t i = 0; i < oldKeys.size(); ++i) {
            if (oldKeys[i].empty())
                continue;
            std::size_t j = hash(oldKeys[i]) & m_mask;
            while (!m_keys[j].empty())
                j = (j + 1) & m_mask;
            m_keys[j] = oldKeys[i];
            m_values[j] = oldValues[i];
        }
    }

    std::vector<Key> m_keys;
    std::vector<std::uint8_t> m_values;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
    std::size_t m_maxEntries;
};

// The rotations and reflections that map the board, and the goal, onto themselves. A position and
// its images are equally solvable, so the table of dead positions stores one image for all of them.
class Symmetries {
public:
    void build(const LevelRecord& record, bool goalMatters);

    // The smallest image of a position under the board's symmetries (the position itself if none).
    State canonical(const State& s) const {
        State best = s;
        for (const Transform& t : m_transforms) {
            const State image{t.apply(s.pegs), t.apply(s.second)};
            if (less(image, best))
                best = image;
        }
        return best;
    }

private:
    // Cell images looked up a byte of the 81-bit set at a time.
    struct Transform {
        std::array<std::array<Bits, 256>, 11> byByte{};
        Bits apply(Bits b) const {
            Bits out;
            for (int k = 0; k < 11; ++k) {
                const int shift = k * 8;
                const std::uint64_t byte =
                    shift < 64 ? (b.lo >> shift) & 0xFF : (b.hi >> (shift - 64)) & 0xFF;
                if (byte != 0)
                    out = out | byByte[k][byte];
            }
            return out;
        }
    };

    static bool less(const State& a, const State& b) {
        if (a.pegs.hi != b.pegs.hi)
            return a.pegs.hi < b.pegs.hi;
        if (a.pegs.lo != b.pegs.lo)
            return a.pegs.lo < b.pegs.lo;
        if (a.second.hi != b.second.hi)
            return a.second.hi < b.second.hi;
        return a.second.lo < b.second.lo;
    }

    std::vector<Transform> m_transforms; // without the identity
};

} // namespace solve_board
