#include "engine/system/SystemInfoService.h"

#include "engine/core/Dispatch.h"
#include "engine/fs/Homes.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/locations/SystemLocations.h"
#include "engine/system/FolderEntries.h"
#include "platform/MemoryStatistics.h"
#include "platform/VolumeStatistics.h"

#include <chrono>
#include <thread>

namespace tidvale {
namespace {

constexpr auto kMeasureWait = std::chrono::milliseconds(1000);

} // namespace

SystemInfoService& SystemInfoService::shared()
{
    // Never released: screens and completions may still reach it at exit.
    static auto* keep = new std::shared_ptr<SystemInfoService>(create());
    return **keep;
}

std::shared_ptr<SystemInfoService> SystemInfoService::create(TreeMeasure measure)
{
    return std::shared_ptr<SystemInfoService>(new SystemInfoService(std::move(measure)));
}

MemoryInfo SystemInfoService::getMemoryInfo() const
{
    const auto stats = platform::Service<platform::MemoryStatistics>::get();
    MemoryInfo info;
    info.total = stats->physicalMemory();
    if (const auto vm = stats->vmFigures()) {
        info.free = vm->free;
        info.active = vm->active;
        info.inactive = vm->inactive;
        info.wired = vm->wired;
        info.compressed = vm->compressed;
    }
    return info;
}

DiskInfo SystemInfoService::getDiskInfo() const
{
    const std::string home = processHome();
    return currentProfile().homeVolume(
        home, platform::Service<platform::VolumeStatistics>::get()->figuresFor(home));
}

std::vector<AppInfo> SystemInfoService::getInstalledApps(const JobControl& job) const
{
    return currentProfile().installedApps(processHome(), measure_, job);
}

std::vector<LaunchItem> SystemInfoService::getLaunchItems() const
{
    return currentProfile().launchItems(processHome());
}

void SystemInfoService::measureFreedMemory(FreedCompletion completion) const
{
    const MemoryInfo before = getMemoryInfo();
    const std::weak_ptr<const SystemInfoService> weak = weak_from_this();
    const auto d = dispatcher();
    d->toBackgroundAfter(
        kMeasureWait, [weak, before, completion = std::move(completion), d]() mutable {
            MemoryInfo after = before;
            if (const auto self = weak.lock())
                after = self->getMemoryInfo();
            const uint64_t freed = after.free >= before.free ? after.free - before.free : 0;
            d->toMain([completion = std::move(completion), freed] {
                if (completion)
                    completion(freed);
            });
        });
}

} // namespace tidvale
