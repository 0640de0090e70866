#pragma once

#include "engine/core/Job.h"
#include "engine/fs/TreeSize.h"
#include "engine/system/SystemRecords.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tidvale {

// The read-only facts the system tools show: memory, the home volume, installed
// applications and launch items. Keeps nothing between calls and never fails: what
// cannot be read becomes zero figures or is left out. The synchronous calls block on
// the file system; call them off the GUI thread (the memory and disk figures are
// cheap enough for it).
class SystemInfoService : public std::enable_shared_from_this<SystemInfoService> {
public:
    using FreedCompletion = std::function<void(uint64_t freed)>;
    // Lets time pass on a background thread; the real one sleeps.
    using Wait = std::function<void(std::chrono::milliseconds)>;

    // The process-wide instance, created on first use: the real tree walk, the real
    // clock.
    static SystemInfoService& shared();
    // A separate instance that measures bundles with `measure` and waits with `wait`;
    // tests use one to see what happens when it goes away.
    static std::shared_ptr<SystemInfoService> create(
        TreeMeasure measure = measureTree, Wait wait = sleepFor);
    static void sleepFor(std::chrono::milliseconds span);

    MemoryInfo getMemoryInfo() const;
    DiskInfo getDiskInfo() const;
    // Applications of the machine's and the user's Applications folders, largest first;
    // the job hears "Leyendo <name>..." on the calling thread before each bundle is
    // measured. A cancelled job ends the listing before the next bundle: the bundles
    // measured in full so far come back, and the list is whole only when the job was
    // not cancelled.
    std::vector<AppInfo> getInstalledApps(const JobControl& job = {}) const;
    // The user's agents, then the machine's agents, then its daemons.
    std::vector<LaunchItem> getLaunchItems() const;

    // How much free memory grew over one second, never negative. Returns at once; the
    // completion runs on the main thread of the engine's dispatcher and reports 0 if
    // this service is gone by the end of the wait.
    void measureFreedMemory(FreedCompletion completion) const;

private:
    SystemInfoService(TreeMeasure measure, Wait wait)
        : measure_(std::move(measure))
        , wait_(std::move(wait))
    {
    }

    const TreeMeasure measure_; // measures application bundles
    const Wait wait_;
};

} // namespace tidvale
