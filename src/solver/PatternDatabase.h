// SPDX-License-Identifier: GPL-3.0-or-later
// Disjoint pattern databases of the moves of a solution. Split the board's holes into parts with no
// hole in common; every move begins on exactly one hole, so the moves of a solution are the sum,
// over the parts, of the moves that begin on each. For one part the others are left open (any hole
// outside may hold a peg or not, whenever that helps), and its database holds the fewest moves that
// must begin on the part for every pattern of pegs on it. The databases are additive: the sum over
// the parts is a bound that no solution beats.
//
// A jump that begins where the one before landed continues that move, so a peg that arrives on the
// part from outside may jump on without a move beginning there; the databases follow that peg.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "solver/SearchBounds.h"

// The most holes a part may have: its databases have 2^n entries and are worked out over 2^n (n + 1)
// states.
constexpr int MaxPartHoles = 16;

// A value of the databases for a pattern that can never reach the goal (or never be reached).
constexpr std::uint8_t NeverInMoves = 255;

// Parts of at most MaxPartHoles holes that cover the board, with no hole in common. Each grows
// from an outlying hole and takes the holes that leave it the fewest lines passing over it from
// outside, since a peg from outside may take such a hole away without a move of the part's own.
std::vector<std::vector<int>> ChooseParts(const HoleBoard& board);

// Bit i of a pattern stands for a peg on the part's hole part[i].
std::uint32_t PatternOf(const std::vector<int>& part, const HolePegs& position);

// Per pattern of pegs on the part: the fewest moves that must still begin on it before the goal.
// `isGoal` says which patterns the goal allows on the part.
std::vector<std::uint8_t> MovesToGoal(const HoleBoard& board, const std::vector<int>& part,
                                      const std::function<bool(std::uint32_t)>& isGoal);

// Per pattern of pegs on the part: the fewest moves that must have begun on it since the start.
std::vector<std::uint8_t> MovesFromStart(const HoleBoard& board, const std::vector<int>& part,
                                         std::uint32_t startPattern);
