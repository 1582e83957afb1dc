// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/PatternDatabase.h"

#include <algorithm>
#include <deque>
#include <set>
#include <tuple>

namespace {

// A line as the part sees it: which of its holes lie on the part, as bits of a pattern.
struct PartLine {
    std::uint32_t mustHold = 0; // the jumping peg and the jumped one, where on the part
    std::uint32_t landing = 0;  // the landing hole, where on the part: empty before, a peg after
    int from = -1, to = -1;     // indices on the part, or -1 outside it
};

struct PartModel {
    int size = 0;
    int none = 0; // the moving-peg index that stands for "no peg of the part is moving"
    std::vector<PartLine> lines;
    std::vector<std::vector<int>> landingOn;   // per index: the lines landing there
    std::vector<std::vector<int>> leavingFrom; // per index: the lines beginning there
    std::vector<int> landingOutside;           // the lines landing outside the part
};

PartModel ModelOf(const HoleBoard& board, const std::vector<int>& part) {
    PartModel model;
    model.size = static_cast<int>(part.size());
    model.none = model.size;
    model.landingOn.resize(part.size());
    model.leavingFrom.resize(part.size());
    std::vector<int> index(board.holes, -1);
    for (std::size_t i = 0; i < part.size(); ++i)
        index[part[i]] = static_cast<int>(i);
    for (const HoleLine& line : board.lines) {
        const int from = index[line.from], over = index[line.over], to = index[line.to];
        if (from < 0 && over < 0 && to < 0)
            continue;
        PartLine l;
        l.from = from;
        l.to = to;
        if (from >= 0)
            l.mustHold |= 1u << from;
        if (over >= 0)
            l.mustHold |= 1u << over;
        if (to >= 0)
            l.landing = 1u << to;
        const int id = static_cast<int>(model.lines.size());
        model.lines.push_back(l);
        if (to >= 0)
            model.landingOn[to].push_back(id);
        else
            model.landingOutside.push_back(id);
        if (from >= 0)
            model.leavingFrom[from].push_back(id);
    }
    return model;
}

// The states of a part: a pattern and the index of the peg whose move is under way (or none).
class PartStates {
public:
    explicit PartStates(const PartModel& model)
        : m_width(model.size + 1), m_moves(std::size_t{1} << model.size) {
        m_distance.assign(m_moves * static_cast<std::size_t>(m_width), NeverInMoves);
    }

    // Lowers a state's distance; on success the state is queued, at the front when it costs nothing.
    void offer(std::uint32_t pattern, int moving, int distance, bool free) {
        const std::size_t at = static_cast<std::size_t>(pattern) * m_width + moving;
        if (distance >= m_distance[at])
            return;
        m_distance[at] = static_cast<std::uint8_t>(distance);
        if (free)
            m_queue.push_front(at);
        else
            m_queue.push_back(at);
    }

    // Pops states in order of their distance (a 0-1 breadth-first search); a state lowered after it
    // was queued is visited again, and its offers then change nothing.
    template <class Visit> void drain(const Visit& visit) {
        while (!m_queue.empty()) {
            const std::size_t at = m_queue.front();
            m_queue.pop_front();
            const auto pattern = static_cast<std::uint32_t>(at / m_width);
            const int moving = static_cast<int>(at % m_width);
            visit(pattern, moving, m_distance[at]);
        }
    }

    std::vector<std::uint8_t> atRest(int none) const {
        std::vector<std::uint8_t> moves(m_moves);
        for (std::size_t p = 0; p < m_moves; ++p)
            moves[p] = m_distance[p * m_width + none];
        return moves;
    }

private:
    std::size_t m_width, m_moves;
    std::vector<std::uint8_t> m_distance;
    std::deque<std::size_t> m_queue;
};

bool Applies(const PartLine& line, std::uint32_t pattern) {
    return (pattern & line.mustHold) == line.mustHold && (pattern & line.landing) == 0;
}

std::uint32_t Jumped(const PartLine& line, std::uint32_t pattern) {
    return (pattern & ~line.mustHold) | line.landing;
}

int LeaksOf(const HoleBoard& board, const std::vector<bool>& inside) {
    int leaks = 0;
    for (const HoleLine& line : board.lines)
        leaks += inside[line.over] && !inside[line.from] && !inside[line.to];
    return leaks;
}

} // namespace

