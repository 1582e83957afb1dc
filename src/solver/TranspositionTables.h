// SPDX-License-Identifier: GPL-3.0-or-later
// The transposition tables of the fewest-moves search, over positions as keys of W 64-bit words:
// the levels at which positions were first reached, the fewest moves found to positions of one peg
// count, and the positions met while the moves of one position are followed.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace fewest_moves {

// A position as W 64-bit words, bit i for hole i (and, with colours, bit holes + i for a peg of the
// second colour there).
template <int W> struct Key {
    std::array<std::uint64_t, W> w{};

    bool test(int i) const { return (w[i >> 6] >> (i & 63)) & 1; }
    void set(int i) { w[i >> 6] |= std::uint64_t{1} << (i & 63); }
    void clear(int i) { w[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }
    bool empty() const {
        std::uint64_t any = 0;
        for (const std::uint64_t x : w)
            any |= x;
        return any == 0;
    }
    int countIn(const Key& mask) const {
        int n = 0;
        for (int k = 0; k < W; ++k)
            n += __builtin_popcountll(w[k] & mask.w[k]);
        return n;
    }
    Key& operator^=(const Key& o) {
        for (int k = 0; k < W; ++k)
            w[k] ^= o.w[k];
        return *this;
    }
    Key& operator|=(const Key& o) {
        for (int k = 0; k < W; ++k)
            w[k] |= o.w[k];
        return *this;
    }
    // Word by word: comparing the arrays whole would call memcmp.
    friend bool operator==(const Key& a, const Key& b) {
        bool same = true;
        for (int k = 0; k < W; ++k)
            same = same && a.w[k] == b.w[k];
        return same;
    }
    friend bool operator<(const Key& a, const Key& b) {
        for (int k = W - 1; k >= 0; --k)
            if (a.w[k] != b.w[k])
                return a.w[k] < b.w[k];
        return false;
    }
};

inline std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBULL;
    h ^= h >> 31;
    return h;
}

template <int W> std::uint64_t Hash(const Key<W>& k) {
    std::uint64_t h = k.w[0];
    for (int i = 1; i < W; ++i)
        h = Mix(h) ^ k.w[i];
    return Mix(h);
}

// Each side's levels are kept in shards chosen by the hash's top bits, so that threads can enter
// positions into shards of their own at once.
constexpr int ShardBits = 6;
constexpr int Shards = 1 << ShardBits;

inline int ShardOf(std::uint64_t hash) {
    return static_cast<int>(hash >> (64 - ShardBits));
}

// A transposition table of positions with the move level at which each was first reached. Open
// addressing with linear probing; an all-zero key marks a free slot, since every position of the
// search holds a peg.
template <int W> class LevelTable {
public:
    LevelTable() { allocate(1 << 4); }

    int find(const Key<W>& key, std::uint64_t hash) const {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            if (m_keys[i] == key)
                return m_levels[i];
            if (m_keys[i].empty())
                return -1;
        }
    }

    // False when the key was there already (its level stays).
    bool insert(const Key<W>& key, std::uint64_t hash, std::uint8_t level) {
        std::size_t i = hash & m_mask;
        for (; !m_keys[i].empty(); i = (i + 1) & m_mask)
            if (m_keys[i] == key)
                return false;
        m_keys[i] = key;
        m_levels[i] = level;
        if (++m_used * 100 > m_keys.size() * MaxLoadPercent)
            grow();
        return true;
    }

    std::size_t size() const { return m_used; }
    std::size_t slots() const { return m_keys.size(); }
    static constexpr std::size_t SlotBytes = sizeof(Key<W>) + 1;
    static constexpr std::size_t MaxLoadPercent = 70;

private:
    void allocate(std::size_t slots) {
        m_keys.assign(slots, Key<W>{});
        m_levels.assign(slots, 0);
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Key<W>> keys;
        std::vector<std::uint8_t> levels;
        keys.swap(m_keys);
        levels.swap(m_levels);
        allocate(keys.size() * 2);
        for (std::size_t j = 0; j < keys.size(); ++j) {
            if (keys[j].empty())
                continue;
            std::size_t i = Hash(keys[j]) & m_mask;
            while (!m_keys[i].empty())
                i = (i + 1) & m_mask;
            m_keys[i] = keys[j];
            m_levels[i] = levels[j];
        }
    }

    std::vector<Key<W>> m_keys;
    std::vector<std::uint8_t> m_levels;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

