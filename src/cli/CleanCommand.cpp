// The one command that deletes: the cleaning a user would schedule. Without --yes it
// only says what it would do.
#include "cli/CleanReportOutput.h"
#include "cli/Command.h"
#include "cli/ScheduledNotice.h"
#include "engine/junk/ScanService.h"
#include "engine/junk/ScheduledClean.h"
#include "platform/Notifier.h"

#include <algorithm>
#include <iostream>

namespace tidvale::cli {
namespace {

std::vector<ScanCategory> chosenCategories(std::vector<std::string>& args)
{
    std::vector<ScanCategory> chosen;
    std::string name;
    while (takeOption(args, "--category", name)) {
        auto category = categoryFromDisplayName(name);
        if (!category)
            throw UsageError("categoría desconocida: " + name
                + " (usa el texto de \"category\" de --json, p. ej. \"Caché de Usuario\")");
        chosen.push_back(*category);
    }
    return chosen;
}

// A damaged settings file leaves `notify` at its default: on.
void notifyEnd(Invocation& inv, const RemovalReport& report)
{
    const auto& settings = inv.context.settings.atStart;
    if (settings.damage)
        inv.err << "⚠️ " << damageText(inv.context.settings.path, *settings.damage) << "\n";
    if (!settings.values.notify || !inv.context.backends.notifier)
        return;
    if (auto error = inv.context.backends.notifier->notify(scheduledCleanNotice(report)))
        inv.err << "⚠️ " << *error << "\n";
}

int clean(Invocation& inv)
{
    const bool yes = takeFlag(inv.args, "--yes");
    const bool history = takeFlag(inv.args, "--history");
    const bool cookies = takeFlag(inv.args, "--cookies");
    // How the schedule runs it: nobody watches, so it ends with a notification.
    const bool scheduled = takeFlag(inv.args, "--scheduled");
    const auto categories = chosenCategories(inv.args);
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError(
            "clean solo admite --yes, --history, --cookies, --scheduled y --category NOMBRE");

    const auto& service = inv.scan;
    auto progress = [&inv](const std::string& text) { inv.err << text << "\n"; };
    std::vector<ScanItem> items = service.scanSystemJunk(progress);
    for (auto& item : service.scanBrowsers(history, progress)) {
        item.isSelected = true; // asking for --history ticks the history too
        items.push_back(std::move(item));
    }
    if (cookies)
        for (auto& item : service.scanSiteData(progress)) {
            item.isSelected = true;
            items.push_back(std::move(item));
        }
    // Unattended, the clean takes what the user chose in the settings; a category named
    // on the command line still wins.
    if (scheduled)
        items = scheduledSelection(std::move(items), inv.context.settings.atStart.values,
            inv.context.clock(), !categories.empty());
    if (!categories.empty())
        std::erase_if(items, [&](const ScanItem& item) {
            return std::find(categories.begin(), categories.end(), item.category)
                == categories.end();
        });

    // A folder the environment names that was refused listed nothing: say so, or a
    // clean that found nothing to do there would look like a clean home.
    for (const auto& notice : service.folderNotices())
        inv.err << "⚠️ " << notice << "\n";
    const RemovalReport report
        = runScheduledClean(service, items, yes ? RemovalMode::remove : RemovalMode::dryRun);
    printCleanReport(inv, report, !yes);
    if (yes)
        recordCliRemoval(inv, report, scheduled ? "Limpieza programada" : "tidvale-cli clean");
    if (scheduled && yes)
        notifyEnd(inv, report);
    return anyFailed(report) ? 1 : 0;
}

const Registration kClean{
    {"clean", "[--yes] [--history] [--cookies] [--scheduled] [--category NOMBRE]...",
        "limpia como Smart Scan (sin --yes solo dice qué eliminaría)", clean}};

} // namespace
} // namespace tidvale::cli
