// System information reports: memory, the home volume, installed applications and
// launch items, as the system tools show them. Nothing here changes the system.
#include "cli/Command.h"
#include "engine/format/ByteText.h"
#include "engine/system/AppUninstall.h"
#include "engine/system/SystemInfoService.h"
#include "engine/system/Usage.h"

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
    const MemoryInfo m = SystemInfoService::shared().getMemoryInfo();
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
    const DiskInfo d = SystemInfoService::shared().getDiskInfo();
    if (inv.json) {
        printJson(inv.out, {{"total", d.total}, {"free", d.free}});
        return 0;
    }
    const Usage u = diskUsage(d.total, d.free);
    printTable(inv.out,
        {{"Capacidad Total", formatFileBytes(d.total)},
            {"Espacio Usado",
                formatFileBytes(static_cast<int64_t>(u.used)) + " (" + std::to_string(u.percent)
                    + "%)"},
            {"Espacio Libre", formatFileBytes(d.free)}});
    return 0;
}

int apps(Invocation& inv)
{
    noArguments(inv, "apps");
    const auto list = SystemInfoService::shared().getInstalledApps(
        [&inv](const std::string& text) { inv.err << text << "\n"; });
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

int launchItems(Invocation& inv)
{
    noArguments(inv, "launch-items");
    const auto list = SystemInfoService::shared().getLaunchItems();
    if (inv.json) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& i : list)
            out.push_back({{"name", i.name}, {"path", i.path}, {"isEnabled", i.isEnabled},
                {"source", i.source}, {"bundleID", i.bundleID}});
        printJson(inv.out, out);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"IDENTIFICADOR", "TIPO", "RUTA"}};
    for (const auto& i : list)
        rows.push_back({i.bundleID.empty() ? i.name : i.bundleID, i.source, i.path});
    printTable(inv.out, rows);
    inv.out << list.size() << " elementos encontrados\n";
    return 0;
}

const Registration kMemory{{"memory", "", "cifras de memoria", memory}};
const Registration kDisk{{"disk", "", "capacidad del volumen de la carpeta personal", disk}};
const Registration kApps{{"apps", "", "aplicaciones instaladas, de mayor a menor", apps}};
const Registration kLaunchItems{{"launch-items", "", "agentes y daemons de inicio", launchItems}};

} // namespace
} // namespace tidvale::cli
