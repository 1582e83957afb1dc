// SPDX-License-Identifier: GPL-3.0-or-later
// The fewest-moves search with the bounds of the board changed before it begins: a seam through
// which the tests show that a bound that does not hold is caught.
#pragma once

#include <functional>

#include "rules/LevelRecord.h"
#include "solver/SearchBounds.h"
#include "solver/Solver.h"

using BoundsAdjustment = std::function<void(SearchBounds&)>;
MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits,
                               const BoundsAdjustment& adjust);
