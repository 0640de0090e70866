// File finder reports: large files, duplicate groups and the Downloads listing, as the
// screens would show them. Nothing here moves or deletes.
#include "cli/Command.h"
#include "engine/downloads/Downloads.h"
#include "engine/finders/Duplicates.h"
#include "engine/finders/LargeFiles.h"
#include "engine/format/ByteText.h"
#include "engine/format/DateText.h"
#include "engine/fs/PathText.h"
#include "engine/fs/TreeSize.h"
#include "engine/settings/KeepList.h"

#include <chrono>
#include <ostream>

namespace tidvale::cli {
namespace {

// The remaining arguments as folders; none means the six personal folders.
std::vector<std::string> rootsFrom(const Invocation& inv)
{
    std::vector<std::string> args = inv.args;
    rejectUnknownOptions(args);
    if (!args.empty() && args.front() == "--")
        args.erase(args.begin());
    return args.empty() ? inv.context.folders.personal : args;
}

std::string isoDate(std::chrono::system_clock::time_point when)
{
    return formatIsoDate(std::chrono::system_clock::to_time_t(when));
}

int large(Invocation& inv)
{
    int64_t threshold = kLargeFileThresholds[kDefaultLargeFileThreshold].bytes;
    if (std::string min; takeOption(inv.args, "--min", min))
        threshold = parseByteCount(min);
    auto items = findLargeFiles(*inv.context.pool, rootsFrom(inv), threshold,
        [&](const std::string& text) { inv.err << text << "\n"; });
    dropKept(items, keptPaths(inv.context.settings));
    if (inv.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& item : items)
            list.push_back({{"name", item.name}, {"path", item.path}, {"size", item.size},
                {"modified", isoDate(item.modified)}, {"kind", item.kind}});
        printJson(inv.out, list);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"TAMAÑO", "MODIFICADO", "TIPO", "RUTA"}};
    for (const auto& item : items)
        rows.push_back({formatFileBytes(item.size), isoDate(item.modified), item.kind, item.path});
    if (!items.empty())
        printTable(inv.out, rows);
    inv.out << largeFilesSummary(items) << "\n";
    return 0;
}

int dupes(Invocation& inv)
{
    auto search = findDuplicates(*inv.context.pool, rootsFrom(inv),
        [&](const std::string& text) { inv.err << text << "\n"; });
    dropKeptCopies(search, keptPaths(inv.context.settings));
    if (inv.json) {
        nlohmann::json groups = nlohmann::json::array();
        for (const auto& g : search.groups) {
            nlohmann::json files = nlohmann::json::array();
            for (const auto& f : g.files)
                files.push_back(f.path);
            groups.push_back({{"hash", g.hash}, {"size", g.size}, {"files", files}});
        }
        printJson(inv.out, {{"groups", groups}, {"wasted", search.wasted}});
        return 0;
    }
    for (const auto& g : search.groups) {
        inv.out << lastPathComponent(g.files.front().path) << " — " << g.files.size()
                << " copias  −" << formatFileBytes(g.wastedBytes()) << "  "
                << formatFileBytes(g.size) << " c/u\n";
        for (const auto& f : g.files)
            inv.out << "    " << f.path << "\n";
    }
    if (search.groups.empty())
        inv.out << "✅ No se encontraron duplicados\n";
    else
        inv.out << search.groups.size() << " grupos · " << formatFileBytes(search.wasted)
                << " desperdiciados\n";
    return 0;
}

int downloads(Invocation& inv)
{
    int filter = 0;
    if (std::string index; takeOption(inv.args, "--filter", index)) {
        const int64_t value = parseByteCount(index);
        if (value >= static_cast<int64_t>(kAgeFilters.size()))
            throw UsageError("--filter va de 0 a " + std::to_string(kAgeFilters.size() - 1));
        filter = static_cast<int>(value);
    }
    rejectUnknownOptions(inv.args);
    auto args = inv.args;
    if (!args.empty() && args.front() == "--")
        args.erase(args.begin());
    if (args.size() > 1)
        throw UsageError("downloads admite una sola carpeta");
    const std::string folder = args.empty() ? downloadsFolder(inv.context) : args.front();
    const auto now = std::chrono::system_clock::now();
    auto listed = listDownloads(folder, {}, treeMeasure(*inv.context.pool));
    dropKept(listed, keptPaths(inv.context.settings));
    const auto shown = filterDownloads(std::move(listed), filter, now);
    if (inv.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& item : shown)
            list.push_back({{"name", item.name}, {"path", item.path}, {"size", item.size},
                {"date", isoDate(item.date)}, {"kind", item.kind},
                {"isSelected", item.isSelected}});
        printJson(inv.out, list);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"NOMBRE", "TAMAÑO", "DESCARGADO", "TIPO"}};
    for (const auto& item : shown)
        rows.push_back({item.name, formatFileBytes(item.size), isoDate(item.date), item.kind});
    if (!shown.empty())
        printTable(inv.out, rows);
    inv.out << downloadsSummary(shown) << "\n";
    return 0;
}

const Registration kLarge{{"large", "[--min BYTES] [CARPETA...]",
    "archivos de al menos BYTES (50 MB por omisión), el mayor primero", large}};
const Registration kDupes{
    {"dupes", "[CARPETA...]", "grupos de archivos idénticos de más de 4096 bytes", dupes}};
const Registration kDownloads{{"downloads", "[--filter 0-4] [CARPETA]",
    "la carpeta Descargas, lo más antiguo primero (filtro de antigüedad)", downloads}};

} // namespace
} // namespace tidvale::cli
