// SPDX-License-Identifier: GPL-3.0-or-later
// What no sequence of jumps can change, for the fewest-moves search: position classes, pagoda
// functions (among them the peg counts of the cells a peg can ever reach) and Merson regions, which
// only a move of their own can break into or clear. All of it depends on the board's jump lines
// alone, over its holes numbered 0 to holes - 1.
#pragma once

#include <cstdint>
#include <vector>

struct HoleLine {
    std::uint8_t from, over, to;
};

struct HoleBoard {
    int holes = 0;
    std::vector<HoleLine> lines; // every jump the board allows, each direction a line of its own
};

// A position over the holes: 0 empty, 1 a peg of the first colour, 2 one of the second colour.
using HolePegs = std::vector<std::uint8_t>;

// A pagoda function: a weight for each peg on a hole, and for the pegs of the second colour a second
// weight on top; its value at a position is the sum over its pegs. No jump increases the value, so
// a position can only reach positions of no greater value.
struct PagodaFunction {
    std::vector<int> peg;    // per hole
    std::vector<int> second; // per hole, added for a peg of the second colour
};

struct SearchBounds {
    // Each a 0/1 value per hole whose sum over the three holes of every line is even: a jump
    // changes all three, so the parity of its sum over the pegs never changes. Together their
    // parities tell a position's class.
    std::vector<std::vector<std::uint8_t>> parityChecks;
    std::vector<PagodaFunction> pagodas;
    // Merson regions: sets of holes such that no line passes over one of them from outside to
    // outside, the smallest first; they may overlap. While a region is full, only a peg of its own
    // can jump out of it (and nothing can jump in), so a full region that must lose a peg costs a
    // move that begins inside it, and regions with no hole in common cost a move each.
    std::vector<std::vector<int>> regions;
    // Parts that split the board, with no hole in common, and their pattern databases of the moves
    // that must begin on each: per part and pattern of pegs on it (bit i for a peg on its i-th
    // hole), those still to come before the goal, and per image of the start those that must have
    // come since. Made by the search, which knows the images of the start and where a last peg may
    // stand.
    std::vector<std::vector<int>> parts;
    std::vector<std::vector<std::uint8_t>> databasesToGoal;
    std::vector<std::vector<std::vector<std::uint8_t>>> databasesFromStart;
};

// The parity checks, the pagoda functions and the regions of the board. Colours adds pagoda
// functions for each colour alone (a target that asks for colours); start and goal pick those that
// tell most between them (the goal is empty for a single peg anywhere).
SearchBounds FindSearchBounds(const HoleBoard& board, bool colours, const HolePegs& start,
                              const HolePegs& goal);

// The position's class: the parities of the checks over its pegs, one per check.
std::vector<std::uint8_t> PositionClass(const SearchBounds& bounds, const HolePegs& position);

int PagodaValue(const PagodaFunction& pagoda, const HolePegs& position);

// True when no jump along any line, whatever the colours of its pegs, increases the function's
// value: the test that makes it a pagoda function (for functions made elsewhere).
bool IsPagodaFunction(const HoleBoard& board, const PagodaFunction& pagoda);

// True when no line passes over the region from outside it to outside it.
bool IsClosedRegion(const HoleBoard& board, const std::vector<int>& region);

// Moves that must still begin before the position reaches the goal: each full region that the
// goal does not fill needs a move that begins in it, and those of them with no hole in common are
// counted, the smallest first. With a single peg anywhere as the goal, the last peg may stay in
// one region of a single hole, which then needs no move.
int MovesStillNeeded(const SearchBounds& bounds, const HolePegs& position, const HolePegs& goal,
                     bool singlePegGoal);
