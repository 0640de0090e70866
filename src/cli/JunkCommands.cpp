// Junk scanning reports: what the cleaners would list, measure and hand to the
// administrator stage. Nothing here deletes.
#include "cli/Command.h"
#include "engine/junk/AdminStage.h"
#include "engine/junk/ScanService.h"

#include <iostream>

namespace tidvale::cli {
namespace {

nlohmann::json itemJson(const ScanItem& item)
{
    return {{"name", item.name}, {"path", item.path}, {"size", item.size},
        {"category", std::string(displayName(item.category))}, {"isSelected", item.isSelected},
        {"requiresAdmin", item.requiresAdmin}};
}

void printItems(Invocation& inv, const std::vector<ScanItem>& items)
{
    if (inv.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& item : items)
            list.push_back(itemJson(item));
        printJson(inv.out, list);
        return;
    }
    const auto& service = inv.scan;
    std::vector<std::vector<std::string>> rows{
        {"NOMBRE", "TAMAÑO", "CATEGORÍA", "MARCADO", "ADMIN", "RUTA"}};
    int64_t total = 0;
    for (const auto& item : items) {
        rows.push_back(
            {item.name, service.formatSize(item.size), std::string(displayName(item.category)),
                item.isSelected ? "sí" : "no", item.requiresAdmin ? "🔒" : "", item.path});
        total += item.size;
    }
    printTable(inv.out, rows);
    inv.out << "Total: " << service.formatSize(total) << " en " << items.size() << " elementos\n";
}

ScanService::Progress progressTo(std::ostream& err)
{
    return [&err](const std::string& text) { err << text << "\n"; };
}

int scan(Invocation& inv)
{
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError("scan no admite argumentos");
    printItems(inv, inv.scan.scanSystemJunk(progressTo(inv.err)));
    for (const auto& notice : inv.scan.folderNotices())
        inv.err << "⚠️ " << notice << "\n";
    return 0;
}

int browsers(Invocation& inv)
{
    const bool history = takeFlag(inv.args, "--history");
    rejectUnknownOptions(inv.args);
    if (!inv.args.empty())
        throw UsageError("browsers solo admite --history");
    printItems(inv, inv.scan.scanBrowsers(history, progressTo(inv.err)));
    return 0;
}

std::vector<std::string> pathArguments(std::vector<std::string> args, const char* command)
{
    rejectUnknownOptions(args);
    if (!args.empty() && args.front() == "--")
        args.erase(args.begin());
    if (args.empty())
        throw UsageError(std::string(command) + " necesita al menos una ruta");
    return args;
}

int size(Invocation& inv)
{
    const auto paths = pathArguments(inv.args, "size");
    const auto& service = inv.scan;
    nlohmann::json list = nlohmann::json::array();
    std::vector<std::vector<std::string>> rows;
    for (const auto& path : paths) {
        const int64_t bytes = service.sizeOfPath(path);
        list.push_back({{"path", path}, {"size", bytes}});
        rows.push_back({std::to_string(bytes), path});
    }
    if (inv.json)
        printJson(inv.out, list);
    else
        printTable(inv.out, rows);
    return 0;
}

int adminPlan(Invocation& inv)
{
    const auto paths = pathArguments(inv.args, "admin-plan");
    std::vector<ScanItem> items;
    for (const auto& path : paths) {
        auto slash = path.rfind('/');
        items.push_back({slash == std::string::npos ? path : path.substr(slash + 1), path, 0,
            ScanCategory::systemCache, true, true});
    }
    const AdminPlan plan = planAdminDeletion(inv.context, items);
    std::vector<std::string> messages;
    for (const auto& item : plan.refused)
        messages.push_back("Ruta no permitida: " + item.path);
    if (inv.json) {
        nlohmann::json accepted = nlohmann::json::array();
        for (const auto& item : plan.accepted)
            accepted.push_back(item.path);
        printJson(
            inv.out, {{"accepted", accepted}, {"messages", messages}, {"script", plan.script}});
        return 0;
    }
    inv.out << "Aceptadas:\n";
    for (const auto& item : plan.accepted)
        inv.out << "  " << item.path << "\n";
    inv.out << "Mensajes:\n";
    for (const auto& m : messages)
        inv.out << "  " << m << "\n";
    inv.out << "Script:\n  " << (plan.script.empty() ? "(ninguno)" : plan.script) << "\n";
    return 0;
}

const Registration kScan{{"scan", "", "basura del sistema (cachés, registros, Papelera)", scan}};
const Registration kBrowsers{{"browsers", "[--history]", "cachés de los navegadores", browsers}};
// A link named here is measured as the link, as the cleaners count it; "RUTA/" names
// what the link points to, as for du.
const Registration kSize{{"size", "RUTA...",
    "tamaño lógico de cada archivo o carpeta (un enlace, como enlace; RUTA/ mide su destino)",
    size}};
const Registration kAdminPlan{
    {"admin-plan", "RUTA...", "qué haría la etapa de administrador", adminPlan}};

} // namespace
} // namespace tidvale::cli
