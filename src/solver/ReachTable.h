// SPDX-License-Identifier: GPL-3.0-or-later
// The positions of one board from which its target can be reached, colours aside, found once backward
// from the target: a level per number of pegs, each the positions one jump back from the level below,
// with the board's symmetries folded. The levels go up as far as a budget of work allows. A position
// with no more pegs than the top level can reach the target exactly when its key is in its level,
// wherever the position came from.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/ReachBoard.h"

namespace reach {

inline std::uint64_t HashKey(HoleSet key) {
    key ^= key >> 31;
    key *= 0x7FB5D329728EA185ULL;
    key ^= key >> 27;
    key *= 0x81DADEF4BC2DD44DULL;
    return key ^ (key >> 33);
}

// Keys of positions, open addressing in a table of a power of two slots that doubles when it is 70 %
// full; a key holds at least one peg, so 0 marks a free slot.
class KeySet {
public:
    KeySet() { resize(16); }
    void insert(HoleSet key) {
        std::size_t i = static_cast<std::size_t>(HashKey(key)) & m_mask;
        for (; m_slots[i] != 0; i = (i + 1) & m_mask)
            if (m_slots[i] == key)
                return;
        m_slots[i] = key;
        if (++m_count * 10 > m_slots.size() * 7)
            resize(m_slots.size() * 2);
    }
    std::size_t size() const { return m_count; }
    std::size_t bytes() const { return m_slots.size() * sizeof(HoleSet); }
    const std::vector<HoleSet>& slots() const { return m_slots; }

private:
    void resize(std::size_t slots);

    std::vector<HoleSet> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_count = 0;
};

// One level's keys for look-ups: open addressing in a table three quarters full, each key's first
// slot its hash scaled to the table's size.
class Level {
public:
    explicit Level(std::size_t keys);
    void insert(HoleSet key);
    bool contains(HoleSet key) const;
    // Asks the memory for the key's first slot ahead of a look-up.
    void prefetch(HoleSet key) const { __builtin_prefetch(&m_slots[slotOf(key)]); }
    std::size_t size() const { return m_count; }
    std::size_t bytes() const { return m_slots.size() * sizeof(HoleSet); }
    const std::vector<HoleSet>& slots() const { return m_slots; }

private:
    // The hash's top 32 bits scaled to the table, which never has 2^32 slots.
    std::size_t slotOf(HoleSet key) const {
        return static_cast<std::size_t>(((HashKey(key) >> 32) * m_slots.size()) >> 32);
    }

    std::vector<HoleSet> m_slots;
    std::size_t m_count = 0;
};

struct TableBudget {
    std::uint64_t work = 0;    // jumps taken back, over all levels
    std::size_t positions = 0; // positions kept, over all levels
    const std::atomic<bool>* cancelled = nullptr;
};

class Table {
public:
    // The levels from `bottom` (the keys of the positions that count as the target, all of one peg
    // count) up to `topPegs` pegs at most. Nothing when called off.
    static std::unique_ptr<Table> Build(const Board& board, const std::vector<HoleSet>& bottom, int topPegs,
                                        const TableBudget& budget);

    int bottom() const { return m_bottom; }
    int top() const { return m_bottom + static_cast<int>(m_levels.size()) - 1; }
    // A level that came out empty leaves every level above it empty too: the table then answers
    // every peg count from its bottom up.
    bool answers(int pegs) const { return pegs >= bottom() && (m_complete || pegs <= top()); }
    // For a key whose peg count the table answers.
    bool reaches(HoleSet key) const {
        const int pegs = Count(key);
        return pegs <= top() && m_levels[static_cast<std::size_t>(pegs - m_bottom)].contains(key);
    }
    void prefetch(HoleSet key) const {
        const int pegs = Count(key);
        if (pegs >= m_bottom && pegs <= top())
            m_levels[static_cast<std::size_t>(pegs - m_bottom)].prefetch(key);
    }

    std::size_t positions() const;
    std::size_t bytes() const;
    // The most the build held at once, its levels and its sets of keys still to be sorted out.
    std::size_t peakBytes() const { return m_peakBytes; }
    std::uint64_t work() const { return m_work; }

private:
    int m_bottom = 0;
    std::vector<Level> m_levels;
    std::uint64_t m_work = 0;
    std::size_t m_peakBytes = 0;
    bool m_complete = false;
};

} // namespace reach
