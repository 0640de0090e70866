#include "engine/core/WorkPool.h"

#include "engine/core/ThreadPriority.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace tidvale {
namespace {

// One piece of work and the pool threads that joined it.
struct Team {
    explicit Team(const std::function<void(unsigned)>& w)
        : work(w)
    {
    }
    const std::function<void(unsigned)>& work; // the caller's: valid until closed and idle
    std::mutex mutex;
    std::condition_variable idle;
    unsigned joined = 0; // GUARDED_BY(mutex)
    unsigned active = 0; // GUARDED_BY(mutex)
    bool closed = false; // GUARDED_BY(mutex): the caller is done, late helpers stay out
};

} // namespace

struct WorkPool::State {
    struct Threads {
        unsigned width = 1;
        std::deque<std::shared_ptr<Team>> invitations; // GUARDED_BY(mutex)
        std::vector<std::thread> threads;              // GUARDED_BY(mutex)
        unsigned waiting = 0;                          // GUARDED_BY(mutex)
        std::condition_variable wake;
    };
    std::mutex mutex;
    Threads lanes[2];
    bool stopping = false; // GUARDED_BY(mutex)

    Threads& of(Lane lane) { return lanes[lane == Lane::io ? 1 : 0]; }

    void serve(Threads& lane)
    {
        for (;;) {
            std::shared_ptr<Team> team;
            {
                std::unique_lock guard(mutex);
                ++lane.waiting;
                lane.wake.wait(guard, [&] { return stopping || !lane.invitations.empty(); });
                --lane.waiting;
                if (lane.invitations.empty())
                    return; // stopping
                team = std::move(lane.invitations.front());
                lane.invitations.pop_front();
            }
            unsigned worker = 0;
            {
                std::lock_guard guard(team->mutex);
                if (team->closed)
                    continue;
                worker = ++team->joined;
                ++team->active;
            }
            team->work(worker);
            std::lock_guard guard(team->mutex);
            if (--team->active == 0)
                team->idle.notify_all();
        }
    }
};

WorkPool::WorkPool(unsigned cpuWidth, unsigned ioWidth)
    : state_(std::make_unique<State>())
{
    state_->of(Lane::cpu).width = std::max(1u, cpuWidth);
    state_->of(Lane::io).width = std::max(1u, ioWidth);
}

WorkPool::~WorkPool()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard guard(state_->mutex);
        state_->stopping = true;
        for (auto& lane : state_->lanes) {
            lane.wake.notify_all();
            std::move(lane.threads.begin(), lane.threads.end(), std::back_inserter(threads));
        }
    }
    for (auto& t : threads)
        t.join();
}

unsigned WorkPool::width(Lane lane) const
{
    return state_->of(lane).width;
}

void WorkPool::team(Lane lane, const std::function<void(unsigned)>& work, size_t atMost)
{
    auto& threads = state_->of(lane);
    const auto helpers
        = static_cast<unsigned>(std::min<size_t>(threads.width, std::max<size_t>(atMost, 1)) - 1);
    if (helpers == 0) {
        work(0);
        return;
    }
    auto team = std::make_shared<Team>(work);
    {
        std::lock_guard guard(state_->mutex);
        for (unsigned i = 0; i < helpers; ++i)
            threads.invitations.push_back(team);
        // Threads are started on first need and then kept: most jobs are many small
        // pieces, and starting threads for each would cost more than the pieces.
        const auto limit = threads.width - 1;
        for (auto spare = threads.waiting; spare < helpers && threads.threads.size() < limit;
             ++spare)
            threads.threads.emplace_back([this, &threads] {
                yieldToForegroundWork();
                state_->serve(threads);
            });
    }
    threads.wake.notify_all();
    // Even when the caller's copy throws, the helpers still read `work` and the
    // caller's frame: wait for them before leaving it.
    struct Close {
        State& state;
        State::Threads& threads;
        const std::shared_ptr<Team>& team;
        ~Close()
        {
            {
                std::unique_lock guard(team->mutex);
                team->closed = true;
                team->idle.wait(guard, [&] { return team->active == 0; });
            }
            std::lock_guard guard(state.mutex);
            std::erase(threads.invitations, team);
        }
    } close{*state_, threads, team};
    work(0);
}

std::unique_ptr<WorkPool> makeMachinePool()
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return std::make_unique<WorkPool>(cores, std::max(32u, 4 * cores));
}

} // namespace tidvale
