// What no sequence of jumps can change, for the fewest-moves search: parity classes, weighings that
// no jump can increase (pagoda functions and the peg counts of the cells a peg can ever reach) and
// regions that only a move of their own can break into or clear. All of it depends on the board's
// jump lines alone, over its holes numbered 0 to holes - 1.
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

// A weight for each peg on a hole, and for the pegs of the second colour a second weight on top:
// the weighing of a position is the sum over its pegs. No jump increases it, so a position can
// only reach positions that weigh no more.
struct Weighing {
    std::vector<int> peg;    // per hole
    std::vector<int> second; // per hole, added for a peg of the second colour
};

struct SearchBounds {
    // Each a 0/1 value per hole whose sum over the three holes of every line is even: a jump
    // changes all three, so the parity of its sum over the pegs never changes.
    std::vector<std::vector<std::uint8_t>> parityChecks;
    std::vector<Weighing> weighings;
    // Sets of holes such that no line passes over one of them from outside to outside, the smallest
    // first; they may overlap. While a region is full, only a peg of its own can jump out of it (and
    // nothing can jump in), so a full region that must lose a peg costs a move that begins inside
    // it, and regions with no hole in common cost a move each.
    std::vector<std::vector<int>> regions;
    // Parts that split the board, with no hole in common, and the moves that must begin on each:
    // per part and pattern of pegs on it (bit i for a peg on its i-th hole), those still to come
    // before the goal, and per image of the start those that must have come since. Made by the
    // search, which knows the images of the start and where a last peg may stand.
    std::vector<std::vector<int>> parts;
    std::vector<std::vector<std::uint8_t>> partsToGoal;
    std::vector<std::vector<std::vector<std::uint8_t>>> partsFromStart;
};

// The parity checks, the weighings and the regions of the board. Colours adds weighings for each
// colour alone (a target that asks for colours); start and goal pick the pagoda functions that
// tell most between them (the goal is empty for a single peg anywhere).
SearchBounds FindSearchBounds(const HoleBoard& board, bool colours, const HolePegs& start,
                              const HolePegs& goal);

// The parities of the checks over the position's pegs, one per check.
std::vector<std::uint8_t> ParityClass(const SearchBounds& bounds, const HolePegs& position);

int Weigh(const Weighing& weighing, const HolePegs& position);

// True when every line keeps the weighing from growing (a test for weighings made elsewhere).
bool NeverGrows(const HoleBoard& board, const Weighing& weighing);

// True when no line passes over the region from outside it to outside it.
bool IsClosedRegion(const HoleBoard& board, const std::vector<int>& region);

// Moves that must still begin before the position reaches the goal: each full region that the
// goal does not fill needs a move that begins in it, and those of them with no hole in common are
// counted, the smallest first. With a single peg anywhere as the goal, the last peg may stay in
// one region of a single hole, which then needs no move.
int MovesStillNeeded(const SearchBounds& bounds, const HolePegs& position, const HolePegs& goal,
                     bool singlePegGoal);
