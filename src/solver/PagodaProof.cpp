// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/PagodaProof.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr double Tolerance = 1e-9;
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

using Row = std::vector<double>;

enum class Entering { Steepest, Lowest };

struct Corner {
    bool gaveUp = false;
    std::optional<std::vector<double>> point; // nothing where there is none
};

// Some x with a·x <= b for every row, x free of sign: phase one of the simplex method over x = u - v,
// a slack for every row and an artificial variable for every row with b < 0, whose sum it brings to
// 0 where that can be done.
Corner SomePointWithin(const std::vector<Row>& a, const std::vector<double>& b, Entering rule) {
    const std::size_t m = a.size(), n = a.front().size();
    std::size_t artificials = 0;
    for (const double bound : b)
        artificials += bound < 0 ? 1 : 0;
    const std::size_t columns = 2 * n + m + artificials, rhs = columns;
    std::vector<Row> rows(m, Row(columns + 1, 0.0));
    std::vector<std::size_t> basis(m);
    // The reduced costs of the artificials' sum; its last entry is minus that sum.
    Row cost(columns + 1, 0.0);
    std::size_t artificial = 2 * n + m;
    for (std::size_t i = 0; i < m; ++i) {
        const double sign = b[i] < 0 ? -1.0 : 1.0;
        for (std::size_t j = 0; j < n; ++j) {
            rows[i][j] = sign * a[i][j];
            rows[i][n + j] = -sign * a[i][j];
        }
        rows[i][2 * n + i] = sign;
        rows[i][rhs] = sign * b[i];
        basis[i] = 2 * n + i;
        if (b[i] < 0) {
            rows[i][artificial] = 1.0;
            basis[i] = artificial++;
            for (std::size_t j = 0; j <= columns; ++j)
                cost[j] -= rows[i][j];
            cost[basis[i]] = 0.0;
        }
    }
    const std::size_t mostSteps = (rule == Entering::Steepest ? SteepestStepsPerRow : LowestStepsPerRow) * m;
    for (std::size_t steps = 0;; ++steps) {
        if (steps > mostSteps)
            return {true, std::nullopt};
        std::size_t entering = columns;
        double steepest = -Tolerance;
        for (std::size_t j = 0; j < columns && (rule == Entering::Steepest || entering == columns); ++j)
            if (cost[j] < steepest) {
                steepest = cost[j];
                entering = j;
            }
        if (entering == columns)
            break;
        std::size_t leaving = m;
        double best = 0;
        for (std::size_t i = 0; i < m; ++i) {
            if (rows[i][entering] <= Tolerance)
                continue;
            const double ratio = rows[i][rhs] / rows[i][entering];
            if (leaving == m || ratio < best - Tolerance ||
                (ratio <= best + Tolerance && basis[i] < basis[leaving])) {
                leaving = i;
                best = ratio;
            }
        }
        if (leaving == m)
            return {};
        Row& pivot = rows[leaving];
        const double scale = pivot[entering];
        for (double& x : pivot)
            x /= scale;
        const auto eliminate = [&](Row& row) {
            const double factor = row[entering];
            if (std::abs(factor) > Tolerance)
                for (std::size_t j = 0; j <= columns; ++j)
                    row[j] -= factor * pivot[j];
        };
        for (std::size_t i = 0; i < m; ++i)
            if (i != leaving)
                eliminate(rows[i]);
        eliminate(cost);
        basis[leaving] = entering;
    }
    if (-cost[rhs] > 1e-7)
        return {};
    std::vector<double> x(2 * n, 0.0);
    for (std::size_t i = 0; i < m; ++i)
        if (basis[i] < 2 * n)
            x[basis[i]] = rows[i][rhs];
    std::vector<double> point(n);
    for (std::size_t j = 0; j < n; ++j)
        point[j] = x[j] - x[n + j];
    return {false, point};
}

// The weights times the smallest denominator that makes them all whole.
std::optional<std::vector<int>> WholeWeights(const std::vector<double>& weights) {
    for (int denominator = 1; denominator <= LargestDenominator; ++denominator) {
        std::vector<int> whole;
        for (const double w : weights) {
            const double scaled = w * denominator, nearest = std::round(scaled);
            if (std::abs(scaled - nearest) > 1e-6 || std::abs(nearest) > LargestWeight)
                break;
            whole.push_back(static_cast<int>(nearest));
        }
        if (whole.size() == weights.size())
            return whole;
    }
    return std::nullopt;
}

} // namespace

std::optional<PagodaFunction> PagodaAgainst(const HoleBoard& board, const HolePegs& from,
                                            const HolePegs& to) {
    const std::size_t n = static_cast<std::size_t>(board.holes);
    // No jump raises the value: w(to) - w(from) - w(over) <= 0 along every line. The value at `to`
    // is at least 1 and the value at `from` at most 0.
    std::vector<Row> a;
    std::vector<double> b;
    for (const HoleLine& line : board.lines) {
        Row row(n, 0.0);
        row[line.to] += 1;
        row[line.from] -= 1;
        row[line.over] -= 1;
        a.push_back(row);
        b.push_back(0);
    }
    Row atTarget(n, 0.0), atStart(n, 0.0);
    for (std::size_t h = 0; h < n; ++h) {
        atTarget[h] = to[h] != 0 ? -1.0 : 0.0;
        atStart[h] = from[h] != 0 ? 1.0 : 0.0;
    }
    a.push_back(atTarget);
    b.push_back(-1);
    a.push_back(atStart);
    b.push_back(0);
    Corner corner = SomePointWithin(a, b, Entering::Steepest);
    if (corner.gaveUp)
        corner = SomePointWithin(a, b, Entering::Lowest);
    const std::optional<std::vector<int>> whole = corner.point ? WholeWeights(*corner.point) : std::nullopt;
    if (!whole)
        return std::nullopt;
    PagodaFunction pagoda{*whole, std::vector<int>(n, 0)};
    // The floating-point search only proposes; whole numbers decide.
    if (!IsPagodaFunction(board, pagoda) || PagodaValue(pagoda, from) >= PagodaValue(pagoda, to))
        return std::nullopt;
    return pagoda;
}
