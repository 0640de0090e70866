#pragma once

#include "engine/system/SystemRecords.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tidvale {

class ScanService;

// The read-only facts the system tools show: memory, the home volume, installed
// applications and launch items. Keeps nothing between calls and never fails: what
// cannot be read becomes zero figures or is left out. The synchronous calls block on
// the file system; call them off the GUI thread (the memory and disk figures are
// cheap enough for it).
class SystemInfoService : public std::enable_shared_from_this<SystemInfoService> {
public:
    using Progress = std::function<void(const std::string&)>;
    using FreedCompletion = std::function<void(uint64_t freed)>;

    // The process-wide instance, created on first use with the shared ScanService.
    static SystemInfoService& shared();
    // A separate instance; tests use one to see what happens when it goes away.
    static std::shared_ptr<SystemInfoService> create(const ScanService& scan);

    MemoryInfo getMemoryInfo() const;
    DiskInfo getDiskInfo() const;
    // The installed applications as the profile in force finds them (the Applications
    // folders' bundles, a Linux desktop's menu entries), largest first; `progress` runs
    // on the calling thread before each one is measured.
    std::vector<AppInfo> getInstalledApps(const Progress& progress = {}) const;
    // The startup items of the profile in force: on the Mac the user's agents, then
    // the machine's agents, then its daemons.
    std::vector<LaunchItem> getLaunchItems() const;

    // How much free memory grew over one second, never negative. Returns at once; the
    // completion runs on the main thread of the engine's dispatcher and reports 0 if
    // this service is gone by the end of the wait.
    void measureFreedMemory(FreedCompletion completion) const;

private:
    explicit SystemInfoService(const ScanService& scan)
        : scan_(scan)
    {
    }

    const ScanService& scan_; // measures application bundles
};

} // namespace tidvale
