// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/HoleModel.h"

#include <algorithm>
#include <array>

#include "rules/Rules.h"
#include "solver/BoardGoal.h"
#include "solver/BoardSymmetry.h"
#include "solver/PatternDatabase.h"

namespace fewest_moves {

namespace {

HolePegs PegsOf(const HoleModel& m, const std::vector<int>& pegs, const std::vector<int>& second) {
    HolePegs position(m.holes, 0);
    for (const int i : pegs)
        position[i] = 1;
    for (const int i : second)
        position[i] = 2;
    return position;
}

// The bounds of the board, and what its position classes say at once: the goal must lie in the
// start's class, and so must the last peg when a single one anywhere is the goal.
MinMovesOutcome AddBounds(HoleModel& m) {
    const HolePegs start = PegsOf(m, m.startPegs, m.startSecond);
    const HolePegs goal = m.singlePegGoal ? HolePegs{} : PegsOf(m, m.goalPegs, m.goalSecond);
    m.bounds = FindSearchBounds({m.holes, m.lines}, m.colours, start, goal);
    const std::vector<std::uint8_t> startClass = PositionClass(m.bounds, start);
    if (!m.singlePegGoal)
        return PositionClass(m.bounds, goal) == startClass ? MinMovesOutcome::Proven
                                                           : MinMovesOutcome::Unsolvable;
    std::vector<bool> possible(m.holes, false);
    for (int i = 0; i < m.holes; ++i) {
        HolePegs single(m.holes, 0);
        single[i] = 1;
        if (PositionClass(m.bounds, single) != startClass)
            continue;
        // The search meets positions in any of their images.
        possible[i] = true;
        for (const std::vector<int>& perm : m.symmetries)
            possible[perm[i]] = true;
    }
    for (int i = 0; i < m.holes; ++i)
        if (possible[i])
            m.lastPegHoles.push_back(i);
    return m.lastPegHoles.empty() ? MinMovesOutcome::Unsolvable : MinMovesOutcome::Proven;
}

// The pattern databases of the moves each part of the board must still see begin before the goal,
// and of those it must have seen begin since each image of the start (the start, then its images in
// the order of the symmetries). The goal allows a part to keep only its own pegs, or with a single
// peg anywhere, none or one where the last peg can stand.
void AddPatternDatabases(HoleModel& m) {
    const HoleBoard board{m.holes, m.lines};
    SearchBounds& b = m.bounds;
    b.parts = ChooseParts(board);
    std::vector<bool> lastPeg(m.holes, false);
    for (const int i : m.lastPegHoles)
        lastPeg[i] = true;
    const HolePegs goal = PegsOf(m, m.goalPegs, {});
    for (const std::vector<int>& part : b.parts) {
        const std::uint32_t goalPattern = PatternOf(part, goal);
        b.databasesToGoal.push_back(MovesToGoal(board, part, [&](std::uint32_t pattern) {
            if (!m.singlePegGoal)
                return pattern == goalPattern;
            return pattern == 0 || ((pattern & (pattern - 1)) == 0 && lastPeg[part[__builtin_ctz(pattern)]]);
        }));
    }
    const HolePegs start = PegsOf(m, m.startPegs, {});
    std::vector<HolePegs> images{start};
    for (const std::vector<int>& perm : m.symmetries) {
        HolePegs image(m.holes, 0);
        for (int i = 0; i < m.holes; ++i)
            image[perm[i]] = start[i];
        images.push_back(image);
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto same =
            std::find(images.begin(), images.begin() + static_cast<std::ptrdiff_t>(i), images[i]);
        if (same != images.begin() + static_cast<std::ptrdiff_t>(i)) {
            b.databasesFromStart.push_back(
                b.databasesFromStart[static_cast<std::size_t>(same - images.begin())]);
            continue;
        }
        std::vector<std::vector<std::uint8_t>> databases;
        for (const std::vector<int>& part : b.parts)
            databases.push_back(MovesFromStart(board, part, PatternOf(part, images[i])));
        b.databasesFromStart.push_back(std::move(databases));
    }
}

} // namespace

MinMovesOutcome BuildModel(const LevelRecord& record, HoleModel& m, bool databases) {
    std::array<int, CellCount> indexOf{};
    indexOf.fill(-1);
    for (int cell = 0; cell < CellCount; ++cell) {
        if (!IsBoardHole(record, cell))
            continue;
        indexOf[cell] = m.holes++;
        m.cellOf.push_back(cell);
    }
    const BoardGoal goal = ReadGoal(record);
    if (goal.reading == GoalReading::Unsolvable)
        return MinMovesOutcome::Unsolvable;
    if (goal.reading == GoalReading::Unsupported)
        return MinMovesOutcome::Unsupported;
    m.singlePegGoal = goal.singlePeg;
    const auto holesOf = [&](const std::vector<int>& cells) {
        std::vector<int> holes;
        for (const int cell : cells)
            holes.push_back(indexOf[cell]);
        return holes;
    };
    m.startPegs = holesOf(goal.startPegs);
    m.startSecond = holesOf(goal.startSecond);
    m.goalPegs = holesOf(goal.goalPegs);
    m.goalSecond = holesOf(goal.goalSecond);
    m.colours = !m.startSecond.empty();
    if (!m.singlePegGoal) {
        m.startSecondCount = static_cast<int>(m.startSecond.size());
        m.startFirstCount = static_cast<int>(m.startPegs.size()) - m.startSecondCount;
        m.goalSecondCount = static_cast<int>(m.goalSecond.size());
        m.goalFirstCount = static_cast<int>(m.goalPegs.size()) - m.goalSecondCount;
    }

    const bool hexagon = record.isHexagon();
    const int directions = hexagon ? static_cast<int>(HexDirections) : static_cast<int>(SquareDirections);
    m.linesFrom.resize(m.holes);
    m.linesTo.resize(m.holes);
    for (int i = 0; i < m.holes; ++i) {
        const int from = m.cellOf[i];
        for (int d = 0; d < directions; ++d) {
            if (!hexagon && d % 2 == 1 && !record.allowsDiagonal())
                continue;
            const int to = hexagon ? HexLanding[from][d] : SquareLanding[from][d];
            if (to == NoCell || !IsBoardHole(record, to))
                continue;
            // The jumped-over cell is on the board whenever both ends are; it may still have no hole.
            const int over = JumpedOverCell(record.Shape, from, d);
            if (!IsBoardHole(record, over))
                continue;
            const auto index = static_cast<std::uint16_t>(m.lines.size());
            m.lines.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(indexOf[over]),
                               static_cast<std::uint8_t>(indexOf[to])});
            m.linesFrom[i].push_back(index);
            m.linesTo[indexOf[to]].push_back(index);
        }
    }
    for (const CellImage& image : BoardSymmetries(record, !m.singlePegGoal)) {
        std::vector<int> perm(m.holes);
        for (int i = 0; i < m.holes; ++i)
            perm[i] = indexOf[image[m.cellOf[i]]];
        m.symmetries.push_back(perm);
    }
    const MinMovesOutcome outcome = AddBounds(m);
    if (outcome == MinMovesOutcome::Proven && databases)
        AddPatternDatabases(m);
    return outcome;
}

} // namespace fewest_moves
