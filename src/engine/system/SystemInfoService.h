#pragma once

#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/AppInfo.h"
#include "engine/records/LaunchItem.h"
#include "engine/records/SystemFigures.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tidvale {

// The read-only facts the system tools show: memory, the home volume, installed
// applications and launch items. Keeps nothing between calls and never fails: what
// cannot be read becomes zero figures or is left out. The calls block on the file
// system; call them off the GUI thread (the memory and disk figures are cheap enough
// for it).
class SystemInfoService {
public:
    // Waits the time given; the real one sleeps, a test's only notes it.
    using Pause = std::function<void(std::chrono::milliseconds)>;

    // Reads through the context's backends and places; measures bundles with
    // `measure` (none: the tree walk on the context's pool) and waits with `pause`
    // (none: a sleep). The context must outlive the service.
    explicit SystemInfoService(const Context& context, TreeMeasure measure = {}, Pause pause = {});

    // The process's instance, built on the context its `main` installed at start.
    static SystemInfoService& shared();

    const Context& context() const { return context_; }

    MemoryInfo getMemoryInfo() const;
    DiskInfo getDiskInfo() const;
    // The installed applications as the context's inventory finds them (the Applications
    // folders' bundles, a Linux desktop's menu entries), largest first; the job hears
    // "Leyendo <name>..." on the calling thread before each one is measured. A cancelled
    // job ends the listing early: what was measured in full comes back, and the list is
    // whole only when the job was not cancelled.
    std::vector<AppInfo> getInstalledApps(const JobControl& job = {}) const;
    // The startup items of the context's places: on the Mac the user's agents, then
    // the machine's agents, then its daemons.
    std::vector<LaunchItem> getLaunchItems() const;

    // How much free memory grew over one second, never negative. Blocks through the
    // second.
    uint64_t measureFreedMemory() const;

private:
    const Context& context_;
    const TreeMeasure measure_; // measures application bundles
    const Pause pause_;
};

} // namespace tidvale
