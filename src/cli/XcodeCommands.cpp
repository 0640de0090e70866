// The developer caches tool (Xcode's eleven locations on the Mac, the developer
// tools' caches on a Linux desktop): its listing with what the screen would show and
// tick, and, with --clean, the screen's clean of the ticked or named rows.
#include "cli/CleanReportOutput.h"
#include "cli/Command.h"
#include "engine/devcaches/DeveloperPlaces.h"
#include "engine/devcaches/XcodeCleaner.h"
#include "engine/devcaches/XcodeLocations.h"
#include "engine/fs/PathText.h"
#include "engine/fs/TreeSize.h"
#include "engine/junk/ScheduledClean.h"

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

// What a clean of `selection` would do now: a location inside another selected one
// goes with it and frees nothing of its own.
RemovalReport dryRun(const std::vector<XcodeCleanItem>& selection)
{
    RemovalReport report;
    for (const auto& item : selection) {
        const bool nested
            = std::any_of(selection.begin(), selection.end(), [&](const XcodeCleanItem& outer) {
                  return outer.path != item.path && isSameOrInside(item.path, outer.path);
              });
        report.add({item.path, item.path, item.size, RemovalStatus::gone, {},
            nested ? 0 : item.size, {}, false});
    }
    return report;
}

int clean(Invocation& inv, XcodeListing listing, bool yes)
{
    RemovalReport unasked; // rows named that are not cleaned, and why
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
                unasked.add(
                    {row->path, row->path, row->size, RemovalStatus::refused, why, 0, {}, false});
        }
    }
    const auto selection = xcodeCleanSelection(listing.items);
    RemovalReport report = unasked;
    report.append(yes ? cleanXcodeLocations(inv.context, selection) : dryRun(selection));
    printCleanReport(inv, report, !yes);
    if (yes)
        recordCliRemoval(inv, report, "tidvale-cli xcode --clean");
    return anyFailed(report) ? 1 : 0;
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
