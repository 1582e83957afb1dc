// SPDX-License-Identifier: GPL-3.0-or-later
// A pagoda function made for one pair of positions, found by linear programming over the weights of
// the holes: it is worth less at the first position than at the second, and so proves that no jumps
// lead from the one to the other. The functions made once for a board are the same for every
// position; one made for the position itself still settles many whose search ran out, such as those
// with pegs stranded where nothing can ever jump over them.
#pragma once

#include <optional>

#include "solver/SearchBounds.h"

// Colours aside: a peg of either colour counts the same. Nothing when linear programming finds no
// such function, or none whose weights are whole numbers of a size it trusts; what it returns has
// been checked in whole numbers to be a pagoda function worth less at `from` than at `to`.
std::optional<PagodaFunction> PagodaAgainst(const HoleBoard& board, const HolePegs& from, const HolePegs& to);
