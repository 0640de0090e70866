#include "engine/junk/ScheduledClean.h"

#include "engine/browsers/RunningBrowsers.h"
#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/JunkPlaces.h"

#include <algorithm>

namespace tidvale {
namespace {

const char* const kNeedsAdministrator
    = "Necesita la contraseña de administrador: límpialo en Basura del Sistema.";

// What would stop the item now, before anything is removed.
std::optional<std::string> reasonToLeave(
    const Context& context, const ScanItem& item, const std::vector<BrowserDataRoot>& browserRoots)
{
    if (item.requiresAdmin)
        return std::string(kNeedsAdministrator);
    auto browser = runningBrowser(context, item.category);
    if (!browser)
        browser = runningBrowserHolding(context, item.path, browserRoots);
    if (browser)
        return "Cierra " + *browser + " y vuelve a intentarlo.";
    if (auto refusal = context.places.junk->removalRefusal(context, item))
        return "No se elimina: " + *refusal + ".";
    return std::nullopt;
}

} // namespace

CleanReport runScheduledClean(
    const ScanService& service, const std::vector<ScanItem>& items, bool dryRun)
{
    const Context& context = service.context();
    std::vector<ScanItem> ticked;
    std::copy_if(items.begin(), items.end(), std::back_inserter(ticked),
        [](const ScanItem& item) { return item.isSelected; });
    const std::vector<ScanItem> outer = outermostItems(ticked);

    CleanReport report;
    const auto browserRoots = context.places.browsers->dataRoots(context);
    std::vector<ScanItem> toRemove;
    for (const auto& item : outer) {
        if (auto reason = reasonToLeave(context, item, browserRoots))
            report.left.push_back({item.path, item.size, *reason});
        else
            toRemove.push_back(item);
    }
    if (dryRun) {
        for (const auto& item : toRemove) {
            report.removed.push_back({item.path, item.size, {}});
            report.freed += item.size;
        }
        return report;
    }

    // A browser may start, or a permission may be refused, between the check above
    // and the removal: deleteItems has the last word.
    const DeleteResult result = service.deleteItems(toRemove);
    report.freed = result.freed;
    for (const auto& item : toRemove) {
        auto failure = std::find_if(result.failures.begin(), result.failures.end(),
            [&](const auto& f) { return f.first == item.path; });
        auto escalated = std::find_if(result.needsAdmin.begin(), result.needsAdmin.end(),
            [&](const ScanItem& i) { return i.path == item.path; });
        if (failure != result.failures.end()) {
            report.left.push_back({item.path, item.size, failure->second});
            // A browser that started meanwhile is a refusal, not a failure.
            report.failed = report.failed || !reasonToLeave(context, item, browserRoots);
        } else if (escalated != result.needsAdmin.end()) {
            report.left.push_back({item.path, item.size, kNeedsAdministrator});
        } else {
            auto gone = std::find_if(result.removed.begin(), result.removed.end(),
                [&](const auto& r) { return r.first == item.path; });
            report.removed.push_back(
                {item.path, gone != result.removed.end() ? gone->second : 0, {}});
        }
    }
    return report;
}

} // namespace tidvale
