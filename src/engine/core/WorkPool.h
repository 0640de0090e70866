#pragma once

// The threads the engine shares out among the parallel pieces of its jobs. A whole
// job (a scan, a search) runs on whoever called it, usually a GUI worker thread; when
// a piece of it can run in parallel (a tree walk, a batch of reads, a batch of
// hashes) the caller forms a team with the pool's idle threads for that piece.
#include "engine/core/Job.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

namespace tidvale {

// What a piece of work waits on. Reading folders and files waits on the disk, and a
// disk answers sooner when it has many requests to order, so the I/O lane runs more
// threads than there are cores; hashing content in memory waits on a core, and more
// threads than cores only take turns.
enum class Lane { cpu, io };

class WorkPool {
public:
    WorkPool(unsigned cpuWidth, unsigned ioWidth);
    ~WorkPool(); // lets running teams finish, then joins
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // How many threads at most run one team of `lane`, the caller included.
    unsigned width(Lane lane) const;

    // Runs work(worker) on the calling thread as worker 0 and on up to width(lane) - 1
    // pool threads as workers 1, 2, …, and returns once every copy that started has
    // returned. Copies the pool could not start before the caller's copy returned are
    // never started, so a busy pool costs speed, not progress: the caller's copy must
    // be able to do all the work alone, the others only help. `worker` names the
    // thread for per-thread state; it is below width(lane) and below `atMost`.
    void team(Lane lane, const std::function<void(unsigned worker)>& work,
        size_t atMost = static_cast<size_t>(-1));

    // Runs body(i, worker) for every i in [0, n), handing out indices in increasing
    // order (work listed biggest first is started biggest first). Stops handing them
    // out once the job is cancelled. Results belong in per-index slots: which thread
    // ran which index varies, the slots do not.
    template <class Body> void forEach(Lane lane, size_t n, const JobControl& job, Body&& body)
    {
        std::atomic<size_t> next{0};
        auto run = [&](unsigned worker) {
            for (size_t i;
                 !job.cancelled() && (i = next.fetch_add(1, std::memory_order_relaxed)) < n;)
                body(i, worker);
        };
        team(lane, run, n);
    }

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A pool for this machine: as many CPU lanes as cores, many more I/O lanes.
std::unique_ptr<WorkPool> makeMachinePool();

} // namespace tidvale
