// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/JumpCountProof.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "solver/ReachBoard.h"
#include "solver/Simplex.h"

namespace {

// As for the pagoda functions: the steepest rule first, Bland's past this many steps per row.
constexpr std::size_t SteepestStepsPerRow = 8;
constexpr std::size_t LowestStepsPerRow = 20;
// The weights of a proof are rational; these bound the denominators tried and the whole weights
// kept, so that every sum the check makes stays far inside a long long (lines times 3 * 2^20 times
// at most 64 jumps).
constexpr int LargestDenominator = 4096;
constexpr double LargestWeight = 1 << 20;
// How far from a whole number a count may lie and still be taken for it; the counts are then
// checked in whole numbers.
constexpr double NearlyWhole = 1e-6;

// Per line, the least and the most jumps along it that a branch allows.
struct Box {
    std::vector<int> low, high;
};

int PegCount(const HolePegs& pegs, std::size_t hole) {
    return pegs[hole] != 0 ? 1 : 0;
}

// What the pegs that leave each hole must add up to, once the jumps a branch makes at the least
// are taken.
std::vector<long long> StillToLeave(const HoleBoard& board, const std::vector<long long>& leave,
                                    const std::vector<int>& low) {
    std::vector<long long> rest = leave;
    for (std::size_t j = 0; j < board.lines.size(); ++j) {
        const HoleLine& line = board.lines[j];
        rest[line.from] -= low[j];
        rest[line.over] -= low[j];
        rest[line.to] += low[j];
    }
    return rest;
}

// The branch's program over the jumps beyond the least, one column per line not fixed: a row per
// hole that any such line touches or that must still lose or gain pegs, and a row with a slack for
// each line whose most is below what the peg count allows anyway.
struct Program {
    EqualityProgram equalities;
    std::vector<std::size_t> holeOfRow;
    std::vector<std::size_t> lineOfColumn;
};

Program BranchProgram(const HoleBoard& board, const std::vector<long long>& rest, const Box& box, int jumps) {
    const std::size_t holes = static_cast<std::size_t>(board.holes);
    Program program;
    std::vector<std::size_t> rowOf(holes, NoUnitColumn);
    std::vector<bool> touched(holes, false);
    for (std::size_t j = 0; j < board.lines.size(); ++j)
        if (box.low[j] < box.high[j]) {
            program.lineOfColumn.push_back(j);
            touched[board.lines[j].from] = touched[board.lines[j].over] = touched[board.lines[j].to] = true;
        }
    std::vector<std::size_t> bounded;
    for (std::size_t c = 0; c < program.lineOfColumn.size(); ++c)
        if (box.high[program.lineOfColumn[c]] < jumps)
            bounded.push_back(c);
    const std::size_t columns = program.lineOfColumn.size() + bounded.size();
    EqualityProgram& p = program.equalities;
    for (std::size_t h = 0; h < holes; ++h)
        if (touched[h] || rest[h] != 0) {
            rowOf[h] = p.a.size();
            program.holeOfRow.push_back(h);
            p.a.emplace_back(columns, 0.0);
            p.b.push_back(static_cast<double>(rest[h]));
            p.unitColumn.push_back(NoUnitColumn);
        }
    for (std::size_t c = 0; c < program.lineOfColumn.size(); ++c) {
        const HoleLine& line = board.lines[program.lineOfColumn[c]];
        p.a[rowOf[line.from]][c] += 1;
        p.a[rowOf[line.over]][c] += 1;
        p.a[rowOf[line.to]][c] -= 1;
    }
    for (std::size_t k = 0; k < bounded.size(); ++k) {
        const std::size_t c = bounded[k], j = program.lineOfColumn[c];
        SimplexRow row(columns, 0.0);
        row[c] = 1;
        row[program.lineOfColumn.size() + k] = 1;
        p.a.push_back(row);
        p.b.push_back(box.high[j] - box.low[j]);
        p.unitColumn.push_back(program.lineOfColumn.size() + k);
    }
    return program;
}

// True when the weights per hole prove the branch empty in whole numbers: whatever the counts in the
// box, the weighted pegs their jumps take away come to less than those that must go.
bool ProvesEmpty(const HoleBoard& board, const std::vector<long long>& leave, const Box& box,
                 const std::vector<long long>& weight) {
    long long most = 0, needed = 0;
    for (std::size_t j = 0; j < board.lines.size(); ++j) {
        const HoleLine& line = board.lines[j];
        const long long perJump = weight[line.from] + weight[line.over] - weight[line.to];
        most += perJump * (perJump > 0 ? box.high[j] : box.low[j]);
    }
    for (std::size_t h = 0; h < leave.size(); ++h)
        needed += weight[h] * leave[h];
    return most < needed;
}

// The Farkas weights of the branch's program, per hole, made whole and checked.
bool CertifiedEmpty(const HoleBoard& board, const std::vector<long long>& leave, const Box& box,
                    const Program& program, const std::vector<double>& farkas) {
    std::vector<double> weight(leave.size(), 0.0);
    for (std::size_t r = 0; r < program.holeOfRow.size(); ++r)
        weight[program.holeOfRow[r]] = farkas[r];
    const std::optional<std::vector<long long>> whole =
        WholeMultiple(weight, LargestDenominator, LargestWeight);
    return whole && ProvesEmpty(board, leave, box, *whole);
}

// The count to branch on: the one furthest from a whole number, or counts.size() where all of them
// are whole.
std::size_t FurthestFromWhole(const std::vector<double>& counts) {
    std::size_t furthest = counts.size();
    double off = NearlyWhole;
    for (std::size_t j = 0; j < counts.size(); ++j)
        if (std::abs(counts[j] - std::round(counts[j])) > off) {
            off = std::abs(counts[j] - std::round(counts[j]));
            furthest = j;
        }
    return furthest;
}

bool AddUp(const HoleBoard& board, const std::vector<long long>& leave, const std::vector<int>& perLine) {
    if (std::any_of(perLine.begin(), perLine.end(), [](int x) { return x < 0; }))
        return false;
    const std::vector<long long> rest = StillToLeave(board, leave, perLine);
    return std::all_of(rest.begin(), rest.end(), [](long long r) { return r == 0; });
}

} // namespace

