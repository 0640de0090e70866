#pragma once

// Stops a job from another thread once it is under way, however fast the machine: the
// first count the job reports that `when` accepts wakes a second thread, which sets
// the flag, and every thread of the job that reports meanwhile is held until the flag
// is set. The job then has to notice the flag by itself, at its next check.
#include "engine/core/Job.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CancelMidway {
public:
    using When = std::function<bool(int64_t done, int64_t total)>;

    explicit CancelMidway(When when = [](int64_t, int64_t) { return true; })
        : when_(std::move(when))
        , canceller_([this] {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return reached_ || closing_; });
            flag_->cancel();
            changed_.notify_all();
        })
    {
    }
    ~CancelMidway()
    {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        canceller_.join();
    }
    CancelMidway(const CancelMidway&) = delete;
    CancelMidway& operator=(const CancelMidway&) = delete;

    tidvale::JobControl job(tidvale::JobControl::Text text = {})
    {
        return {std::move(text), flag_, [this](int64_t done, int64_t total) {
                    int64_t seen = mostDone_.load();
                    while (seen < done && !mostDone_.compare_exchange_weak(seen, done)) { }
                    if (flag_->isCancelled() || !when_(done, total))
                        return;
                    std::unique_lock lock(mutex_);
                    reached_ = true;
                    changed_.notify_all();
                    changed_.wait(lock, [this] { return flag_->isCancelled(); });
                }};
    }

    bool cancelled() const { return flag_->isCancelled(); }
    // The furthest count the job reported, before or after the flag was set.
    int64_t mostDone() const { return mostDone_.load(); }

private:
    const When when_;
    const std::shared_ptr<tidvale::CancelFlag> flag_ = std::make_shared<tidvale::CancelFlag>();
    std::atomic<int64_t> mostDone_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false; // guarded by mutex_
    bool closing_ = false; // guarded by mutex_
    std::thread canceller_;
};
