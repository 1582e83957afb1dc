// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/FewestMoves.h"

#include <algorithm>
#include <new>

#include "solver/FewestMovesSearch.h"
#include "solver/HoleModel.h"

namespace {

// On boards of few pegs the layers are small, and on open ones, where a peg has countless runs of
// jumps, they win by far; elsewhere meeting in the middle does. So the layers get a quarter of
// the time (and of the work) first, and meeting in the middle the rest, starting from what the
// layers proved.
constexpr int LayersPegLimit = 30;

template <class Run> MinMovesResult ByLayersThenMeeting(const MinMovesLimits& limits, const Run& run) {
    MinMovesLimits layers = limits;
    layers.method = MinMovesMethod::ByLayers;
    layers.seconds = limits.seconds / 4;
    layers.maxWork = limits.maxWork / 4;
    if (limits.maxWork > 0 && layers.maxWork == 0)
        layers.maxWork = 1;
    const MinMovesResult first = run(layers);
    if (first.outcome != MinMovesOutcome::OutOfLimits)
        return first;
    MinMovesLimits meeting = limits;
    meeting.method = MinMovesMethod::MeetInTheMiddle;
    meeting.seconds = std::max(0.0, limits.seconds - first.seconds);
    if (limits.maxWork > 0)
        meeting.maxWork = limits.maxWork > first.work ? limits.maxWork - first.work : 1;
    MinMovesResult second = run(meeting);
    second.lowerBound = std::max(second.lowerBound, first.lowerBound);
    second.seconds += first.seconds;
    second.positions += first.positions;
    second.work += first.work;
    second.peakBytes = std::max(second.peakBytes, first.peakBytes);
    second.memoryRanOut = second.memoryRanOut || first.memoryRanOut;
    second.clockStopped =
        second.clockStopped || (first.clockStopped && second.outcome == MinMovesOutcome::OutOfLimits);
    return second;
}

} // namespace

MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits) {
    return FindFewestMoves(record, limits, {});
}

MinMovesResult FindFewestMoves(const LevelRecord& record, const MinMovesLimits& limits,
                               const BoundsAdjustment& adjust) {
    fewest_moves::HoleModel model;
    const MinMovesOutcome possible = fewest_moves::BuildModel(record, model);
    if (possible != MinMovesOutcome::Proven) {
        MinMovesResult result;
        result.outcome = possible;
        return result;
    }
    if (adjust)
        adjust(model.bounds);
    const int bits = model.colours ? 2 * model.holes : model.holes;
    const auto run = [&](const MinMovesLimits& chosen) {
        if (bits <= 64)
            return fewest_moves::FewestMovesSearch<1>(model, chosen).run();
        if (bits <= 128)
            return fewest_moves::FewestMovesSearch<2>(model, chosen).run();
        return fewest_moves::FewestMovesSearch<3>(model, chosen).run();
    };
    try {
        if (limits.method != MinMovesMethod::Chosen)
            return run(limits);
        if (static_cast<int>(model.startPegs.size()) > LayersPegLimit) {
            MinMovesLimits meeting = limits;
            meeting.method = MinMovesMethod::MeetInTheMiddle;
            return run(meeting);
        }
        return ByLayersThenMeeting(limits, run);
    } catch (const std::bad_alloc&) {
        // Not even the search's first tables could be had.
        MinMovesResult result;
        result.memoryRanOut = true;
        return result;
    }
}
