// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/PagodaProof.h"

#include <cstddef>
#include <vector>

#include "solver/Simplex.h"

namespace {

// The rows are very degenerate (nearly all of them bound a difference by 0), so the simplex method
// may take steps that gain nothing. Taking the column of the most negative reduced cost first is the
// quicker way and settles most, but may cycle; past this many steps per row it gives up and Bland's
// rule (the lowest such column), which never cycles, tries again. More steps found next to no proof
// more on the built-in boards of up to 45 holes, and either rule alone fewer than both.
constexpr std::size_t SteepestStepsPerRow = 8;
constexpr std::size_t LowestStepsPerRow = 20;
// A corner of the weights' polytope has rational weights; these bound the denominators tried and
// the whole weights kept, so that a position's value stays far inside an int.
constexpr int LargestDenominator = 4096;
constexpr double LargestWeight = 1 << 20;

// Some x with a·x <= b for every row, x free of sign: x = u - v with u, v >= 0 and a slack for every
// row.
std::optional<std::vector<double>> SomePointWithin(const std::vector<SimplexRow>& a,
                                                   const std::vector<double>& b) {
    const std::size_t m = a.size(), n = a.front().size();
    EqualityProgram program;
    program.b = b;
    for (std::size_t i = 0; i < m; ++i) {
        SimplexRow row(2 * n + m, 0.0);
        for (std::size_t j = 0; j < n; ++j) {
            row[j] = a[i][j];
            row[n + j] = -a[i][j];
        }
        row[2 * n + i] = 1.0;
        program.a.push_back(row);
        program.unitColumn.push_back(2 * n + i);
    }
    PhaseOne found = FeasiblePoint(program, Entering::Steepest, SteepestStepsPerRow * m);
    if (found.end == PhaseOne::End::OutOfSteps)
        found = FeasiblePoint(program, Entering::Lowest, LowestStepsPerRow * m);
    if (found.end != PhaseOne::End::Feasible)
        return std::nullopt;
    std::vector<double> point(n);
    for (std::size_t j = 0; j < n; ++j)
        point[j] = found.point[j] - found.point[n + j];
    return point;
}

} // namespace

std::optional<PagodaFunction> PagodaAgainst(const HoleBoard& board, const HolePegs& from,
                                            const HolePegs& to) {
    const std::size_t n = static_cast<std::size_t>(board.holes);
    // No jump raises the value: w(to) - w(from) - w(over) <= 0 along every line. The value at `to`
    // is at least 1 and the value at `from` at most 0.
    std::vector<SimplexRow> a;
    std::vector<double> b;
    for (const HoleLine& line : board.lines) {
        SimplexRow row(n, 0.0);
        row[line.to] += 1;
        row[line.from] -= 1;
        row[line.over] -= 1;
        a.push_back(row);
        b.push_back(0);
    }
    SimplexRow atTarget(n, 0.0), atStart(n, 0.0);
    for (std::size_t h = 0; h < n; ++h) {
        atTarget[h] = to[h] != 0 ? -1.0 : 0.0;
        atStart[h] = from[h] != 0 ? 1.0 : 0.0;
    }
    a.push_back(atTarget);
    b.push_back(-1);
    a.push_back(atStart);
    b.push_back(0);
    const std::optional<std::vector<double>> point = SomePointWithin(a, b);
    const std::optional<std::vector<long long>> whole =
        point ? WholeMultiple(*point, LargestDenominator, LargestWeight) : std::nullopt;
    if (!whole)
        return std::nullopt;
    PagodaFunction pagoda{std::vector<int>(whole->begin(), whole->end()), std::vector<int>(n, 0)};
    // The floating-point search only proposes; whole numbers decide.
    if (!IsPagodaFunction(board, pagoda) || PagodaValue(pagoda, from) >= PagodaValue(pagoda, to))
        return std::nullopt;
    return pagoda;
}
