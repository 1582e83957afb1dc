// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/FewestMovesSearch.h"

#include <new>
#include <thread>

namespace fewest_moves {

template <int W>
FewestMovesSearch<W>::FewestMovesSearch(const HoleModel& model, const MinMovesLimits& limits)
    : m(model), m_limits(limits), m_started(std::chrono::steady_clock::now()) {
    const unsigned cores = std::thread::hardware_concurrency();
    m_threads = limits.threads > 0 ? limits.threads : static_cast<int>(cores == 0 ? 1 : cores);
    m_threads = std::min(m_threads, 8);
    // Threads share out the rounds by the clock; a budget of work must give the same count each time.
    m_maxWork = limits.maxWork;
    if (m_maxWork > 0)
        m_threads = 1;
    m_maxPositions = limits.maxPositions ? limits.maxPositions : std::numeric_limits<std::size_t>::max();
    m_budget = limits.memoryBytes ? limits.memoryBytes : DefaultMemoryBudget();
    if (limits.processBytes > 0) {
        // What the process holds already (its code, the other searches' tables) is not the search's
        // to take, and a little is kept free for what grows between two looks.
        const std::size_t headroom = std::max<std::size_t>(limits.processBytes / 16, std::size_t{1} << 20);
        m_processStop = limits.processBytes > headroom ? limits.processBytes - headroom : 1;
        const std::size_t held = ResidentBytes();
        m_budget = std::min(m_budget, m_processStop > held ? m_processStop - held : 0);
    }
    if (limits.progress)
        m_progressBase = limits.progress->positions.load(std::memory_order_relaxed);
    m_roundMoves = std::clamp<std::uint64_t>(m_budget / 16 / sizeof(K) / static_cast<std::size_t>(m_threads),
                                             1024, RoundMoves);
    m_walks.resize(m_threads);
    // The runs of one position each walk tells apart may take an eighth of the memory between them.
    for (Walk<W>& walk : m_walks)
        walk.seen.limitBytes(m_budget / 8 / static_cast<std::size_t>(m_threads));
    buildMasks();
    buildTransforms();
    m_startImages.push_back(m_start);
    for (const Transform& t : m_transforms)
        m_startImages.push_back(t.apply(m_start));
    buildPagodas();
    buildRegions();
    buildParts();
}

template <int W> void FewestMovesSearch<W>::buildMasks() {
    for (int i = 0; i < m.holes; ++i) {
        m_pegMask.set(i);
        if (m.colours)
            m_secondMask.set(m.holes + i);
    }

    for (const int i : m.startPegs)
        m_start.set(i);
    for (const int i : m.startSecond)
        if (m.colours)
            m_start.set(m.holes + i);
    for (const int i : m.goalPegs)
        m_goal.set(i);
    for (const int i : m.goalSecond)
        m_goal.set(m.holes + i);
    m_startPegCount = static_cast<int>(m.startPegs.size());
    for (const HoleLine& line : m.lines) {
        K flip;
        flip.set(line.from);
        flip.set(line.over);
        flip.set(line.to);
        m_lineFlips.push_back(flip);
    }
}

template <int W> void FewestMovesSearch<W>::buildPagodas() {
    const int bits = m.colours ? 2 * m.holes : m.holes;
    const int bytes = (bits + 7) / 8;
    std::vector<std::vector<int>> startValues(m_startImages.size());
    for (const PagodaFunction& pagoda : m.bounds.pagodas) {
        CompiledPagoda c;
        c.byByte.assign(bytes, {});
        for (int bit = 0; bit < bits; ++bit) {
            const int weight = bit < m.holes ? pagoda.peg[bit] : pagoda.second[bit - m.holes];
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << (bit % 8)))
                    c.byByte[bit / 8][byte] += weight;
        }
        int goal = c.value(m_goal);
        if (m.singlePegGoal) {
            goal = std::numeric_limits<int>::max();
            for (const int i : m.lastPegHoles)
                goal = std::min(goal, pagoda.peg[i]);
        }
        int least = 0, greatest = 0;
        for (const auto& table : c.byByte) {
            least += *std::min_element(table.begin(), table.end());
            greatest += *std::max_element(table.begin(), table.end());
        }
        bool backward = false;
        for (const K& start : m_startImages)
            backward = backward || c.value(start) < greatest;
        if (backward && m_backwardPagodas.size() < MaxPagodas) {
            for (std::size_t i = 0; i < m_startImages.size(); ++i)
                startValues[i].push_back(c.value(m_startImages[i]));
            m_backwardPagodas.push_back(c);
        }
        if (goal > least && m_forwardPagodas.size() < MaxPagodas) {
            m_goalValues.push_back(goal);
            m_forwardPagodas.push_back(std::move(c));
        }
    }
    m_startValues = std::move(startValues);
}

