// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/SearchBounds.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace {

// ---------------------------------------------------------------------------------------------
// Parity checks: the solutions of one equation f(from) + f(over) + f(to) = 0 (mod 2) per line.

std::vector<std::vector<std::uint8_t>> FindParityChecks(const HoleBoard& board) {
    const int n = board.holes;
    std::vector<std::vector<std::uint8_t>> rows;
    for (const HoleLine& line : board.lines) {
        std::vector<std::uint8_t> row(n, 0);
        row[line.from] ^= 1;
        row[line.over] ^= 1;
        row[line.to] ^= 1;
        rows.push_back(row);
    }
    // Reduced row echelon form; the columns without a pivot are free.
    std::vector<int> pivotColumn;
    std::size_t rank = 0;
    for (int col = 0; col < n && rank < rows.size(); ++col) {
        std::size_t pivot = rank;
        while (pivot < rows.size() && rows[pivot][col] == 0)
            ++pivot;
        if (pivot == rows.size())
            continue;
        std::swap(rows[pivot], rows[rank]);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r == rank || rows[r][col] == 0)
                continue;
            for (int c = 0; c < n; ++c)
                rows[r][c] ^= rows[rank][c];
        }
        pivotColumn.push_back(col);
        ++rank;
    }
    std::vector<bool> isPivot(n, false);
    for (const int col : pivotColumn)
        isPivot[col] = true;
    std::vector<std::vector<std::uint8_t>> checks;
    for (int free = 0; free < n; ++free) {
        if (isPivot[free])
            continue;
        std::vector<std::uint8_t> check(n, 0);
        check[free] = 1;
        for (std::size_t r = 0; r < pivotColumn.size(); ++r)
            check[pivotColumn[r]] = rows[r][free];
        checks.push_back(check);
    }
    return checks;
}

// ---------------------------------------------------------------------------------------------
// Pagoda functions.

// The holes a peg can ever stand on from each hole form classes (a jump keeps a peg in its class):
// the pegs of a class, of either colour or of one colour, can only become fewer.
std::vector<PagodaFunction> ClassCounts(const HoleBoard& board, bool colours) {
    std::vector<int> parent(board.holes);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int h) {
        while (parent[h] != h)
            h = parent[h] = parent[parent[h]];
        return h;
    };
    for (const HoleLine& line : board.lines)
        parent[root(line.from)] = root(line.to);
    std::vector<PagodaFunction> counts;
    std::set<int> roots;
    for (int h = 0; h < board.holes; ++h)
        roots.insert(root(h));
    for (const int r : roots) {
        PagodaFunction all{std::vector<int>(board.holes, 0), std::vector<int>(board.holes, 0)};
        for (int h = 0; h < board.holes; ++h)
            all.peg[h] = root(h) == r ? 1 : 0;
        counts.push_back(all);
        if (!colours)
            continue;
        PagodaFunction second{std::vector<int>(board.holes, 0), all.peg};
        PagodaFunction first{all.peg, std::vector<int>(board.holes, 0)};
        for (int h = 0; h < board.holes; ++h)
            first.second[h] = -first.peg[h];
        counts.push_back(second);
        counts.push_back(first);
    }
    return counts;
}

// A pagoda function with weights 0 and 1 grown from one hole: wherever a line lands in the set
// while neither of the other two holes is in it, one of them joins. Holes empty at the start join
// first, so that the start's value is low and a position filled backwards soon goes past it.
PagodaFunction GrowPagoda(const HoleBoard& board, int seed, const HolePegs& start) {
    std::vector<int> weight(board.holes, 0);
    weight[seed] = 1;
    for (bool grown = true; grown;) {
        grown = false;
        for (const HoleLine& line : board.lines) {
            if (weight[line.to] == 0 || weight[line.from] != 0 || weight[line.over] != 0)
                continue;
            const bool overFirst = start[line.over] == 0 && start[line.from] != 0;
            weight[overFirst ? line.over : line.from] = 1;
            grown = true;
        }
    }
    return {weight, std::vector<int>(board.holes, 0)};
}

// The greatest value a position can have.
int MaxValue(const PagodaFunction& w) {
    int total = 0;
    for (std::size_t h = 0; h < w.peg.size(); ++h)
        total += std::max({0, w.peg[h], w.peg[h] + w.second[h]});
    return total;
}

// A pagoda function tells apart what the search meets only when the start's value leaves room above
// the goal's (forwards) or below the greatest (backwards); the less room, the more it cuts.
std::vector<PagodaFunction> Useful(std::vector<PagodaFunction> candidates, const HolePegs& start,
                                   const HolePegs& goal, std::size_t keep) {
    const bool singlePegGoal = goal.empty();
    struct Scored {
        int room;
        PagodaFunction w;
    };
    std::vector<Scored> scored;
    std::set<std::pair<std::vector<int>, std::vector<int>>> seen;
    for (PagodaFunction& w : candidates) {
        if (!seen.insert({w.peg, w.second}).second)
            continue;
        const int atStart = PagodaValue(w, start);
        const int forwardRoom = singlePegGoal ? atStart : atStart - PagodaValue(w, goal);
        const int backwardRoom = MaxValue(w) - atStart;
        const int room = std::min(singlePegGoal ? backwardRoom : forwardRoom, backwardRoom);
        if (room < 0 || (!singlePegGoal && forwardRoom < 0)) {
            // The goal is out of reach: this function alone shows it, so it must be kept.
            scored.insert(scored.begin(), {-1, std::move(w)});
            continue;
        }
        scored.push_back({room, std::move(w)});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored& a, const Scored& b) { return a.room < b.room; });
    std::vector<PagodaFunction> kept;
    for (Scored& s : scored) {
        if (kept.size() == keep)
            break;
        kept.push_back(std::move(s.w));
    }
    return kept;
}

