#include "engine/junk/ScanService.h"

#include "engine/settings/KeepList.h"

#include "engine/admin/AdminPolicy.h"
#include "engine/browsers/BrowserPlaces.h"
#include "engine/browsers/RunningBrowsers.h"
#include "engine/format/ByteText.h"
#include "engine/fs/PathText.h"
#include "engine/fs/SafeRemove.h"
#include "engine/fs/TreeSize.h"
#include "engine/junk/AdminStage.h"
#include "engine/junk/JunkPlaces.h"
#include "platform/PrivilegedRunner.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tidvale {
namespace {

bool needsAdministrator(AdminCheck check, const std::string& path)
{
    switch (check) {
    case AdminCheck::never:
        return false;
    case AdminCheck::itemNotWritable:
        return access(path.c_str(), W_OK) != 0;
    case AdminCheck::parentNotWritable:
        return access(parentFolder(path).c_str(), W_OK | X_OK) != 0;
    }
    return false;
}

RemovalOutcome outcomeFor(const ScanItem& item, RemovalStatus status, std::string message = {})
{
    return {item.path, item.path, item.size, status, std::move(message), 0, {}, false};
}

// Reads what the privileged run did to each accepted item.
void readAdminRun(const std::vector<ScanItem>& accepted, const platform::PrivilegedRunResult& run,
    RemovalReport& report)
{
    using platform::PrivilegedStatus;
    const std::string runError
        = run.error ? (run.error->empty() ? "Error desconocido" : *run.error) : std::string();
    for (size_t i = 0; i < accepted.size(); ++i) {
        const ScanItem& item = accepted[i];
        const auto status = i < run.paths.size() ? run.paths[i].status : PrivilegedStatus::unknown;
        switch (status) {
        case PrivilegedStatus::removed:
        case PrivilegedStatus::missing: {
            RemovalOutcome gone = outcomeFor(item, RemovalStatus::gone);
            gone.freed = item.size;
            report.add(std::move(gone));
            break;
        }
        case PrivilegedStatus::refused:
            report.add(outcomeFor(item, RemovalStatus::refused, "Ruta no permitida: " + item.path));
            break;
        case PrivilegedStatus::failed:
            report.add(outcomeFor(
                item, RemovalStatus::failed, describeRemoveError(run.paths[i].error, item.path)));
            break;
        case PrivilegedStatus::unknown:
            report.add(outcomeFor(
                item, RemovalStatus::failed, runError.empty() ? "Error desconocido" : runError));
            break;
        }
    }
}

// One selected item of a removal: deleted, refused, or set aside for the administrator.
RemovalOutcome deleteOne(const Context& context, const std::vector<BrowserDataRoot>& browserRoots,
    const ScanItem& item, RemovalMode mode)
{
    const JunkPlaces& where = *context.places.junk;
    // A browser's own category, or any item that is, holds or lies inside the data
    // of a browser that runs: a junk entry can be a browser's cache folder too.
    auto browser = runningBrowser(context, item.category);
    if (!browser)
        browser = runningBrowserHolding(context, item.path, browserRoots);
    if (browser)
        return outcomeFor(
            item, RemovalStatus::refused, "Cierra " + *browser + " y vuelve a intentarlo.");
    if (auto refusal = where.removalRefusal(context, item))
        return outcomeFor(item, RemovalStatus::refused, "No se elimina: " + *refusal + ".");
    if (item.requiresAdmin)
        return outcomeFor(item, RemovalStatus::needsAdministrator);
    if (mode == RemovalMode::dryRun) {
        RemovalOutcome would = outcomeFor(item, RemovalStatus::gone);
        would.freed = item.size;
        return would;
    }
    if (auto cleaned = context.places.browsers->cleanInPlace(context, item))
        return *cleaned;
    const RemoveOutcome out = where.remove(context, item);
    if (out.ok()) {
        // What really went, not what was listed: an entry swapped for a link since the
        // scan frees only the link.
        RemovalOutcome gone = outcomeFor(item, RemovalStatus::gone);
        gone.freed = out.freed;
        return gone;
    }
    if ((out.error == EACCES || out.error == EPERM)
        && isAdminDeletable(adminAreasOf(context), item.path))
        return outcomeFor(item, RemovalStatus::needsAdministrator);
    // Outside the administrator's folders a password could only end in a refusal, so
    // the real reason is reported instead.
    return outcomeFor(item, RemovalStatus::failed, describeRemoveError(out.error, item.path));
}

} // namespace

ScanService::ScanService(const Context& context, TreeMeasure measure)
    : context_(context)
    , measure_(measure ? std::move(measure) : treeMeasure(*context.pool))
{
}

int64_t ScanService::sizeOfPath(const std::string& path) const
{
    return measure_(path, {}).value_or(0);
}

