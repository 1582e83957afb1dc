// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/FewestMovesSearch.h"

namespace fewest_moves {

// Jump by jump instead of move by move: each jump takes one peg, so the positions fall into layers
// by their peg count, and each position is entered once into its layer's transposition table
// however many runs of jumps lead to it. On open boards, where one peg has runs of jumps beyond
// number, this stores far fewer positions than following whole moves does; it cannot meet in the
// middle, though, so on boards of many pegs the move by move search goes further.
template <int W> void FewestMovesSearch<W>::searchByLayers(MinMovesResult& result) {
    using Entry = typename CostTable<W>::Entry;
    const int known = m_limits.knownMoves;
    const int goalPegs = m.singlePegGoal ? 1 : static_cast<int>(m.goalPegs.size());
    int best = known > 0 ? known : std::numeric_limits<int>::max(); // only fewer moves are sought
    K goalReached;
    bool found = false;
    result.lowerBound = movesStillNeeded(m_start);
    std::vector<CostTable<W>> layers(1);
    const K start = canonical(m_start);
    layers[0].offer(start, Hash(start), 0, -1);
    std::size_t held = layers[0].bytes();
    std::uint64_t stored = 1;
    Walk<W> walk;
    int fewest = 1; // the fewest moves of the positions of the layer: the start needs one more
    for (int pegs = m_startPegCount; pegs > goalPegs && layers.back().size() > 0; --pegs) {
        const bool lastLayer = pegs - 1 == goalPegs;
        CostTable<W> next;
        int nextFewest = std::numeric_limits<int>::max();
        bool cut = false;
        std::uint64_t visited = 0;
        layers.back().forEach([&](const Entry& entry) {
            // Each jump of the position may file one more, and the table doubles as it fills.
            noteBytes(held + next.bytes());
            m_memoryRanOut = held + next.bytesWith(m.lines.size()) > m_budget;
            cut = m_memoryRanOut || workIsUp(0) || ((++visited & 1023) == 0 && outOfLimits());
            if (cut)
                return false;
            if ((visited & 1023) == 0)
                reportProgress(0);
            walk.full.clear();
            for (std::size_t r = 0; r < m_leftByGoal.size(); ++r)
                if (full(entry.key, m_leftByGoal[r].mask))
                    walk.full.push_back(static_cast<std::uint16_t>(r));
            for (int from = 0; from < m.holes; ++from) {
                if (!entry.key.test(from))
                    continue;
                const int moves = entry.moves + (entry.landings.test(from) ? 0 : 1);
                if (moves >= best)
                    continue;
                for (const std::uint16_t index : m.linesFrom[from]) {
                    const HoleLine& line = m.lines[index];
                    if (!entry.key.test(line.over) || entry.key.test(line.to))
                        continue;
                    const K after = afterJump(entry.key, index);
                    ++m_work;
                    if (lastLayer) {
                        if (isGoal(after) && moves < best) {
                            best = moves;
                            goalReached = after;
                            found = true;
                        }
                        continue;
                    }
                    if (!canStillReachGoal(after))
                        continue;
                    K taken;
                    bool singleHole = false;
                    const int needed =
                        std::max(movesNeededAfterThisOne(after, line.to, walk, taken, singleHole) -
                                     (m.singlePegGoal && singleHole ? 1 : 0),
                                 partsStillNeeded(after) - 1);
                    if (moves + needed >= best)
                        continue;
                    int transform = 0;
                    const K image = canonical(after, transform);
                    next.offer(image, Hash(image), static_cast<std::uint8_t>(moves),
                               imageOf(line.to, transform));
                    nextFewest = std::min(nextFewest, moves);
                }
            }
            return true;
        });
        if (cut) {
            // Every way to the goal passes this layer, and none had fewer moves than its positions.
            result.lowerBound = std::max(result.lowerBound, std::min(fewest, best));
            m_forwardSize = stored;
            result.outcome = MinMovesOutcome::OutOfLimits;
            return;
        }
        if (lastLayer)
            break;
        fewest = nextFewest;
        stored += next.size();
        held += next.bytes();
        noteBytes(held);
        layers.push_back(std::move(next));
    }
    m_forwardSize = stored;
    if (found) {
        result.jumps = solutionFromLayers(layers, goalReached, best);
        result.moves = CountMoves(result.jumps);
        result.lowerBound = result.moves;
        result.outcome = result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven;
    } else if (known > 0) {
        result.moves = result.lowerBound = known;
        result.outcome = MinMovesOutcome::Proven;
    } else {
        result.outcome = MinMovesOutcome::Unsolvable;
    }
}

// Back from the goal one jump at a time, each time to a position of the layer above whose fewest
// moves fit: the same number when its peg goes on from where the last jump landed, one fewer when
// the jump begins a move.
template <int W>
JumpList FewestMovesSearch<W>::solutionFromLayers(const std::vector<CostTable<W>>& layers, K at,
                                                  int moves) const {
    std::vector<std::vector<std::uint8_t>> jumps;
    int landing = -1; // where the jump before must have landed; -1: anywhere
    for (std::size_t i = layers.size(); i-- > 0;) {
        bool found = false;
        for (int to = 0; to < m.holes && !found; ++to) {
            if (!at.test(to) || (landing >= 0 && to != landing))
                continue;
            for (const std::uint16_t index : m.linesTo[to]) {
                const HoleLine& line = m.lines[index];
                if (found || at.test(line.from) || at.test(line.over))
                    continue;
                for (int colour = 0; colour < (m.colours ? 2 : 1) && !found; ++colour) {
                    const K before = beforeJump(at, index, colour == 1);
                    int transform = 0;
                    const K image = canonical(before, transform);
                    const auto* entry = layers[i].find(image, Hash(image));
                    if (!entry)
                        continue;
                    const bool goesOn =
                        entry->moves == moves && entry->landings.test(imageOf(line.from, transform));
                    if (!goesOn && entry->moves + 1 != moves)
                        continue;
                    jumps.insert(jumps.begin(), {line.from, line.to});
                    at = before;
                    landing = goesOn ? line.from : -1;
                    moves = goesOn ? moves : moves - 1;
                    found = true;
                }
            }
        }
        if (!found)
            return {};
    }
    return inStartFrame(jumps, at);
}

// The key widths FindFewestMoves chooses from.
template void FewestMovesSearch<1>::searchByLayers(MinMovesResult&);
template void FewestMovesSearch<2>::searchByLayers(MinMovesResult&);
template void FewestMovesSearch<3>::searchByLayers(MinMovesResult&);

} // namespace fewest_moves
