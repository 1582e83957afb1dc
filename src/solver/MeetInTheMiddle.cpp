// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/FewestMovesSearch.h"

#include "solver/ThreadRunner.h"

namespace fewest_moves {

template <int W> void FewestMovesSearch<W>::meetInTheMiddle(MinMovesResult& result) {
    const auto finish = [&](MinMovesOutcome outcome) {
        result.outcome = outcome;
    };
    bool met = insertStart();
    while (!met) {
        // The levels searched, or the moves the regions full at the start ask for, if more.
        const int proved =
            std::max(m_forwardSide.depth + m_backwardSide.depth + 1, movesStillNeeded(m_start));
        result.lowerBound = proved;
        reportProgress(proved);
        // With a known solution both sides keep only positions that could lie on a solution with fewer
        // moves, so running out of positions proves that no solution has fewer.
        const bool exhausted = m_forwardSide.frontier.empty() || m_backwardSide.frontier.empty();
        if (exhausted && m_limits.knownMoves == 0) {
            finish(MinMovesOutcome::Unsolvable);
            return;
        }
        if (m_limits.knownMoves > 0 && (exhausted || proved >= m_limits.knownMoves)) {
            result.moves = m_limits.knownMoves;
            result.lowerBound = m_limits.knownMoves;
            finish(MinMovesOutcome::Proven);
            return;
        }
        if (outOfLimits() || positions() > m_maxPositions) {
            finish(MinMovesOutcome::OutOfLimits);
            return;
        }
        // A level that proves the known solution the fewest unless it meets the other side need
        // not be kept: only a meeting matters, so it costs no memory beyond a round's gathering.
        m_lastLevel =
            m_limits.knownMoves > 0 && m_forwardSide.depth + m_backwardSide.depth + 2 >= m_limits.knownMoves;
        Side* side = chooseSide();
        if (!side || !expand(*side, side == &m_forwardSide ? m_backwardSide : m_forwardSide)) {
            finish(MinMovesOutcome::OutOfLimits);
            return;
        }
        met = m_met;
    }
    result.jumps = solutionThrough(m_meeting);
    result.moves = CountMoves(result.jumps);
    result.lowerBound = result.moves;
    finish(result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven);
}

// The side whose next level costs fewer moves, if it fits into the memory; otherwise the other one;
// none when neither would fit.
template <int W> typename FewestMovesSearch<W>::Side* FewestMovesSearch<W>::chooseSide() {
    const double forwardCost = estimatedCost(m_forwardSide), backwardCost = estimatedCost(m_backwardSide);
    const bool forwardFirst = forwardCost <= backwardCost;
    for (const bool forward : {forwardFirst, !forwardFirst}) {
        Side& side = forward ? m_forwardSide : m_backwardSide;
        const std::size_t bytes =
            m_lastLevel ? heldBytes() + roundBytes()
                        : bytesToExpand(side, expectedLevel(side, forward ? forwardCost : backwardCost));
        if (bytes <= m_budget)
            return &side;
    }
    m_memoryRanOut = true;
    return nullptr;
}

// The moves an expansion of the side would follow, judged from a few of its positions: on open
// boards one side can have vastly more moves per position than the other.
template <int W> double FewestMovesSearch<W>::estimatedCost(const Side& side) {
    constexpr std::size_t Samples = 32;
    constexpr std::uint64_t SampleCap = 20000;
    const std::size_t count = std::min(Samples, side.frontier.size());
    Walk<W>& walk = m_walks[0];
    walk.level = m_limits.knownMoves > 0 ? side.depth + 1 : 0;
    std::uint64_t moves = 0;
    for (std::size_t k = 0; k < count; ++k) {
        walk.found = 0;
        walk.cap = SampleCap;
        walk.stopped = false;
        movesOf(side.forward, side.frontier[k * side.frontier.size() / count], walk,
                [](const K&, const Chain&, int) {});
        moves += walk.found;
        m_work += walk.found;
    }
    walk.cap = std::numeric_limits<std::uint64_t>::max();
    walk.stopped = false;
    return count == 0 ? 0.0
                      : static_cast<double>(moves) / static_cast<double>(count) *
                            static_cast<double>(side.frontier.size());
}

// One more level on one side, in rounds: in each, every thread follows the moves of its next
// positions and sorts the positions they reach by the shard their hash falls into, until it has
// gathered its share; then each thread enters the new positions into the transposition tables of
// its own shards, so no table is ever touched by two threads at once. A share ends within a position
// whose moves alone would outgrow it, and the next round goes on from there. False when the limits
// ran out before the level was complete.
template <int W> bool FewestMovesSearch<W>::expand(Side& side, const Side& other) {
    const int level = side.depth + 1;
    const int bound = m_limits.knownMoves;
    std::array<std::vector<K>, Shards> next;
    std::vector<std::array<std::vector<K>, Shards>> buckets(m_threads);
    std::vector<std::vector<K>> meetings(m_threads);
    std::vector<std::size_t> cursor(m_threads);
    for (int t = 0; t < m_threads; ++t)
        cursor[t] = static_cast<std::size_t>(t);
    for (Walk<W>& walk : m_walks)
        walk.skip = 0;
    const std::vector<K>& frontier = side.frontier;
    const auto unfinished = [&] {
        for (const std::size_t c : cursor)
            if (c < frontier.size())
                return true;
        return false;
    };
    while (unfinished()) {
        RunOnThreads(m_threads, [&](int t) {
            auto& mine = buckets[t];
            Walk<W>& walk = m_walks[t];
            walk.found = 0;
            walk.stopped = false;
            walk.cap = m_roundMoves + walk.skip;
            walk.level = bound > 0 ? level : 0;
            std::uint64_t first = 0; // what the walk had found where the moves of this position began
            const auto gather = [&](const K& child, const Chain& chain, int length) {
                if (walk.found - first <= walk.skip)
                    return;
                // Only solutions with fewer moves than the known one are sought.
                if (bound > 0 &&
                    (side.forward ? level + movesNeededAfterMove(child, chain[length - 1], walk) >= bound
                                  : movesAlreadyNeeded(child, bound - level)))
                    return;
                const K c = canonical(child);
                mine[ShardOf(Hash(c))].push_back(c);
            };
            while (cursor[t] < frontier.size() && walk.found < walk.cap) {
                first = walk.found;
                movesOf(side.forward, frontier[cursor[t]], walk, gather);
                if (walk.stopped) {
                    // The move that stopped the walk was counted but not gathered.
                    walk.skip = walk.found - first - 1;
                    break;
                }
                walk.skip = 0;
                cursor[t] += static_cast<std::size_t>(m_threads);
            }
        });
        for (const Walk<W>& walk : m_walks)
            m_work += walk.found;
        reportProgress(0);
        if (stopped())
            return false;
        RunOnThreads(m_threads, [&](int t) {
            for (int s = t; s < Shards; s += m_threads) {
                for (auto& bucket : buckets) {
                    for (const K& c : bucket[s]) {
                        const std::uint64_t h = Hash(c);
                        if (m_lastLevel) {
                            // Only a meeting is kept, for the way back.
                            if (meetings[t].empty() && other.tables[s].find(c, h) >= 0) {
                                side.tables[s].insert(c, h, static_cast<std::uint8_t>(level));
                                meetings[t].push_back(c);
                            }
                            continue;
                        }
                        if (!side.tables[s].insert(c, h, static_cast<std::uint8_t>(level)))
                            continue;
                        next[s].push_back(c);
                        if (meetings[t].empty() && other.tables[s].find(c, h) >= 0)
                            meetings[t].push_back(c);
                    }
                    bucket[s].clear();
                }
            }
        });
        std::size_t stored = 0, gathered = 0;
        for (const auto& table : side.tables)
            stored += table.size();
        for (const auto& part : next)
            gathered += part.capacity();
        (side.forward ? m_forwardSize : m_backwardSize) = stored;
        noteBytes(heldBytes() + gathered * sizeof(K) + roundBytes());
        for (const auto& found : meetings) {
            if (!found.empty()) {
                m_met = true;
                m_meeting = found.front();
                side.depth = level;
                return true;
            }
        }
        // The next round must fit, and the level must still be joined into one frontier, as big
        // again as what was gathered.
        const double nextRound = static_cast<double>(m_threads) * static_cast<double>(m_roundMoves);
        const std::size_t needed = m_lastLevel ? heldBytes() + roundBytes()
                                               : bytesToExpand(side, nextRound) + 2 * gathered * sizeof(K);
        if (needed > m_budget) {
            m_memoryRanOut = true;
            return false;
        }
        if (outOfLimits() || positions() > m_maxPositions)
            return false;
    }
    const std::size_t before = frontier.size();
    std::vector<K> joined;
    std::size_t total = 0;
    for (const auto& part : next)
        total += part.size();
    joined.reserve(total);
    for (auto& part : next) {
        joined.insert(joined.end(), part.begin(), part.end());
        std::vector<K>().swap(part);
    }
    side.frontier.swap(joined);
    side.growth =
        static_cast<double>(side.frontier.size()) / static_cast<double>(std::max<std::size_t>(before, 1));
    side.depth = level;
    return true;
}

// Enters the start and the goal positions into the transposition tables of their sides; true when
// they already meet.
template <int W> bool FewestMovesSearch<W>::insertStart() {
    m_forwardSide.forward = true;
    m_backwardSide.forward = false;
    const K start = storeStart();
    m_forwardSide.frontier.push_back(start);
    m_forwardSize = 1;
    noteBytes(heldBytes());
    std::vector<K> goals;
    if (m.singlePegGoal) {
        for (const int i : m.lastPegHoles) {
            K single;
            single.set(i);
            goals.push_back(single);
        }
    } else {
        goals.push_back(m_goal);
    }
    for (const K& goal : goals) {
        const K c = canonical(goal);
        const std::uint64_t h = Hash(c);
        if (!m_backwardSide.tables[ShardOf(h)].insert(c, h, 0))
            continue;
        m_backwardSide.frontier.push_back(c);
        ++m_backwardSize;
        if (c == start) {
            m_met = true;
            m_meeting = c;
        }
    }
    return m_met;
}

// The moves from the start to the meeting position (found backwards, level by level), then from
// there to the goal, all in the frame of the meeting position; at the end the frame is turned
// back so that the moves begin at the real start.
template <int W> JumpList FewestMovesSearch<W>::solutionThrough(const K& meeting) const {
    std::vector<std::vector<std::uint8_t>> moves;
    Walk<W> walk;
    walk.timed = false;
    walk.seen.limitBytes(m_budget / 8);
    K at = meeting;
    for (int level = levelOf(m_forwardSide, at); level > 0; --level) {
        bool found = false;
        K previous;
        std::vector<std::uint8_t> cells;
        walk.stopped = false;
        backwardMoves(at, walk, [&](const K& child, const Chain& chain, int length) {
            if (levelOf(m_forwardSide, child) != level - 1)
                return;
            found = walk.stopped = true;
            previous = child;
            cells.assign(chain.rbegin() + (CellCount + 1 - length), chain.rend());
        });
        if (!found)
            return {};
        moves.insert(moves.begin(), cells);
        at = previous;
    }
    const K frameStart = at;
    at = meeting;
    for (int level = levelOf(m_backwardSide, at); level > 0; --level) {
        bool found = false;
        K following;
        std::vector<std::uint8_t> cells;
        walk.stopped = false;
        forwardMoves(at, walk, [&](const K& child, const Chain& chain, int length) {
            if (levelOf(m_backwardSide, child) != level - 1)
                return;
            found = walk.stopped = true;
            following = child;
            cells.assign(chain.begin(), chain.begin() + length);
        });
        if (!found)
            return {};
        moves.push_back(cells);
        at = following;
    }
    return inStartFrame(moves, frameStart);
}

// The key widths FindFewestMoves chooses from; the beam grows its levels from the goal with these.
template void FewestMovesSearch<1>::meetInTheMiddle(MinMovesResult&);
template void FewestMovesSearch<2>::meetInTheMiddle(MinMovesResult&);
template void FewestMovesSearch<3>::meetInTheMiddle(MinMovesResult&);
template bool FewestMovesSearch<1>::insertStart();
template bool FewestMovesSearch<2>::insertStart();
template bool FewestMovesSearch<3>::insertStart();
template bool FewestMovesSearch<1>::expand(Side&, const Side&);
template bool FewestMovesSearch<2>::expand(Side&, const Side&);
template bool FewestMovesSearch<3>::expand(Side&, const Side&);
template double FewestMovesSearch<1>::estimatedCost(const Side&);
template double FewestMovesSearch<2>::estimatedCost(const Side&);
template double FewestMovesSearch<3>::estimatedCost(const Side&);
template JumpList FewestMovesSearch<1>::solutionThrough(const Key<1>&) const;
template JumpList FewestMovesSearch<2>::solutionThrough(const Key<2>&) const;
template JumpList FewestMovesSearch<3>::solutionThrough(const Key<3>&) const;

} // namespace fewest_moves
