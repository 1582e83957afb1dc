// SPDX-License-Identifier: GPL-3.0-or-later
// Work shared out over threads: the searches split each round of their work between them.
#pragma once

#include <functional>

namespace fewest_moves {

// Runs work(t) for every t below `threads`, work(0) on the calling thread and each other on a thread
// of its own, and returns once all have ended.
void RunOnThreads(int threads, const std::function<void(int)>& work);

} // namespace fewest_moves
