// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/ReachTable.h"

#include <algorithm>
#include <array>

namespace reach {

namespace {

// A level's work is looked at and the flag read after this many of its positions.
constexpr std::size_t CheckEvery = 4096;
// About this many keys to a part of a gathering, and as many in its queue.
constexpr std::size_t KeysPerPart = 8192;
constexpr std::size_t QueueLength = 2048;
constexpr int MostPartBits = 12;

// Gathers a level's keys without repeats. Each key goes by the top bits of its hash to a part of its
// own and waits in the part's queue; a full queue enters the part's set at once. Many keys of a long
// queue fall into each stretch of a small set, so one trip to the memory serves several of them,
// where one set for the whole level costs a trip for nearly every key.
class Gathering {
public:
    explicit Gathering(std::size_t expected) {
        while (m_partBits < MostPartBits && (std::size_t{1} << m_partBits) * KeysPerPart < expected)
            ++m_partBits;
        m_sets.resize(std::size_t{1} << m_partBits);
        m_queues.resize(m_sets.size());
        for (std::vector<HoleSet>& queue : m_queues)
            queue.reserve(QueueLength);
    }

    void add(HoleSet key) {
        const std::size_t part =
            m_partBits == 0 ? 0 : static_cast<std::size_t>(HashKey(key) >> (64 - m_partBits));
        std::vector<HoleSet>& queue = m_queues[part];
        queue.push_back(key);
        if (queue.size() == QueueLength)
            letIn(part);
    }

    std::size_t bytes() const {
        std::size_t total = 0;
        for (std::size_t part = 0; part < m_sets.size(); ++part)
            total += m_sets[part].bytes() + m_queues[part].capacity() * sizeof(HoleSet);
        return total;
    }

    // The level of every key gathered; the gathering is spent.
    Level level() {
        std::size_t count = 0;
        for (std::size_t part = 0; part < m_sets.size(); ++part) {
            letIn(part);
            m_queues[part] = std::vector<HoleSet>();
            count += m_sets[part].size();
        }
        Level level(count);
        for (KeySet& set : m_sets) {
            for (const HoleSet key : set.slots())
                if (key != 0)
                    level.insert(key);
            set = KeySet();
        }
        return level;
    }

private:
    void letIn(std::size_t part) {
        for (const HoleSet key : m_queues[part])
            m_sets[part].insert(key);
        m_queues[part].clear();
    }

    int m_partBits = 0;
    std::vector<KeySet> m_sets;
    std::vector<std::vector<HoleSet>> m_queues;
};

// Every position one jump back from a position of `level`; false when the work ran out or the build
// was called off, and then what was gathered is of no use.
bool TakeBackOneJump(const Board& board, const Level& level, Gathering& next, std::uint64_t& work,
                     const TableBudget& budget) {
    std::uint64_t done = work;
    std::size_t seen = 0;
    const std::vector<Line>& lines = board.lines();
    for (const HoleSet pegs : level.slots()) {
        if (pegs == 0)
            continue;
        if (++seen % CheckEvery == 0 && (done > budget.work || CalledOff(budget.cancelled)))
            return false;
        const Images images = board.images({pegs, 0});
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (!board.canJumpBack(pegs, lines[k]))
                continue;
            ++done;
            next.add(board.pegsKeyAfter(pegs, images, static_cast<int>(k)));
        }
    }
    work = done;
    return done <= budget.work;
}

} // namespace

void KeySet::resize(std::size_t slots) {
    std::vector<HoleSet> old;
    old.swap(m_slots);
    m_slots.assign(slots, 0);
    m_mask = slots - 1;
    m_count = 0;
    for (const HoleSet key : old)
        if (key != 0)
            insert(key);
}

Level::Level(std::size_t keys) : m_slots(keys + keys / 3 + 1, 0) {}

void Level::insert(HoleSet key) {
    std::size_t i = slotOf(key);
    for (; m_slots[i] != 0; i = i + 1 == m_slots.size() ? 0 : i + 1)
        if (m_slots[i] == key)
            return;
    m_slots[i] = key;
    ++m_count;
}

bool Level::contains(HoleSet key) const {
    for (std::size_t i = slotOf(key);; i = i + 1 == m_slots.size() ? 0 : i + 1) {
        if (m_slots[i] == key)
            return true;
        if (m_slots[i] == 0)
            return false;
    }
}

std::unique_ptr<Table> Table::Build(const Board& board, const std::vector<HoleSet>& bottom, int topPegs,
                                    const TableBudget& budget) {
    auto table = std::make_unique<Table>();
    table->m_bottom = bottom.empty() ? 0 : Count(bottom.front());
    Level first(bottom.size());
    for (const HoleSet key : bottom)
        first.insert(key);
    table->m_levels.push_back(std::move(first));
    std::size_t kept = table->m_levels.back().size();
    std::size_t levelBytes = table->m_levels.back().bytes();
    // A level costs about as many jumps back per position as the one before it, and grows by as
    // much: a level that would not fit the budget is not begun.
    double jumpsPerPosition = static_cast<double>(board.lines().size()) / 4;
    double growth = 1;
    while (table->top() < topPegs && !table->m_complete) {
        const Level& level = table->m_levels.back();
        const double size = static_cast<double>(level.size());
        if (static_cast<double>(table->m_work) + size * jumpsPerPosition > static_cast<double>(budget.work) ||
            static_cast<double>(kept) + size * growth > static_cast<double>(budget.positions))
            break;
        Gathering next(static_cast<std::size_t>(size * growth));
        const std::uint64_t before = table->m_work;
        if (!TakeBackOneJump(board, level, next, table->m_work, budget)) {
            table->m_work = before;
            break;
        }
        const std::size_t gatheringBytes = next.bytes();
        Level gathered = next.level();
        table->m_peakBytes = std::max(table->m_peakBytes, levelBytes + gatheringBytes + gathered.bytes());
        if (gathered.size() == 0) {
            table->m_complete = true;
            break;
        }
        jumpsPerPosition = static_cast<double>(table->m_work - before) / std::max(size, 1.0);
        growth = static_cast<double>(gathered.size()) / std::max(size, 1.0);
        kept += gathered.size();
        levelBytes += gathered.bytes();
        table->m_levels.push_back(std::move(gathered));
    }
    if (CalledOff(budget.cancelled))
        return nullptr;
    table->m_peakBytes = std::max(table->m_peakBytes, levelBytes);
    return table;
}

std::size_t Table::positions() const {
    std::size_t total = 0;
    for (const Level& level : m_levels)
        total += level.size();
    return total;
}

std::size_t Table::bytes() const {
    std::size_t total = 0;
    for (const Level& level : m_levels)
        total += level.bytes();
    return total;
}

} // namespace reach
