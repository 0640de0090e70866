#include "engine/system/SystemInfoService.h"

#include "engine/core/Dispatch.h"
#include "engine/fs/Homes.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/locations/SystemLocations.h"
#include "engine/scan/ScanService.h"
#include "engine/system/FolderEntries.h"
#include "platform/MemoryStatistics.h"
#include "platform/PropertyList.h"
#include "platform/VolumeStatistics.h"

#include <chrono>
#include <thread>

namespace tidvale {
namespace {

constexpr auto kMeasureWait = std::chrono::seconds(1);

} // namespace

SystemInfoService& SystemInfoService::shared()
{
    // Never released: screens and completions may still reach it at exit.
    static auto* keep = new std::shared_ptr<SystemInfoService>(create(ScanService::shared()));
    return **keep;
}

std::shared_ptr<SystemInfoService> SystemInfoService::create(const ScanService& scan)
{
    return std::shared_ptr<SystemInfoService>(new SystemInfoService(scan));
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
    const auto figures
        = platform::Service<platform::VolumeStatistics>::get()->figuresFor(processHome());
    if (!figures)
        return {};
    return {figures->total, figures->free};
}

std::vector<AppInfo> SystemInfoService::getInstalledApps(const Progress& progress) const
{
    return currentProfile().installedApps(
        processHome(), [this](const std::string& path) { return scan_.sizeOfPath(path); },
        progress);
}

std::vector<LaunchItem> SystemInfoService::getLaunchItems() const
{
    const std::pair<std::string, const char*> folders[] = {
        {processHome() + "/Library/LaunchAgents", "Agente (Usuario)"},
        {SystemLocations::launchAgents(), "Agente (Sistema)"},
        {SystemLocations::launchDaemons(), "Daemon (Sistema)"},
    };
    std::vector<LaunchItem> items;
    for (const auto& [folder, source] : folders) {
        for (const auto& child : childNames(folder)) {
            auto name = stem(child, ".plist");
            if (!name)
                continue;
            LaunchItem item;
            item.name = std::move(*name);
            item.path = folder + "/" + child;
            item.source = source;
            item.bundleID = item.name;
            if (const auto plist = platform::readPropertyListFile(item.path)) {
                if (auto label = plist->find("Label"); label != plist->end() && label->second)
                    item.bundleID = *label->second;
            }
            items.push_back(std::move(item));
        }
    }
    return items;
}

void SystemInfoService::measureFreedMemory(FreedCompletion completion) const
{
    const MemoryInfo before = getMemoryInfo();
    const std::weak_ptr<const SystemInfoService> weak = weak_from_this();
    const auto d = dispatcher();
    d->toBackground([weak, before, completion = std::move(completion), d]() mutable {
        std::this_thread::sleep_for(kMeasureWait);
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