std::vector<std::string> ScanService::folderNotices() const
{
    return context_.places.junk->folderNotices(context_);
}

std::string ScanService::formatSize(int64_t bytes) const
{
    return formatJunkBytes(bytes);
}

std::vector<ScanItem> ScanService::scanSystemJunk(const JobControl& job) const
{
    auto items = listSystemJunk(job);
    dropKept(items, keptPaths(context_.settings));
    return items;
}

std::vector<ScanItem> ScanService::listSystemJunk(const JobControl& job) const
{
    std::vector<ScanItem> items;
    for (const auto& step : context_.places.junk->steps(context_)) {
        if (job.cancelled())
            return items;
        job.say(step.progress);
        for (auto& found : step.list()) {
            const auto measured = measure_(found.path, job);
            if (!measured)
                return items; // cancelled: the item is not listed at a part of its size
            const int64_t size = *measured;
            if (step.keepAbove >= 0 && size <= step.keepAbove)
                continue;
            const bool admin = needsAdministrator(step.admin, found.path);
            items.push_back(
                {std::move(found.name), std::move(found.path), size, step.category, true, admin});
        }
    }
    std::stable_sort(items.begin(), items.end(),
        [](const ScanItem& a, const ScanItem& b) { return a.size > b.size; });
    return items;
}

std::vector<ScanItem> ScanService::scanBrowsers(bool includeHistory, const JobControl& job) const
{
    auto items = listBrowsers(includeHistory, job);
    dropKept(items, keptPaths(context_.settings));
    return items;
}

std::vector<ScanItem> ScanService::listBrowsers(bool includeHistory, const JobControl& job) const
{
    const BrowserPlaces& where = *context_.places.browsers;
    std::vector<ScanItem> items;
    for (auto& target : where.caches(context_)) {
        if (job.cancelled())
            return items;
        job.say("Escaneando " + std::string(displayName(target.category)) + "...");
        const auto size = measure_(target.candidate.path, job);
        if (!size)
            return items;
        if (*size > 0)
            items.push_back({std::move(target.candidate.name), std::move(target.candidate.path),
                *size, target.category, true, false});
    }
    if (includeHistory) {
        auto history = scanHistory(job);
        items.insert(items.end(), std::make_move_iterator(history.begin()),
            std::make_move_iterator(history.end()));
    }
    return items;
}

std::vector<ScanItem> ScanService::scanHistory(const JobControl& job) const
{
    std::vector<ScanItem> items;
    for (auto& file : context_.places.browsers->history(context_)) {
        const auto measured = measure_(file.candidate.path, job);
        if (!measured)
            return items;
        const int64_t size = *measured;
        if (size > 0)
            items.push_back({std::move(file.candidate.name), std::move(file.candidate.path), size,
                file.category, false, false});
    }
    return items;
}

std::vector<ScanItem> ScanService::scanSiteData(const JobControl& job) const
{
    std::vector<ScanItem> items;
    for (auto& target : context_.places.browsers->siteData(context_)) {
        const auto measured = measure_(target.candidate.path, job);
        if (!measured)
            return items;
        if (*measured > 0)
            items.push_back({std::move(target.candidate.name), std::move(target.candidate.path),
                *measured, target.category, false, false});
    }
    return items;
}

RemovalReport ScanService::deleteItems(
    const std::vector<ScanItem>& items, const JobControl& job, RemovalMode mode) const
{
    const auto browserRoots = context_.places.browsers->dataRoots(context_);
    // Checked again here: the keep-list may have grown since the listing.
    const auto keep = keptForms(keptPaths(context_.settings));
    RemovalReport report;
    const auto total = std::count_if(
        items.begin(), items.end(), [](const ScanItem& item) { return item.isSelected; });
    int64_t handled = 0;
    job.count(0, total);
    for (const auto& item : items) {
        if (!item.isSelected)
            continue;
        report.add(touchesKeptForm(item.path, keep)
                ? outcomeFor(
                    item, RemovalStatus::refused, "Está en tu lista de lo que se conserva.")
                : deleteOne(context_, browserRoots, item, mode));
        job.count(++handled, total);
    }
    return report;
}

RemovalReport ScanService::deleteItemsAsAdministrator(const std::vector<ScanItem>& items) const
{
    RemovalReport report;
    if (items.empty())
        return report;
    AdminPlan plan = planAdminDeletion(context_, items);
    for (const auto& item : plan.refused)
        report.add(outcomeFor(item, RemovalStatus::refused, "Ruta no permitida: " + item.path));
    if (plan.accepted.empty())
        return report;
    platform::PrivilegedDeletion request;
    for (const auto& item : plan.accepted)
        request.paths.push_back(item.path);
    request.script = std::move(plan.script);
    readAdminRun(plan.accepted, context_.backends.privileged->run(request), report);
    return report;
}

} // namespace tidvale
