#pragma once

// The walk every tree reader shares: folders waiting to be read are handed to the
// pool's I/O lanes, each read may find more, and the walk ends when none is left or
// the job is cancelled. The readers differ only in what they do with one folder.
#include "engine/core/Job.h"
#include "engine/core/WorkPool.h"

#include <climits>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace tidvale {

template <class Folder> class FolderQueue {
public:
    // Reads one folder and appends the sub-folders to read, in listing order; false
    // when it stopped before the end of the folder because the job was cancelled.
    using Read = std::function<bool(Folder& folder, std::vector<Folder>& subfolders)>;

    FolderQueue(WorkPool& pool, const JobControl& job, Read read)
        : pool_(pool)
        , job_(job)
        , read_(std::move(read))
    {
    }

    // Reads `root` and everything below it; false when the walk was cut short. The
    // first `alone` folders are read on the calling thread alone: most trees measured
    // are small, and forming a team would cost them more than it saves.
    bool run(Folder root, int alone = 0)
    {
        pending_.push_back(std::move(root));
        work(alone);
        if (!pending_.empty() && !stopped_)
            pool_.team(Lane::io, [this](unsigned) { work(INT_MAX); });
        return !stopped_;
    }

private:
    // Reads folders until none is left, or, alone, until `alone` folders were found
    // and there is work to share.
    void work(int alone)
    {
        std::vector<Folder> found;
        for (;;) {
            Folder next;
            {
                std::unique_lock guard(mutex_);
                ready_.wait(guard, [&] { return !pending_.empty() || busy_ == 0; });
                if (pending_.empty() || (seen_ >= alone && pending_.size() >= 2))
                    return;
                if (job_.cancelled()) {
                    stop();
                    return;
                }
                next = std::move(pending_.back());
                pending_.pop_back();
                ++busy_;
            }
            found.clear();
            const bool whole = read_(next, found);
            size_t added = 0;
            bool done = false;
            {
                std::lock_guard guard(mutex_);
                --busy_;
                if (!whole)
                    stop();
                if (!stopped_) {
                    // Reversed, so that the first-listed folder is handed out first and
                    // each thread stays near the part of the tree it is reading.
                    for (auto it = found.rbegin(); it != found.rend(); ++it)
                        pending_.push_back(std::move(*it));
                    added = found.size();
                    seen_ += static_cast<int>(added);
                }
                done = pending_.empty() && busy_ == 0;
            }
            // This thread takes one of the folders it found; each other one wakes one
            // thread, not all of them, since waking many threads on few cores costs
            // more than the folder.
            if (done)
                ready_.notify_all();
            for (size_t i = 1; i < added; ++i)
                ready_.notify_one();
        }
    }

    // Drops what is left, under mutex_, so that every thread leaves at its next look.
    void stop()
    {
        stopped_ = true;
        pending_.clear();
        ready_.notify_all();
    }

    WorkPool& pool_;
    const JobControl& job_;
    const Read read_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<Folder> pending_; // GUARDED_BY(mutex_)
    int busy_ = 0;                // GUARDED_BY(mutex_)
    int seen_ = 0;                // GUARDED_BY(mutex_): folders found so far
    bool stopped_ = false;        // GUARDED_BY(mutex_) while a team runs
};

} // namespace tidvale