JumpCountAnswer JumpCountsBetween(const HoleBoard& board, const HolePegs& from, const HolePegs& to,
                                  std::size_t mostSteps, const std::atomic<bool>* cancelled) {
    const std::size_t holes = static_cast<std::size_t>(board.holes), lines = board.lines.size();
    std::vector<long long> leave(holes);
    long long pegsLost = 0;
    for (std::size_t h = 0; h < holes; ++h) {
        leave[h] = PegCount(from, h) - PegCount(to, h);
        pegsLost += leave[h];
    }
    JumpCountAnswer answer;
    // Every jump takes one peg away.
    if (pegsLost < 0) {
        answer.counts = JumpCounts::None;
        return answer;
    }
    const int jumps = static_cast<int>(pegsLost);
    // Depth first, the branch with the fewer jumps on top.
    std::vector<Box> open{{std::vector<int>(lines, 0), std::vector<int>(lines, jumps)}};
    while (!open.empty()) {
        if (reach::CalledOff(cancelled))
            return answer;
        const Box box = std::move(open.back());
        open.pop_back();
        const std::vector<long long> rest = StillToLeave(board, leave, box.low);
        const Program program = BranchProgram(board, rest, box, jumps);
        const std::size_t rows = program.equalities.a.size();
        const auto solve = [&](Entering rule, std::size_t perRow) {
            const std::size_t left = mostSteps - std::min(mostSteps, answer.steps);
            PhaseOne solved = FeasiblePoint(program.equalities, rule, std::min(perRow * rows, left));
            answer.steps += solved.steps;
            return solved;
        };
        PhaseOne solved = solve(Entering::Steepest, SteepestStepsPerRow);
        if (solved.end == PhaseOne::End::OutOfSteps && answer.steps < mostSteps)
            solved = solve(Entering::Lowest, LowestStepsPerRow);
        if (solved.end == PhaseOne::End::Infeasible) {
            if (!CertifiedEmpty(board, leave, box, program, solved.farkas))
                return answer;
            continue;
        }
        if (solved.end != PhaseOne::End::Feasible)
            return answer;
        std::vector<double> count(box.low.begin(), box.low.end());
        for (std::size_t c = 0; c < program.lineOfColumn.size(); ++c)
            count[program.lineOfColumn[c]] += solved.point[c];
        const std::size_t branch = FurthestFromWhole(count);
        if (branch == lines) {
            std::vector<int> perLine;
            for (const double x : count)
                perLine.push_back(static_cast<int>(std::lround(x)));
            if (!AddUp(board, leave, perLine))
                return answer;
            answer.counts = JumpCounts::Found;
            answer.perLine = std::move(perLine);
            return answer;
        }
        Box more = box, fewer = box;
        more.low[branch] = static_cast<int>(std::ceil(count[branch]));
        fewer.high[branch] = static_cast<int>(std::floor(count[branch]));
        open.push_back(std::move(more));
        open.push_back(std::move(fewer));
    }
    answer.counts = JumpCounts::None;
    return answer;
}