std::vector<std::vector<int>> ChooseParts(const HoleBoard& board) {
    const int count = (board.holes + MaxPartHoles - 1) / MaxPartHoles;
    const int target = count == 0 ? 0 : (board.holes + count - 1) / count;
    std::vector<std::set<int>> neighbours(board.holes);
    for (const HoleLine& line : board.lines) {
        neighbours[line.from].insert(line.over);
        neighbours[line.over].insert(line.from);
    }
    std::vector<bool> taken(board.holes, false);
    std::vector<std::vector<int>> parts;
    for (int left = board.holes; left > 0;) {
        const auto freeNeighbours = [&](int h) {
            return std::count_if(neighbours[h].begin(), neighbours[h].end(),
                                 [&](int n) { return !taken[n]; });
        };
        int seed = -1;
        for (int h = 0; h < board.holes; ++h)
            if (!taken[h] && (seed < 0 || freeNeighbours(h) < freeNeighbours(seed)))
                seed = h;
        std::vector<bool> inside(board.holes, false);
        std::vector<int> part{seed};
        inside[seed] = taken[seed] = true;
        --left;
        while (static_cast<int>(part.size()) < target && left > 0) {
            // Holes next to the part first, then those that leave the fewest leaks, then those
            // with the most neighbours on the part.
            int best = -1;
            std::tuple<bool, int, int> bestRank;
            for (int h = 0; h < board.holes; ++h) {
                if (taken[h])
                    continue;
                const int ties = static_cast<int>(std::count_if(neighbours[h].begin(), neighbours[h].end(),
                                                                [&](int n) { return inside[n]; }));
                inside[h] = true;
                const std::tuple<bool, int, int> rank{ties == 0, LeaksOf(board, inside), -ties};
                inside[h] = false;
                if (best < 0 || rank < bestRank) {
                    best = h;
                    bestRank = rank;
                }
            }
            part.push_back(best);
            inside[best] = taken[best] = true;
            --left;
        }
        std::sort(part.begin(), part.end());
        parts.push_back(part);
    }
    return parts;
}

std::uint32_t PatternOf(const std::vector<int>& part, const HolePegs& position) {
    std::uint32_t pattern = 0;
    for (std::size_t i = 0; i < part.size(); ++i)
        if (position[part[i]] != 0)
            pattern |= 1u << i;
    return pattern;
}

// Searched backwards from the goal. A state reached by a jump of the part's moving peg costs
// nothing more; any other jump beginning on the part begins a move. A state with a moving peg may
// always drop it (a move of some other peg begins), so those states need only the jumps of their
// own moving peg.
std::vector<std::uint8_t> MovesToGoal(const HoleBoard& board, const std::vector<int>& part,
                                      const std::function<bool(std::uint32_t)>& isGoal) {
    const PartModel model = ModelOf(board, part);
    PartStates states(model);
    const std::uint32_t patterns = 1u << model.size;
    for (std::uint32_t p = 0; p < patterns; ++p)
        if (isGoal(p))
            for (int moving = 0; moving <= model.size; ++moving)
                states.offer(p, moving, 0, true);
    states.drain([&](std::uint32_t after, int moving, int distance) {
        if (moving == model.none)
            for (int peg = 0; peg < model.size; ++peg)
                states.offer(after, peg, distance, true);
        const std::vector<int>& lines = moving == model.none ? model.landingOutside : model.landingOn[moving];
        for (const int id : lines) {
            const PartLine& line = model.lines[id];
            if (line.to >= 0 && !(after & line.landing))
                continue;
            const std::uint32_t before = (after & ~line.landing) | line.mustHold;
            if ((after & line.mustHold) != 0)
                continue;
            if (line.from >= 0)
                states.offer(before, line.from, distance, true);
            states.offer(before, model.none, distance + (line.from >= 0 ? 1 : 0), line.from < 0);
        }
    });
    return states.atRest(model.none);
}

std::vector<std::uint8_t> MovesFromStart(const HoleBoard& board, const std::vector<int>& part,
                                         std::uint32_t startPattern) {
    const PartModel model = ModelOf(board, part);
    PartStates states(model);
    states.offer(startPattern, model.none, 0, true);
    std::vector<int> all(model.lines.size()); // a peg at rest: every line may be jumped
    for (std::size_t id = 0; id < all.size(); ++id)
        all[id] = static_cast<int>(id);
    states.drain([&](std::uint32_t pattern, int moving, int distance) {
        if (moving != model.none)
            states.offer(pattern, model.none, distance, true);
        for (const int id : *(moving == model.none ? &all : &model.leavingFrom[moving])) {
            const PartLine& line = model.lines[id];
            if (!Applies(line, pattern))
                continue;
            const bool begins = line.from >= 0 && line.from != moving;
            states.offer(Jumped(line, pattern), line.to >= 0 ? line.to : model.none, distance + begins,
                         !begins);
        }
    });
    return states.atRest(model.none);
}
