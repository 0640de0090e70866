#include "engine/system/SystemInfoService.h"

#include "engine/apps/AppInventory.h"
#include "engine/startup/LaunchItemPlaces.h"
#include "engine/system/VolumeNaming.h"
#include "platform/MemoryStatistics.h"
#include "platform/VolumeStatistics.h"

#include <thread>

namespace tidvale {
namespace {

constexpr auto kMeasureWait = std::chrono::milliseconds(1000);

} // namespace

SystemInfoService::SystemInfoService(const Context& context, TreeMeasure measure, Pause pause)
    : context_(context)
    , measure_(measure ? std::move(measure) : treeMeasure(*context.pool))
    , pause_(pause ? std::move(pause) : Pause([](std::chrono::milliseconds wait) {
        std::this_thread::sleep_for(wait);
    }))
{
}

MemoryInfo SystemInfoService::getMemoryInfo() const
{
    platform::MemoryStatistics& stats = *context_.backends.memory;
    MemoryInfo info;
    info.total = stats.physicalMemory();
    if (const auto vm = stats.vmFigures()) {
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
    return context_.places.volume->homeVolume(
        context_, context_.backends.volumes->figuresFor(context_.folders.home));
}

std::vector<AppInfo> SystemInfoService::getInstalledApps(const JobControl& job) const
{
    return context_.places.apps->installed(context_, measure_, job);
}

std::vector<LaunchItem> SystemInfoService::getLaunchItems() const
{
    return context_.places.launchItems->list(context_);
}

uint64_t SystemInfoService::measureFreedMemory() const
{
    const MemoryInfo before = getMemoryInfo();
    pause_(kMeasureWait);
    const MemoryInfo after = getMemoryInfo();
    return after.free >= before.free ? after.free - before.free : 0;
}

} // namespace tidvale
