#include "engine/core/WorkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace tidvale;

TEST(WorkPool, EveryIndexRunsOnceOnNamedWorkersOfTheLane)
{
    WorkPool pool(2, 6);
    EXPECT_EQ(pool.width(Lane::cpu), 2u);
    EXPECT_EQ(pool.width(Lane::io), 6u);
    for (Lane lane : {Lane::cpu, Lane::io}) {
        for (size_t n : {0, 1, 5000}) {
            std::vector<std::atomic<int>> runs(n);
            std::atomic<bool> workerInRange{true};
            pool.forEach(lane, n, {}, [&](size_t i, unsigned worker) {
                runs[i].fetch_add(1);
                if (worker >= pool.width(lane) || worker >= std::max<size_t>(n, 1))
                    workerInRange = false;
            });
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(runs[i].load(), 1) << "index " << i << " of " << n;
            EXPECT_TRUE(workerInRange);
        }
    }
}

// Jobs from several screens share the pool, and a part of a job may itself fan out:
// a team must finish on its caller alone when every pool thread is taken.
TEST(WorkPool, ATeamFinishesOnItsCallerWhenThePoolIsBusy)
{
    WorkPool pool(2, 2); // one pool thread per lane
    std::mutex m;
    std::condition_variable cv;
    bool helperBusy = false, release = false;
    std::thread other([&] {
        pool.team(Lane::io, [&](unsigned worker) {
            std::unique_lock lock(m);
            if (worker == 0) { // stays until the pool thread has joined
                cv.wait(lock, [&] { return helperBusy; });
                return;
            }
            helperBusy = true;
            cv.notify_all();
            cv.wait(lock, [&] { return release; });
        });
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return helperBusy; });
    }
    std::vector<unsigned> workers(100, 99);
    pool.forEach(Lane::io, workers.size(), {}, [&](size_t i, unsigned w) { workers[i] = w; });
    EXPECT_EQ(workers, std::vector<unsigned>(100, 0u)); // all on the caller, none lost
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    other.join();
}

TEST(WorkPool, StopsHandingOutIndicesOnceCancelledAndWaitsForHelpersOnThrow)
{
    WorkPool pool(1, 1); // the caller alone: the order of indices is fixed
    auto flag = std::make_shared<CancelFlag>();
    const JobControl job({}, flag);
    std::vector<size_t> ran;
    pool.forEach(Lane::cpu, 1000, job, [&](size_t i, unsigned) {
        ran.push_back(i);
        if (i == 10)
            flag->cancel();
    });
    EXPECT_EQ(ran.size(), 11u);

    // A helper still running when the caller's copy throws must not outlive the frame
    // it reads.
    WorkPool wide(2, 2);
    std::atomic<bool> helperStarted{false}, callerThrowing{false};
    std::atomic<int> helpersDone{0};
    EXPECT_THROW(wide.team(Lane::cpu,
                     [&](unsigned worker) {
                         if (worker == 0) {
                             while (!helperStarted)
                                 std::this_thread::yield();
                             callerThrowing = true;
                             throw std::runtime_error("caller fails");
                         }
                         helperStarted = true;
                         while (!callerThrowing)
                             std::this_thread::yield();
                         ++helpersDone;
                     }),
        std::runtime_error);
    EXPECT_EQ(helpersDone.load(), 1);
}
