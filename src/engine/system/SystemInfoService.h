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

    // The process-wide instance, created on first use, with the real tree walk.
    static SystemInfoService& shared();
    // A separate instance that measures bundles with `measure`; tests use one to see
    // what happens when it goes away. The one-second wait belongs to the dispatcher.
    static std::shared_ptr<SystemInfoService> create(TreeMeasure measure = treeMeasure(workPool()));

    MemoryInfo getMemoryInfo() const;
    DiskInfo getDiskInfo() const;
    // The installed applications as the profile in force finds them (the Applications
    // folders' bundles, a Linux desktop's menu entries), largest first; the job hears
    // "Leyendo <name>..." on the calling thread before each one is measured. A cancelled
    // job ends the listing early: what was measured in full comes back, and the list is
    // whole only when the job was not cancelled.
    std::vector<AppInfo> getInstalledApps(const JobControl& job = {}) const;
    // The startup items of the profile in force: on the Mac the user's agents, then
    // the machine's agents, then its daemons.
    std::vector<LaunchItem> getLaunchItems() const;

    // How much free memory grew over one second, never negative. Returns at once; the
    // completion runs on the main thread of the engine's dispatcher and reports 0 if
    // this service is gone by the end of the wait.
    void measureFreedMemory(FreedCompletion completion) const;

private:
    explicit SystemInfoService(TreeMeasure measure)
        : measure_(std::move(measure))
    {
    }

    const TreeMeasure measure_; // measures application bundles
};

} // namespace tidvale
