// SPDX-License-Identifier: GPL-3.0-or-later
// The first phase of the simplex method over a dense tableau: some x >= 0 with a·x = b, or weights
// over the rows that prove there is none. Both proofs that a position cannot reach another ask it:
// the pagoda function made for the pair, and the whole numbers of jumps between them. Floating point
// only proposes here; what it finds is checked in whole numbers by those who ask.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

using SimplexRow = std::vector<double>;

// The column that enters the basis: the one of the most negative reduced cost is the quicker way,
// but may cycle on degenerate rows; the lowest such column (Bland's rule) never cycles.
enum class Entering { Steepest, Lowest };

constexpr std::size_t NoUnitColumn = static_cast<std::size_t>(-1);

struct EqualityProgram {
    std::vector<SimplexRow> a;
    std::vector<double> b;
    // Per row, a column that is 1 in that row and 0 in every other, or NoUnitColumn: where b >= 0
    // it starts the basis, and the row needs no artificial variable of its own.
    std::vector<std::size_t> unitColumn;
};

struct PhaseOne {
    enum class End { Feasible, Infeasible, OutOfSteps, LostItsWay } end = End::LostItsWay;
    std::vector<double> point; // Feasible: x, per column
    // Infeasible: y per row with y·a_j <= 0 for every column j and y·b > 0, so that no x >= 0
    // has a·x = b.
    std::vector<double> farkas;
    std::size_t steps = 0;
};

PhaseOne FeasiblePoint(const EqualityProgram& program, Entering rule, std::size_t mostSteps);

// The numbers times the smallest denominator up to `largestDenominator` that makes them all whole,
// none larger than `largest`; nothing where there is none.
std::optional<std::vector<long long>> WholeMultiple(const std::vector<double>& numbers,
                                                    int largestDenominator, double largest);
