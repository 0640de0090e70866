// The developer caches tool (Xcode's eleven locations on the Mac, the developer
// tools' caches on a Linux desktop): its listing with what the screen would show and
// tick, and, with --clean, the screen's clean of the ticked or named rows.
#include "cli/CleanReportOutput.h"
#include "cli/Command.h"
#include "engine/devcaches/DeveloperPlaces.h"
#include "engine/devcaches/XcodeCleaner.h"
#include "engine/devcaches/XcodeLocations.h"
#include "engine/fs/TreeSize.h"

#include <algorithm>
#include <ostream>

namespace tidvale::cli {
namespace {

nlohmann::json itemJson(const XcodeCleanItem& item)
{
    nlohmann::json j{{"name", item.name}, {"path", item.path}, {"size", item.size},
        {"description", item.description}, {"isSelected", item.isSelected},
        {"isAvailable", item.isAvailable}, {"isRegenerable", item.isRegenerable}};
    if (!item.refusal.empty())
        j["refusal"] = item.refusal;
    return j;
}

void printListing(Invocation& inv, const XcodeListing& listing)
{
    if (inv.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& item : listing.items)
            list.push_back(itemJson(item));
        printJson(inv.out, list);
        return;
    }
    std::vector<std::vector<std::string>> rows{
        {"CATEGORÍA", "TAMAÑO", "MARCADO", "DESTINO", "DESCRIPCIÓN", "RUTA"}};
    for (const auto& item : listing.items)
        rows.push_back({item.name, xcodeSizeText(item), item.isSelected ? "sí" : "no",
            item.isRegenerable ? "eliminar" : "Papelera", item.description, item.path});
    printTable(inv.out, rows);
    inv.out << xcodeListingStatus(listing) << "\n";
}

// Why a row asked for by name is not cleaned; empty when it is.
std::string whyLeft(const XcodeCleanItem& item)
{
    if (!item.refusal.empty())
        return item.refusal;
    if (!item.isAvailable)
        return "No existe";
    return item.size > 0 ? std::string() : "Vacío";
}

int clean(Invocation& inv, XcodeListing listing, bool yes)
{
    CleanReport report;
    if (!inv.args.empty()) {
        for (auto& item : listing.items)
            item.isSelected = false;
        for (const auto& name : inv.args) {
            auto row = std::find_if(listing.items.begin(), listing.items.end(),
                [&](const XcodeCleanItem& i) { return i.name == name; });
            if (row == listing.items.end())
                throw UsageError("ubicación desconocida: " + name
                    + " (usa el texto de \"name\" de xcode --json, p. ej. \"pip\")");
            row->isSelected = true;
            if (auto why = whyLeft(*row); !why.empty())
                report.left.push_back({row->path, row->size, why});
        }
    }
    const auto selection = xcodeCleanSelection(listing.items);
    if (!yes) {
        for (const auto& item : selection)
            report.removed.push_back({item.path, item.size, {}});
        report.freed = xcodeBytesOnce(selection);
        printCleanReport(inv, report, true);
        return 0;
    }
    const XcodeCleanOutcome outcome = cleanXcodeLocations(inv.context, selection);
    for (const auto& item : selection) {
        const auto reason = std::find_if(outcome.reasons.begin(), outcome.reasons.end(),
            [&](const auto& r) { return r.first == item.path; });
        if (reason == outcome.reasons.end()) {
            report.removed.push_back({item.path, item.size, {}});
            continue;
        }
        report.left.push_back({item.path, item.size, reason->second});
        const bool onPurpose
            = std::count(outcome.refused.begin(), outcome.refused.end(), item.path);
        report.failed = report.failed || !onPurpose;
    }
    report.freed = outcome.freed;
    printCleanReport(inv, report, false);
    return report.failed ? 1 : 0;
}

int xcode(Invocation& inv)
{
    const bool cleaning = takeFlag(inv.args, "--clean");
    const bool yes = takeFlag(inv.args, "--yes");
    rejectUnknownOptions(inv.args);
    if (!cleaning && (yes || !inv.args.empty()))
        throw UsageError("xcode solo admite --clean [--yes] [NOMBRE]...");
    XcodeListing listing = listXcodeLocations(
        inv.context.places.developer->locations(inv.context), {}, treeMeasure(*inv.context.pool));
    if (!cleaning) {
        printListing(inv, listing);
        return 0;
    }
    return clean(inv, std::move(listing), yes);
}

const Registration kXcode{{"xcode", "[--clean [--yes] [NOMBRE]...]",
    "cachés de desarrollo y su tamaño; --clean limpia las marcadas o las nombradas (sin --yes "
    "solo dice qué haría)",
    xcode}};

} // namespace
} // namespace tidvale::cli
