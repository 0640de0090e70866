#include "engine/system/SystemInfoService.h"

#include "engine/core/Dispatch.h"
#include "engine/fs/Homes.h"
#include "engine/locations/SystemLocations.h"
#include "engine/system/BundleInfo.h"
#include "platform/MemoryStatistics.h"
#include "platform/PropertyList.h"
#include "platform/VolumeStatistics.h"

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

namespace tidvale {
namespace {

constexpr auto kMeasureWait = std::chrono::milliseconds(1000);

// Every entry of a folder, hidden ones included, in listing order; nothing when the
// folder cannot be read. No descent: only direct children are asked for.
std::vector<std::string> childNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(d);
    return names;
}

// The name without `suffix` when it ends with it (case-sensitive). A name that is only
// the suffix (".app") has no extension to remove and is kept whole.
std::optional<std::string> stem(const std::string& name, const std::string& suffix)
{
    if (name.size() < suffix.size()
        || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    if (name.size() == suffix.size())
        return name;
    return name.substr(0, name.size() - suffix.size());
}

} // namespace

SystemInfoService& SystemInfoService::shared()
{
    // Never released: screens and completions may still reach it at exit.
    static auto* keep = new std::shared_ptr<SystemInfoService>(create());
    return **keep;
}

std::shared_ptr<SystemInfoService> SystemInfoService::create(TreeMeasure measure, Wait wait)
{
    return std::shared_ptr<SystemInfoService>(
        new SystemInfoService(std::move(measure), std::move(wait)));
}

void SystemInfoService::sleepFor(std::chrono::milliseconds span)
{
    std::this_thread::sleep_for(span);
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

std::vector<AppInfo> SystemInfoService::getInstalledApps(const JobControl& job) const
{
    std::vector<AppInfo> apps;
    for (const auto& folder : {SystemLocations::applications(), processHome() + "/Applications"}) {
        for (const auto& child : childNames(folder)) {
            auto name = stem(child, ".app");
            if (!name)
                continue;
            if (job.cancelled())
                return apps;
            AppInfo app;
            app.name = std::move(*name);
            app.path = folder + "/" + child;
            readListedStamp(app.path, app.listed); // none when it vanished meanwhile
            job.say("Leyendo " + app.name + "...");
            const auto size = measure_(app.path, job);
            if (!size)
                return apps; // cancelled: the bundle is not listed at a part of its size
            app.size = *size;
            BundleInfo bundle = readBundleInfo(app.path);
            app.version = std::move(bundle.version);
            app.bundleID = std::move(bundle.bundleID);
            app.iconFile = std::move(bundle.iconFile);
            apps.push_back(std::move(app));
        }
    }
    std::stable_sort(apps.begin(), apps.end(),
        [](const AppInfo& a, const AppInfo& b) { return a.size > b.size; });
    return apps;
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
    d->toBackground([weak, wait = wait_, before, completion = std::move(completion), d]() mutable {
        wait(kMeasureWait);
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
