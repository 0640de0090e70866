#include "engine/scan/ScanService.h"

#include "engine/core/Dispatch.h"
#include "engine/format/ByteText.h"
#include "engine/fs/Homes.h"
#include "engine/fs/SafeRemove.h"
#include "engine/fs/TreeSize.h"
#include "engine/scan/AdminPolicy.h"
#include "engine/scan/BrowserLocations.h"
#include "engine/scan/SystemLocations.h"
#include "platform/PrivilegedRunner.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tidvale {
namespace {

constexpr int64_t kCacheThreshold = 524288;

// Visible entry names of a folder in listing order; nothing when it cannot be read.
std::vector<std::string> visibleEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return names;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue; // also "." and ".."
        names.emplace_back(e->d_name);
    }
    closedir(d);
    return names;
}

struct JunkStep {
    const char* progress;
    std::string folder;
    int64_t keepAbove; // size must be greater; -1 keeps everything
    ScanCategory category;
    bool checkWritable;
};

// Reads what the privileged run did to each accepted item.
AdminDeleteResult adminOutcome(
    const std::vector<ScanItem>& accepted, const platform::PrivilegedRunResult& run)
{
    using platform::PrivilegedStatus;
    AdminDeleteResult result;
    for (size_t i = 0; i < accepted.size(); ++i) {
        const ScanItem& item = accepted[i];
        const auto status = i < run.paths.size() ? run.paths[i].status : PrivilegedStatus::unknown;
        switch (status) {
        case PrivilegedStatus::removed:
        case PrivilegedStatus::missing:
            result.freed += item.size;
            result.gone.push_back(item);
            break;
        case PrivilegedStatus::refused:
            result.messages.push_back("Ruta no permitida: " + item.path);
            break;
        case PrivilegedStatus::failed:
            result.messages.push_back(describeRemoveError(run.paths[i].error, item.path));
            break;
        case PrivilegedStatus::unknown:
            break; // the run's own error below speaks for it
        }
    }
    if (run.error)
        result.messages.push_back(run.error->empty() ? "Error desconocido" : *run.error);
    return result;
}

std::string lastComponent(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ScanService& ScanService::shared()
{
    static ScanService* service = new ScanService();
    return *service;
}

int64_t ScanService::sizeOfPath(const std::string& path) const
{
    return treeSize(path);
}

std::string ScanService::formatSize(int64_t bytes) const
{
    return formatJunkBytes(bytes);
}

std::vector<ScanItem> ScanService::scanSystemJunk(const Progress& progress) const
{
    const std::string home = processHome();
    const JunkStep steps[] = {
        {"Escaneando caché de usuario...", home + "/Library/Caches", kCacheThreshold,
            ScanCategory::userCache, false},
        {"Escaneando caché del sistema...", SystemLocations::libraryCaches(), kCacheThreshold,
            ScanCategory::systemCache, true},
        {"Escaneando registros de usuario...", home + "/Library/Logs", 0, ScanCategory::userLogs,
            false},
        {"Escaneando registros del sistema...", SystemLocations::libraryLogs(), 0,
            ScanCategory::systemLogs, true},
        {"Escaneando papelera...", home + "/.Trash", -1, ScanCategory::trash, false},
    };
    std::vector<ScanItem> items;
    for (const auto& step : steps) {
        if (progress)
            progress(step.progress);
        for (const auto& name : visibleEntries(step.folder)) {
            const std::string path = step.folder + "/" + name;
            const int64_t size = sizeOfPath(path);
            if (step.keepAbove >= 0 && size <= step.keepAbove)
                continue;
            const bool admin = step.checkWritable && access(path.c_str(), W_OK) != 0;
            items.push_back({name, path, size, step.category, true, admin});
        }
    }
    std::stable_sort(items.begin(), items.end(),
        [](const ScanItem& a, const ScanItem& b) { return a.size > b.size; });
    return items;
}

std::vector<ScanItem> ScanService::scanBrowsers(bool includeHistory, const Progress& progress) const
{
    const BrowserLocations browsers = browserLocations(processHome());
    std::vector<ScanItem> items;
    auto measure = [&](const std::string& path, ScanCategory category, std::string name) {
        if (progress)
            progress("Escaneando " + std::string(displayName(category)) + "...");
        const int64_t size = sizeOfPath(path);
        if (size > 0)
            items.push_back({std::move(name), path, size, category, true, false});
    };
    for (const auto& cache : browsers.caches)
        measure(cache.path, cache.category, lastComponent(cache.path));
    for (const auto& profiles : browsers.profileCaches)
        for (const auto& profile : visibleEntries(profiles.folder))
            measure(profiles.folder + "/" + profile + "/" + profiles.cacheName, profiles.category,
                "Caché (" + profile + ")");
    if (includeHistory) {
        for (const auto& file : browsers.historyFiles) {
            const int64_t size = sizeOfPath(file.path);
            if (size > 0)
                items.push_back({"Historial · " + lastComponent(file.path), file.path, size,
                    file.category, false, false});
        }
    }
    return items;
}

DeleteResult ScanService::deleteItems(const std::vector<ScanItem>& items) const
{
    const BrowserLocations browsers = browserLocations(processHome());
    DeleteResult result;
    for (const auto& item : items) {
        if (!item.isSelected)
            continue;
        // A browser's own category, or any item that is, holds or lies inside the data
        // of a browser that runs: a junk entry can be a browser's cache folder too.
        auto browser = runningBrowserName(item.category);
        if (!browser)
            browser = runningBrowserHolding(item.path, browsers);
        if (browser) {
            result.failures.emplace_back(
                item.path, "Cierra " + *browser + " y vuelve a intentarlo.");
            continue;
        }
        if (item.requiresAdmin) {
            result.needsAdmin.push_back(item);
            continue;
        }
        const RemoveOutcome out = removeItem(item.path);
        if (out.ok()) {
            result.freed += item.size;
        } else if ((out.error == EACCES || out.error == EPERM) && isAdminDeletable(item.path)) {
            ScanItem escalated = item;
            escalated.isSelected = true;
            escalated.requiresAdmin = true;
            result.needsAdmin.push_back(std::move(escalated));
        } else {
            // Outside the administrator's folders a password could only end in a
            // refusal, so the real reason is reported instead.
            result.failures.emplace_back(item.path, describeRemoveError(out.error, item.path));
        }
    }
    return result;
}

void ScanService::deleteItemsAsAdministrator(
    const std::vector<ScanItem>& items, AdminCompletion completion) const
{
    if (items.empty()) {
        completion({});
        return;
    }
    AdminPlan plan = planAdminDeletion(items);
    if (plan.accepted.empty()) {
        completion({0, std::move(plan.messages), {}});
        return;
    }
    platform::PrivilegedDeletion request;
    for (const auto& item : plan.accepted)
        request.paths.push_back(item.path);
    request.script = std::move(plan.script);
    auto runner = platform::Service<platform::PrivilegedRunner>::get();
    dispatcher()->toBackground(
        [runner, request = std::move(request), accepted = std::move(plan.accepted),
            messages = std::move(plan.messages), completion = std::move(completion)]() mutable {
            AdminDeleteResult result = adminOutcome(accepted, runner->run(request));
            result.messages.insert(result.messages.begin(), messages.begin(), messages.end());
            dispatcher()->toMain(
                [result = std::move(result), completion = std::move(completion)]() mutable {
                    completion(std::move(result));
                });
        });
}

} // namespace tidvale
