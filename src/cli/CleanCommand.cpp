// The one command that deletes: the cleaning a user would schedule. Without --yes it
// only says what it would do.
#include "cli/Command.h"
#include "engine/scan/ScanService.h"
#include "engine/scan/ScheduledClean.h"

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

nlohmann::json entriesJson(const std::vector<CleanEntry>& entries, bool withReason)
{
    nlohmann::json list = nlohmann::json::array();
    for (const auto& e : entries) {
        nlohmann::json entry{{"path", e.path}, {"size", e.size}};
        if (withReason)
            entry["reason"] = e.reason;
        list.push_back(std::move(entry));
    }
    return list;
}

void printReport(Invocation& inv, const CleanReport& report, bool dryRun)
{
    if (inv.json) {
        printJson(inv.out,
            {{"dryRun", dryRun}, {"removed", entriesJson(report.removed, false)},
                {"left", entriesJson(report.left, true)}, {"freed", report.freed}});
        return;
    }
    const auto& service = ScanService::shared();
    std::vector<std::vector<std::string>> rows{
        {dryRun ? "SE ELIMINARÍA" : "ELIMINADO", "TAMAÑO", "MOTIVO"}};
    for (const auto& e : report.removed)
        rows.push_back({e.path, service.formatSize(e.size), ""});
    for (const auto& e : report.left)
        rows.push_back({e.path, service.formatSize(e.size), "se deja: " + e.reason});
    printTable(inv.out, rows);
    inv.out << (dryRun ? "Se liberarían: " : "Liberado: ") << service.formatSize(report.freed)
            << " · " << report.left.size() << " elemento(s) se dejan\n";
    if (dryRun)
        inv.out << "Nada se ha eliminado: añade --yes para limpiar.\n";
}

int clean(Invocation& inv)
{
    const bool yes = takeFlag(inv.args, "--yes");
    const bool history = takeFlag(inv.args, "--history");
    const auto categories = chosenCategories(inv.args);
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError("clean solo admite --yes, --history y --category NOMBRE");

    const auto& service = ScanService::shared();
    auto progress = [&inv](const std::string& text) { inv.err << text << "\n"; };
    std::vector<ScanItem> items = service.scanSystemJunk(progress);
    for (auto& item : service.scanBrowsers(history, progress)) {
        item.isSelected = true; // asking for --history ticks the history too
        items.push_back(std::move(item));
    }
    if (!categories.empty())
        std::erase_if(items, [&](const ScanItem& item) {
            return std::find(categories.begin(), categories.end(), item.category)
                == categories.end();
        });

    const CleanReport report = runScheduledClean(items, !yes);
    printReport(inv, report, !yes);
    return report.failed ? 1 : 0;
}

const Registration kClean{{"clean", "[--yes] [--history] [--category NOMBRE]...",
    "limpia como Smart Scan (sin --yes solo dice qué eliminaría)", clean}};

} // namespace
} // namespace tidvale::cli