template <int W> void FewestMovesSearch<W>::buildRegions() {
    m_fullAtStart.resize(m_startImages.size());
    m_chosenAtStart.resize(m_startImages.size());
    m_regionsWith.resize(m.holes);
    for (const std::vector<int>& holes : m.bounds.regions) {
        Region region;
        for (const int i : holes)
            region.mask.set(i);
        region.singleHole = holes.size() == 1;
        if (m.singlePegGoal || !full(m_goal, region.mask)) {
            for (const int i : holes)
                m_regionsWith[i].push_back(static_cast<std::uint16_t>(m_leftByGoal.size()));
            m_leftByGoal.push_back(region);
        }
        for (std::size_t i = 0; i < m_startImages.size(); ++i) {
            if (!full(m_startImages[i], region.mask))
                continue;
            m_fullAtStart[i].push_back(region);
            auto& chosen = m_chosenAtStart[i];
            if (std::all_of(chosen.begin(), chosen.end(),
                            [&](const Region& other) { return disjoint(other.mask, region.mask); }))
                chosen.push_back(region);
        }
    }
}

template <int W> void FewestMovesSearch<W>::buildParts() {
    for (const std::vector<int>& part : m.bounds.parts) {
        CompiledPart c;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const int b = part[i] / 8;
            auto at =
                std::find_if(c.byByte.begin(), c.byByte.end(), [&](const auto& e) { return e.first == b; });
            if (at == c.byByte.end()) {
                c.byByte.push_back({b, {}});
                at = c.byByte.end() - 1;
            }
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << (part[i] % 8)))
                    at->second[byte] |= 1u << i;
        }
        m_parts.push_back(std::move(c));
    }
}

template <int W> void FewestMovesSearch<W>::buildTransforms() {
    const int bits = m.colours ? 2 * m.holes : m.holes;
    const int bytes = (bits + 7) / 8;
    for (const std::vector<int>& perm : m.symmetries) {
        Transform t;
        t.byByte.resize(bytes);
        for (int bit = 0; bit < bits; ++bit) {
            const int image = bit < m.holes ? perm[bit] : m.holes + perm[bit - m.holes];
            K target;
            target.set(image);
            const int b = bit / 8, shift = bit % 8;
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << shift))
                    t.byByte[b][byte] |= target;
        }
        m_transforms.push_back(std::move(t));
        std::vector<int> inverse(m.holes);
        for (int i = 0; i < m.holes; ++i)
            inverse[perm[i]] = i;
        m_inverse.push_back(inverse);
    }
}

// Runs out of memory like out of time: the levels completed so far still prove the lower bound.
template <int W> MinMovesResult FewestMovesSearch<W>::run() {
    MinMovesResult result;
    const auto finish = [&](MinMovesOutcome outcome) {
        result.outcome = outcome;
        result.positions = positions();
        result.work = m_work;
        result.seconds = elapsed();
        result.peakBytes = m_peakBytes;
        const bool stoppedHere = outcome == MinMovesOutcome::OutOfLimits;
        result.memoryRanOut = m_memoryRanOut || (stoppedHere && (m_processFull.load() || m_seenFull.load()));
        result.clockStopped = stoppedHere && m_timeUp.load();
        result.workRanOut = stoppedHere && m_workUp.load();
        reportProgress(result.lowerBound);
        return result;
    };
    try {
        if (m_limits.method == MinMovesMethod::ByLayers)
            searchByLayers(result);
        else if (m_limits.method == MinMovesMethod::Beam)
            searchByBeam(result);
        else
            meetInTheMiddle(result);
    } catch (const std::bad_alloc&) {
        m_memoryRanOut = true;
        result.jumps.clear();
        result.moves = 0;
        return finish(MinMovesOutcome::OutOfLimits);
    }
    return finish(result.outcome);
}

template <int W>
JumpList FewestMovesSearch<W>::inStartFrame(const std::vector<std::vector<std::uint8_t>>& moves,
                                            const K& frameStart) const {
    // The frame is the symmetry that carries the real start onto the start of these moves.
    std::vector<int> back(m.holes);
    for (int i = 0; i < m.holes; ++i)
        back[i] = i;
    if (!(frameStart == m_start)) {
        for (std::size_t t = 0; t < m_transforms.size(); ++t)
            if (m_transforms[t].apply(m_start) == frameStart)
                back = m_inverse[t];
    }
    JumpList jumps;
    for (const auto& cells : moves)
        for (std::size_t j = 1; j < cells.size(); ++j)
            jumps.push_back({static_cast<std::uint8_t>(m.cellOf[back[cells[j - 1]]]),
                             static_cast<std::uint8_t>(m.cellOf[back[cells[j]]])});
    return jumps;
}

// The key widths FindFewestMoves chooses from.
template FewestMovesSearch<1>::FewestMovesSearch(const HoleModel&, const MinMovesLimits&);
template FewestMovesSearch<2>::FewestMovesSearch(const HoleModel&, const MinMovesLimits&);
template FewestMovesSearch<3>::FewestMovesSearch(const HoleModel&, const MinMovesLimits&);
template MinMovesResult FewestMovesSearch<1>::run();
template MinMovesResult FewestMovesSearch<2>::run();
template MinMovesResult FewestMovesSearch<3>::run();
template JumpList FewestMovesSearch<1>::inStartFrame(const std::vector<std::vector<std::uint8_t>>&,
                                                     const Key<1>&) const;
template JumpList FewestMovesSearch<2>::inStartFrame(const std::vector<std::vector<std::uint8_t>>&,
                                                     const Key<2>&) const;
template JumpList FewestMovesSearch<3>::inStartFrame(const std::vector<std::vector<std::uint8_t>>&,
                                                     const Key<3>&) const;

} // namespace fewest_moves
