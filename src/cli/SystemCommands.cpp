// System information reports: memory, the home volume, installed applications and
// launch items, as the system tools show them. Nothing here changes the system.
#include "cli/Command.h"
#include "engine/apps/AppUninstall.h"
#include "engine/format/ByteText.h"
#include "engine/startup/LaunchItemPlaces.h"
#include "engine/startup/LaunchItemTexts.h"
#include "engine/system/SystemInfoService.h"
#include "engine/system/Usage.h"

#include <algorithm>
#include <ostream>

namespace tidvale::cli {
namespace {

void noArguments(Invocation& inv, const char* command)
{
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError(std::string(command) + " no admite argumentos");
}

int memory(Invocation& inv)
{
    noArguments(inv, "memory");
    const MemoryInfo m = inv.info.getMemoryInfo();
    if (inv.json) {
        printJson(inv.out,
            {{"total", m.total}, {"free", m.free}, {"active", m.active}, {"inactive", m.inactive},
                {"wired", m.wired}, {"compressed", m.compressed}});
        return 0;
    }
    const Usage u = memoryUsage(m.total, m.free);
    printTable(inv.out,
        {{"RAM Total", formatMemoryBytes(m.total)},
            {"En Uso", formatMemoryBytes(u.used) + " (" + std::to_string(u.percent) + "%)"},
            {"Disponible", formatMemoryBytes(m.free)}, {"Activa", formatMemoryBytes(m.active)},
            {"Inactiva", formatMemoryBytes(m.inactive)}, {"Wired", formatMemoryBytes(m.wired)},
            {"Comprimida", formatMemoryBytes(m.compressed)}});
    return 0;
}

int disk(Invocation& inv)
{
    noArguments(inv, "disk");
    const DiskInfo d = inv.info.getDiskInfo();
    if (inv.json) {
        printJson(
            inv.out, {{"name", d.name}, {"total", d.total}, {"used", d.used}, {"free", d.free}});
        return 0;
    }
    const Usage u = volumeUsage(d);
    printTable(inv.out,
        {{"Volumen", d.name}, {"Capacidad Total", formatFileBytes(d.total)},
            {"Espacio Usado",
                formatFileBytes(static_cast<int64_t>(u.used)) + " (" + std::to_string(u.percent)
                    + "%)"},
            {"Espacio Libre", formatFileBytes(d.free)}});
    return 0;
}

int apps(Invocation& inv)
{
    noArguments(inv, "apps");
    const auto list
        = inv.info.getInstalledApps([&inv](const std::string& text) { inv.err << text << "\n"; });
    if (inv.json) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& a : list) {
            nlohmann::json app{{"name", a.name}, {"path", a.path}, {"size", a.size},
                {"version", a.version}, {"bundleID", a.bundleID},
                {"source", appSourceName(a.source)}, {"removable", a.removable}};
            if (!a.removable)
                app["reason"] = a.notRemovableReason;
            if (!a.package.empty())
                app["package"] = a.package;
            out.push_back(std::move(app));
        }
        printJson(inv.out, out);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"APLICACIÓN", "VERSIÓN", "TAMAÑO", "RUTA"}};
    for (const auto& a : list)
        rows.push_back(
            {a.name, a.version.empty() ? "-" : a.version, formatFileBytes(a.size), a.path});
    printTable(inv.out, rows);
    inv.out << list.size() << " aplicaciones\n";
    return 0;
}

// Disables each listed item at one of `paths` as the Extensiones screen's delete does;
// a path that is no listed item is an error, and nothing else is touched.
int disableLaunchItems(Invocation& inv, const std::vector<std::string>& paths)
{
    const auto listed = inv.info.getLaunchItems();
    const LaunchItemPlaces& places = *inv.context.places.launchItems;
    nlohmann::json report = nlohmann::json::array();
    bool allDone = true;
    for (const auto& path : paths) {
        const auto it = std::find_if(
            listed.begin(), listed.end(), [&](const LaunchItem& i) { return i.path == path; });
        const RemovalOutcome outcome = it != listed.end()
            ? places.disable(inv.context, *it)
            : outcomeAt(path, "\u201c" + path + "\u201d no es un elemento de inicio.");
        allDone = allDone && outcome.isGone();
        if (inv.json)
            report.push_back(
                {{"path", path}, {"ok", outcome.isGone()}, {"error", outcome.message}});
        else
            inv.out << (outcome.isGone() ? doneTextFor(*it) : failedText(outcome.message)) << "\n";
    }
    if (inv.json)
        printJson(inv.out, report);
    return allDone ? 0 : 1;
}

int launchItems(Invocation& inv)
{
    const bool disable = takeFlag(inv.args, "--disable");
    rejectUnknownOptions(inv.args);
    if (auto dashes = std::find(inv.args.begin(), inv.args.end(), "--"); dashes != inv.args.end())
        inv.args.erase(dashes);
    if (disable) {
        if (inv.args.empty())
            throw UsageError("a --disable le falta al menos una ruta");
        return disableLaunchItems(inv, inv.args);
    }
    if (!inv.args.empty())
        throw UsageError("launch-items solo admite --disable RUTA...");
    const auto list = inv.info.getLaunchItems();
    if (inv.json) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& i : list)
            out.push_back({{"name", i.name}, {"path", i.path}, {"isEnabled", i.isEnabled},
                {"enabled", i.isEnabled}, {"source", i.source}, {"bundleID", i.bundleID}});
        printJson(inv.out, out);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"IDENTIFICADOR", "TIPO", "RUTA"}};
    for (const auto& i : list)
        rows.push_back({i.bundleID.empty() ? i.name : i.bundleID,
            i.isEnabled ? i.source : i.source + " · desactivado", i.path});
    printTable(inv.out, rows);
    inv.out << list.size() << " elementos encontrados\n";
    return 0;
}

const Registration kMemory{{"memory", "", "cifras de memoria", memory}};
const Registration kDisk{{"disk", "", "capacidad del volumen de la carpeta personal", disk}};
const Registration kApps{{"apps", "", "aplicaciones instaladas, de mayor a menor", apps}};
const Registration kLaunchItems{{"launch-items", "[--disable RUTA...]",
    "elementos de inicio; --disable los desactiva como la pantalla", launchItems}};

} // namespace
} // namespace tidvale::cli
