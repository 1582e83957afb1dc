// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/ThreadRunner.h"

#include <thread>
#include <vector>

namespace fewest_moves {

void RunOnThreads(int threads, const std::function<void(int)>& work) {
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back([&work, t] { work(t); });
    work(0);
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace fewest_moves