// ---------------------------------------------------------------------------------------------
// Merson regions: every closed connected set of up to four holes that holds no smaller closed one. A
// position picks the full ones it can count; a fixed choice of disjoint regions would miss a full
// region that overlaps a chosen one left incomplete.

std::vector<std::vector<int>> FindRegions(const HoleBoard& board) {
    constexpr std::size_t MaxSize = 4;
    std::vector<std::set<int>> neighbours(board.holes);
    for (const HoleLine& line : board.lines) {
        neighbours[line.from].insert(line.over);
        neighbours[line.over].insert(line.from);
    }
    std::set<std::vector<int>> candidates;
    std::vector<std::vector<int>> frontier;
    for (int h = 0; h < board.holes; ++h)
        frontier.push_back({h});
    for (std::size_t size = 1; size <= MaxSize && !frontier.empty(); ++size) {
        std::vector<std::vector<int>> next;
        for (const std::vector<int>& region : frontier) {
            if (IsClosedRegion(board, region)) {
                candidates.insert(region);
                continue; // a larger region around a closed one adds nothing the smaller does not
            }
            if (size == MaxSize)
                continue;
            for (const int member : region)
                for (const int n : neighbours[member]) {
                    if (std::find(region.begin(), region.end(), n) != region.end())
                        continue;
                    std::vector<int> grown = region;
                    grown.push_back(n);
                    std::sort(grown.begin(), grown.end());
                    next.push_back(grown);
                }
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
        frontier.swap(next);
    }
    std::vector<std::vector<int>> regions(candidates.begin(), candidates.end());
    std::stable_sort(
        regions.begin(), regions.end(),
        [](const std::vector<int>& a, const std::vector<int>& b) { return a.size() < b.size(); });
    return regions;
}

} // namespace

SearchBounds FindSearchBounds(const HoleBoard& board, bool colours, const HolePegs& start,
                              const HolePegs& goal) {
    constexpr std::size_t MaxPagodas = 12;
    SearchBounds bounds;
    bounds.parityChecks = FindParityChecks(board);
    std::vector<PagodaFunction> candidates = ClassCounts(board, colours);
    for (int seed = 0; seed < board.holes; ++seed)
        candidates.push_back(GrowPagoda(board, seed, start));
    bounds.pagodas = Useful(std::move(candidates), start, goal, MaxPagodas);
    bounds.regions = FindRegions(board);
    return bounds;
}

std::vector<std::uint8_t> PositionClass(const SearchBounds& bounds, const HolePegs& position) {
    std::vector<std::uint8_t> parities;
    for (const std::vector<std::uint8_t>& check : bounds.parityChecks) {
        std::uint8_t parity = 0;
        for (std::size_t h = 0; h < check.size(); ++h)
            parity ^= check[h] & (position[h] != 0 ? 1 : 0);
        parities.push_back(parity);
    }
    return parities;
}

int PagodaValue(const PagodaFunction& pagoda, const HolePegs& position) {
    int total = 0;
    for (std::size_t h = 0; h < position.size(); ++h) {
        if (position[h] != 0)
            total += pagoda.peg[h];
        if (position[h] == 2)
            total += pagoda.second[h];
    }
    return total;
}

// Over every colour of the jumping and the jumped peg: the peg on `from` moves to `to` keeping
// its colour, the peg on `over` goes.
bool IsPagodaFunction(const HoleBoard& board, const PagodaFunction& w) {
    for (const HoleLine& line : board.lines)
        for (const int jumping : {0, 1})
            for (const int jumped : {0, 1}) {
                const int before = w.peg[line.from] + jumping * w.second[line.from] + w.peg[line.over] +
                                   jumped * w.second[line.over];
                const int after = w.peg[line.to] + jumping * w.second[line.to];
                if (after > before)
                    return false;
            }
    return true;
}

bool IsClosedRegion(const HoleBoard& board, const std::vector<int>& region) {
    const auto inside = [&](int h) {
        return std::find(region.begin(), region.end(), h) != region.end();
    };
    return std::none_of(board.lines.begin(), board.lines.end(), [&](const HoleLine& line) {
        return inside(line.over) && !inside(line.from) && !inside(line.to);
    });
}

int MovesStillNeeded(const SearchBounds& bounds, const HolePegs& position, const HolePegs& goal,
                     bool singlePegGoal) {
    int moves = 0;
    bool singleFull = false;
    std::vector<bool> taken(position.size(), false);
    for (const std::vector<int>& region : bounds.regions) {
        const auto full = [&](const HolePegs& p) {
            return std::all_of(region.begin(), region.end(), [&](int h) { return p[h] != 0; });
        };
        if (!full(position) || (!singlePegGoal && full(goal)) ||
            std::any_of(region.begin(), region.end(), [&](int h) { return taken[h]; }))
            continue;
        for (const int h : region)
            taken[h] = true;
        ++moves;
        singleFull = singleFull || region.size() == 1;
    }
    return singlePegGoal && singleFull ? moves - 1 : moves;
}
