// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Simplex.h"

#include <cmath>

namespace {

constexpr double Tolerance = 1e-9;
// What the artificial variables may still add up to at a point taken as feasible.
constexpr double Infeasibility = 1e-7;

} // namespace

PhaseOne FeasiblePoint(const EqualityProgram& program, Entering rule, std::size_t mostSteps) {
    const std::size_t m = program.a.size(), n = m == 0 ? 0 : program.a.front().size();
    // Rows with b < 0 are turned round, and a row whose unit column cannot start the basis gets an
    // artificial variable instead; the first phase brings their sum to 0 where that can be done.
    std::vector<double> sign(m, 1.0);
    std::vector<bool> artificialRow(m, false);
    std::size_t artificials = 0;
    for (std::size_t i = 0; i < m; ++i) {
        sign[i] = program.b[i] < 0 ? -1.0 : 1.0;
        artificialRow[i] = program.b[i] < 0 || program.unitColumn[i] == NoUnitColumn;
        artificials += artificialRow[i] ? 1 : 0;
    }
    const std::size_t columns = n + artificials, rhs = columns;
    std::vector<SimplexRow> rows(m, SimplexRow(columns + 1, 0.0));
    std::vector<std::size_t> basis(m), first(m);
    // The reduced costs of the artificials' sum; its last entry is minus that sum.
    SimplexRow cost(columns + 1, 0.0);
    std::size_t artificial = n;
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t j = 0; j < n; ++j)
            rows[i][j] = sign[i] * program.a[i][j];
        rows[i][rhs] = sign[i] * program.b[i];
        basis[i] = program.unitColumn[i];
        if (artificialRow[i]) {
            rows[i][artificial] = 1.0;
            basis[i] = artificial++;
            for (std::size_t j = 0; j <= columns; ++j)
                cost[j] -= rows[i][j];
            cost[basis[i]] = 0.0;
        }
        first[i] = basis[i];
    }
    PhaseOne result;
    for (;; ++result.steps) {
        if (result.steps > mostSteps) {
            result.end = PhaseOne::End::OutOfSteps;
            return result;
        }
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
        // The sum of the artificials is never below 0: a column that falls without end is lost
        // precision.
        if (leaving == m)
            return result;
        SimplexRow& pivot = rows[leaving];
        const double scale = pivot[entering];
        for (double& x : pivot)
            x /= scale;
        const auto eliminate = [&](SimplexRow& row) {
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
    if (-cost[rhs] > Infeasibility) {
        // The weights of the rows are read off the reduced costs of the columns the basis began
        // with, each e_i in its turned row: 1 - y_i for an artificial, -y_i for a unit column.
        result.end = PhaseOne::End::Infeasible;
        result.farkas.resize(m);
        for (std::size_t i = 0; i < m; ++i)
            result.farkas[i] = sign[i] * ((artificialRow[i] ? 1.0 : 0.0) - cost[first[i]]);
        return result;
    }
    result.end = PhaseOne::End::Feasible;
    result.point.assign(n, 0.0);
    for (std::size_t i = 0; i < m; ++i)
        if (basis[i] < n)
            result.point[basis[i]] = rows[i][rhs];
    return result;
}

std::optional<std::vector<long long>> WholeMultiple(const std::vector<double>& numbers,
                                                    int largestDenominator, double largest) {
    for (int denominator = 1; denominator <= largestDenominator; ++denominator) {
        std::vector<long long> whole;
        for (const double x : numbers) {
            const double scaled = x * denominator, nearest = std::round(scaled);
            if (std::abs(scaled - nearest) > 1e-6 || std::abs(nearest) > largest)
                break;
            whole.push_back(static_cast<long long>(nearest));
        }
        if (whole.size() == numbers.size())
            return whole;
    }
    return std::nullopt;
}
