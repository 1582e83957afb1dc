// SPDX-License-Identifier: GPL-3.0-or-later
// Whole numbers of jumps between two positions: every jump along a line takes a peg from its first
// two holes and puts one on its third, so a sequence of jumps from one position to another uses each
// line some whole number of times x >= 0, and for every hole the pegs it loses add up to what it
// holds at the start less what it holds at the end. Where no whole numbers add up so, no jumps lead
// from the one to the other. Without whole numbers this is the program whose dual finds the pagoda
// functions; it is the whole numbers that settle positions no pagoda function can.
#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

#include "solver/SearchBounds.h"

enum class JumpCounts {
    None,      // proved: no whole numbers of jumps lead from the one position to the other
    Found,     // some do (which need not be any sequence of jumps the board allows)
    NotSettled // out of simplex steps, or called off
};

struct JumpCountAnswer {
    JumpCounts counts = JumpCounts::NotSettled;
    std::vector<int> perLine; // Found: how often each of the board's lines is jumped along
    std::size_t steps = 0;    // simplex steps taken, in all the programs of the branch and bound
};

// Colours aside: a peg of either colour counts the same. Branch and bound over the counts, with
// `mostSteps` simplex steps in all (the last program may take one more to find it out of them) and
// `cancelled` looked at before each program. "None" is told
// only where every branch cut off has been proved empty in whole numbers, and "found" only for
// counts checked in whole numbers to add up.
JumpCountAnswer JumpCountsBetween(const HoleBoard& board, const HolePegs& from, const HolePegs& to,
                                  std::size_t mostSteps, const std::atomic<bool>* cancelled);