// The transposition table of one peg count for the search by layers: each position with the fewest
// moves found to reach it and the holes where the last jump of such a way landed: a peg there may
// go on without beginning a move. A way with more moves is never worth keeping, since beginning a
// new move costs no more than it.
template <int W> class CostTable {
public:
    struct Entry {
        Key<W> key;
        Key<W> landings;
        std::uint8_t moves = 0;
    };

    CostTable() { allocate(1 << 4); }

    void offer(const Key<W>& key, std::uint64_t hash, std::uint8_t moves, int landing) {
        std::size_t i = hash & m_mask;
        for (; !m_entries[i].key.empty(); i = (i + 1) & m_mask) {
            Entry& entry = m_entries[i];
            if (!(entry.key == key))
                continue;
            if (moves < entry.moves) {
                entry.moves = moves;
                entry.landings = Key<W>{};
            }
            if (moves == entry.moves && landing >= 0)
                entry.landings.set(landing);
            return;
        }
        m_entries[i].key = key;
        m_entries[i].moves = moves;
        if (landing >= 0)
            m_entries[i].landings.set(landing);
        if (++m_used * 100 > m_entries.size() * MaxLoadPercent)
            grow();
    }

    const Entry* find(const Key<W>& key, std::uint64_t hash) const {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            if (m_entries[i].key == key)
                return &m_entries[i];
            if (m_entries[i].key.empty())
                return nullptr;
        }
    }

    // Every filled slot, in no particular order.
    template <class Visit> void forEach(const Visit& visit) const {
        for (const Entry& entry : m_entries)
            if (!entry.key.empty() && !visit(entry))
                return;
    }

    std::size_t size() const { return m_used; }
    std::size_t bytes() const { return m_entries.capacity() * sizeof(Entry); }
    // What the table will hold once it has grown to take `more` positions besides its own.
    std::size_t bytesWith(std::size_t more) const {
        std::size_t slots = m_entries.size();
        while ((m_used + more) * 100 > slots * MaxLoadPercent)
            slots *= 2;
        // Growing holds the old slots and the new ones at once.
        return (slots + (slots > m_entries.size() ? m_entries.size() : 0)) * sizeof(Entry);
    }

private:
    static constexpr std::size_t MaxLoadPercent = 70;

    void allocate(std::size_t slots) {
        m_entries.assign(slots, Entry{});
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Entry> entries;
        entries.swap(m_entries);
        allocate(entries.size() * 2);
        for (const Entry& entry : entries) {
            if (entry.key.empty())
                continue;
            std::size_t i = Hash(entry.key) & m_mask;
            while (!m_entries[i].key.empty())
                i = (i + 1) & m_mask;
            m_entries[i] = entry;
        }
    }

    std::vector<Entry> m_entries;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

// A transposition table of the (position, moving peg) pairs met while the moves of one position are
// followed: runs of jumps that reach the same position with the peg on the same cell go on alike,
// so one is followed. Emptied in constant time by moving on to a new stamp. On open boards one
// position can have runs beyond number, so the table grows only up to the slots it is allowed; then
// it is full, and the walk that fills it must stop.
template <int W> class ChainSeen {
public:
    static constexpr std::size_t SlotBytes = sizeof(Key<W>) + sizeof(std::uint8_t) + sizeof(std::uint32_t);

    ChainSeen() { allocate(1 << 8); }

    void limitBytes(std::size_t bytes) { m_maxSlots = std::max<std::size_t>(bytes / SlotBytes, 1 << 8); }
    bool full() const { return m_full; }
    std::size_t bytes() const { return m_keys.capacity() * SlotBytes; }

    void reset() {
        m_used = 0;
        m_full = false;
        if (++m_now == 0) {
            std::fill(m_stamps.begin(), m_stamps.end(), 0);
            m_now = 1;
        }
    }

    // False when the pair was met already since the last reset.
    bool insert(const Key<W>& key, std::uint8_t at) {
        const std::uint64_t hash = Hash(key) ^ (std::uint64_t{at} * 0x9E3779B97F4A7C15ULL);
        std::size_t i = Mix(hash) & m_mask;
        for (; m_stamps[i] == m_now; i = (i + 1) & m_mask)
            if (m_at[i] == at && m_keys[i] == key)
                return false;
        m_stamps[i] = m_now;
        m_keys[i] = key;
        m_at[i] = at;
        if (++m_used * 2 > m_keys.size()) {
            if (m_keys.size() * 2 <= m_maxSlots)
                grow();
            else
                m_full = m_used * 4 > m_keys.size() * 3;
        }
        return true;
    }

private:
    void allocate(std::size_t slots) {
        m_keys.assign(slots, Key<W>{});
        m_at.assign(slots, 0);
        m_stamps.assign(slots, 0);
        m_mask = slots - 1;
    }

    void grow() {
        std::vector<Key<W>> keys;
        std::vector<std::uint8_t> at;
        std::vector<std::uint32_t> stamps;
        keys.swap(m_keys);
        at.swap(m_at);
        stamps.swap(m_stamps);
        const std::uint32_t live = m_now;
        allocate(keys.size() * 2);
        m_now = 1;
        m_used = 0;
        for (std::size_t j = 0; j < keys.size(); ++j)
            if (stamps[j] == live)
                insert(keys[j], at[j]);
    }

    std::vector<Key<W>> m_keys;
    std::vector<std::uint8_t> m_at;
    std::vector<std::uint32_t> m_stamps;
    std::uint32_t m_now = 1;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
    std::size_t m_maxSlots = std::numeric_limits<std::size_t>::max();
    bool m_full = false;
};

} // namespace fewest_moves
