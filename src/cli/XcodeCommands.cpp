// The developer caches tool's listing (Xcode's eleven locations on the Mac, the
// developer tools' caches on a Linux desktop) with what the screen would show and tick.
// Nothing here deletes.
#include "cli/Command.h"
#include "engine/fs/Homes.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/xcode/XcodeCleaner.h"
#include "engine/xcode/XcodeLocations.h"

#include <ostream>

namespace tidvale::cli {
namespace {

nlohmann::json itemJson(const XcodeCleanItem& item)
{
    return {{"name", item.name}, {"path", item.path}, {"size", item.size},
        {"description", item.description}, {"isSelected", item.isSelected},
        {"isAvailable", item.isAvailable}, {"isRegenerable", item.isRegenerable}};
}

int xcode(Invocation& inv)
{
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError("xcode no admite argumentos");
    const XcodeListing listing
        = listXcodeLocations(currentProfile().developerLocations(processHome()));
    if (inv.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& item : listing.items)
            list.push_back(itemJson(item));
        printJson(inv.out, list);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{
        {"CATEGORÍA", "TAMAÑO", "MARCADO", "DESTINO", "DESCRIPCIÓN", "RUTA"}};
    for (const auto& item : listing.items)
        rows.push_back({item.name, xcodeSizeText(item), item.isSelected ? "sí" : "no",
            item.isRegenerable ? "eliminar" : "Papelera", item.description, item.path});
    printTable(inv.out, rows);
    inv.out << xcodeListingStatus(listing) << "\n";
    return 0;
}

const Registration kXcode{{"xcode", "", "cachés de desarrollo y su tamaño", xcode}};

} // namespace
} // namespace tidvale::cli
