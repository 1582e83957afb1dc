// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/FewestMovesSearch.h"

#include "solver/ThreadRunner.h"

namespace fewest_moves {

namespace {

// In the beam's choice, one move still needed weighs as much as this many pegs.
constexpr int PegsPerMove = 2;

// With a budget of work the first beam is this narrow, and a wider one is planned to cost at most
// this share of the work left: its cost is only estimated.
constexpr std::size_t FirstBudgetedWidth = 500;
constexpr double BudgetMargin = 0.75;

} // namespace

// Levels from the goal for a third of the time (or of the work), then beams from the start towards
// them.
template <int W> void FewestMovesSearch<W>::searchByBeam(MinMovesResult& result) {
    result.outcome = MinMovesOutcome::OutOfLimits;
    result.lowerBound = movesStillNeeded(m_start);
    if (insertStart() || expandGoalSideFor(m_limits.seconds / 3, m_maxWork / 3)) {
        result.jumps = solutionThrough(m_meeting);
        result.moves = CountMoves(result.jumps);
        result.lowerBound = result.moves;
        result.outcome = result.jumps.empty() ? MinMovesOutcome::OutOfLimits : MinMovesOutcome::Proven;
        return;
    }
    // The goal side's complete levels never met the start (but kept only what could beat the
    // known solution): when they ran out, or reached as far as it, nothing beats it.
    const int known = m_limits.knownMoves > 0 ? m_limits.knownMoves : std::numeric_limits<int>::max();
    result.lowerBound = std::max(result.lowerBound, std::min(known, m_backwardSide.depth + 1));
    if (m_limits.knownMoves > 0 && (m_backwardSide.frontier.empty() || result.lowerBound >= known)) {
        result.moves = result.lowerBound = known;
        result.outcome = MinMovesOutcome::Proven;
        return;
    }
    // Ever wider beams while the time and the memory last, until one had room for every position
    // it met.
    std::size_t width = std::max<std::size_t>(m_limits.beamWidth, 1);
    if (m_maxWork > 0)
        width = std::min(width, FirstBudgetedWidth);
    while (width > 0 && !outOfLimits()) {
        const std::uint64_t before = m_work;
        bool narrowed = false;
        if (beamFrom(width, narrowed)) {
            JumpList jumps = solutionThrough(m_meeting);
            if (!jumps.empty()) {
                result.jumps = std::move(jumps);
                result.moves = CountMoves(result.jumps);
            }
        }
        if (!narrowed || m_memoryRanOut)
            return;
        for (auto& table : m_forwardSide.tables)
            table = LevelTable<W>();
        storeStart();
        width = nextBeamWidth(width, m_work - before);
    }
}

// Four times the last width (after the first, narrow beam of a budget of work: the usual first
// width), but with a budget no more than the work left pays for, judged by what the last beam cost:
// a beam the budget ends before its last level finds nothing. 0 when no wider beam fits.
template <int W>
std::size_t FewestMovesSearch<W>::nextBeamWidth(std::size_t width, std::uint64_t lastCost) const {
    const std::size_t wider = width < m_limits.beamWidth ? m_limits.beamWidth : width * 4;
    if (m_maxWork == 0)
        return wider;
    const std::uint64_t left = m_maxWork > m_work ? m_maxWork - m_work : 0;
    const double perPosition =
        static_cast<double>(std::max<std::uint64_t>(lastCost, 1)) / static_cast<double>(width);
    const auto affordable = static_cast<std::size_t>(static_cast<double>(left) * BudgetMargin / perPosition);
    const std::size_t next = std::min(wider, affordable);
    return next > width ? next : 0;
}

// Whole levels from the goal while the time (and the work, with a budget of it) lasts and the next
// one fits into half the memory; true when they reach the start.
template <int W> bool FewestMovesSearch<W>::expandGoalSideFor(double seconds, std::uint64_t work) {
    // The levels run on the search's clock and budget: for now they end with this phase.
    const double overall = m_limits.seconds;
    const std::uint64_t overallWork = m_maxWork;
    m_limits.seconds = std::min(overall, seconds);
    if (m_maxWork > 0)
        m_maxWork = m_work + std::max<std::uint64_t>(work, 1);
    while (!m_met && !m_backwardSide.frontier.empty() && !outOfLimits()) {
        const double cost = estimatedCost(m_backwardSide);
        if (bytesToExpand(m_backwardSide, expectedLevel(m_backwardSide, cost)) > m_budget / 2 ||
            !expand(m_backwardSide, m_forwardSide))
            break;
    }
    m_limits.seconds = overall;
    m_maxWork = overallWork;
    m_timeUp.store(false);
    m_workUp.store(false);
    // A position of the goal side with more runs than a walk has room for ends that side only.
    m_seenFull.store(false);
    return m_met;
}

// One beam from the start: each level keeps the `width` positions whose bounds ask for the fewest
// moves still, then those with the fewest pegs, and enters them into the forward side's
// transposition table for the way back. A position met on
// the levels from the goal completes a solution, which becomes the known one; the beam goes on for
// shorter ones while a level can still beat it. True when it found one; `narrowed` tells whether
// some level had more positions than room.
template <int W> bool FewestMovesSearch<W>::beamFrom(std::size_t width, bool& narrowed) {
    struct Candidate {
        int score;
        K key;
    };
    struct Meeting {
        int moves = std::numeric_limits<int>::max();
        K key;
    };
    int best = m_limits.knownMoves > 0 ? m_limits.knownMoves : std::numeric_limits<int>::max();
    bool found = false;
    std::vector<K> frontier{canonical(m_start)};
    for (int level = 1; level < best && !frontier.empty() && !outOfLimits(); ++level) {
        // What the level gathers, its choice and what it files share the memory left.
        const std::size_t held = heldBytes() + frontier.capacity() * sizeof(K);
        const std::size_t room = m_budget > held ? (m_budget - held) / 5 : 0;
        const std::size_t kept =
            std::min(width, room / (sizeof(K) + 2 * static_cast<std::size_t>(LevelTable<W>::SlotBytes)));
        // A beam the memory narrows would be no wider the next time.
        if (kept < width)
            m_memoryRanOut = narrowed = true;
        if (kept == 0)
            break;
        std::vector<std::vector<Candidate>> candidates(m_threads);
        std::vector<Meeting> meetings(m_threads);
        RunOnThreads(m_threads, [&](int t) {
            Walk<W>& walk = m_walks[t];
            walk.found = 0;
            walk.cap = std::numeric_limits<std::uint64_t>::max();
            walk.stopped = false;
            walk.level = m_limits.knownMoves > 0 ? level : 0;
            for (std::size_t i = static_cast<std::size_t>(t); i < frontier.size() && !walk.stopped;
                 i += static_cast<std::size_t>(m_threads))
                forwardMoves(frontier[i], walk, [&](const K& child, const Chain&, int) {
                    const int ahead = movesStillNeeded(child);
                    if (level + ahead >= best)
                        return;
                    const K c = canonical(child);
                    const std::uint64_t h = Hash(c);
                    const int shard = ShardOf(h);
                    if (m_forwardSide.tables[shard].find(c, h) >= 0)
                        return;
                    const int back = m_backwardSide.tables[shard].find(c, h);
                    if (back >= 0 && level + back < meetings[t].moves)
                        meetings[t] = {level + back, c};
                    candidates[t].push_back({ahead * PegsPerMove + pegs(c), c});
                    // A level that outgrows its share of the memory is chosen from what it has.
                    if (candidates[t].size() * sizeof(Candidate) * static_cast<std::size_t>(m_threads) > room)
                        walk.stopped = true;
                });
        });
        // A walk stops early only for the memory or the limits: then the level was cut short.
        for (int t = 0; t < m_threads; ++t) {
            m_work += m_walks[t].found;
            narrowed = narrowed || m_walks[t].stopped;
            m_memoryRanOut = m_memoryRanOut || (m_walks[t].stopped && !stopped());
        }
        reportProgress(0);
        for (const Meeting& meeting : meetings) {
            if (meeting.moves >= best)
                continue;
            best = m_limits.knownMoves = meeting.moves;
            m_meeting = meeting.key;
            found = true;
            // Entered into the transposition table at its level, for the way back.
            const std::uint64_t h = Hash(m_meeting);
            m_forwardSide.tables[ShardOf(h)].insert(m_meeting, h, static_cast<std::uint8_t>(level));
        }
        std::vector<Candidate> all;
        for (auto& part : candidates) {
            all.insert(all.end(), part.begin(), part.end());
            std::vector<Candidate>().swap(part);
        }
        std::sort(all.begin(), all.end(),
                  [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
        all.erase(std::unique(all.begin(), all.end(),
                              [](const Candidate& a, const Candidate& b) { return a.key == b.key; }),
                  all.end());
        noteBytes(held + all.capacity() * sizeof(Candidate));
        if (all.size() > kept) {
            narrowed = true;
            std::nth_element(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                             [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
            all.resize(kept);
        }
        frontier.clear();
        for (const Candidate& c : all) {
            const std::uint64_t h = Hash(c.key);
            m_forwardSide.tables[ShardOf(h)].insert(c.key, h, static_cast<std::uint8_t>(level));
            frontier.push_back(c.key);
        }
        m_forwardSize += frontier.size();
        noteBytes(heldBytes() + (frontier.capacity() * sizeof(K) + all.capacity() * sizeof(Candidate)));
    }
    return found;
}

// The key widths FindFewestMoves chooses from.
template void FewestMovesSearch<1>::searchByBeam(MinMovesResult&);
template void FewestMovesSearch<2>::searchByBeam(MinMovesResult&);
template void FewestMovesSearch<3>::searchByBeam(MinMovesResult&);

} // namespace fewest_moves
