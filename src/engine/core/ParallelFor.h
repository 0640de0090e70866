#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace tidvale {

// How many threads the finders use: every core, but not more than a handful.
inline unsigned finderThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

// Runs body(i, worker) for every i in [0, n) on `threads` threads (the caller is one
// of them); `worker` is below `threads` and names the thread, for per-thread buffers.
// Indices are handed out in increasing order, so work listed biggest first is started
// biggest first. Results must go to per-index slots: the order of completion is not
// fixed, the slots are.
template <class Body> void parallelFor(size_t n, unsigned threads, Body&& body)
{
    std::atomic<size_t> next{0};
    auto work = [&](unsigned worker) {
        for (size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < n;)
            body(i, worker);
    };
    const unsigned helpers = static_cast<unsigned>(std::min<size_t>(threads, n)) - (n > 0);
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (unsigned t = 0; t < helpers; ++t)
        pool.emplace_back(work, t + 1);
    work(0);
    for (auto& t : pool)
        t.join();
}

} // namespace tidvale
