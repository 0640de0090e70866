#include "cli/CleanReportOutput.h"

#include "engine/format/ByteText.h"

#include <ostream>

namespace tidvale::cli {
namespace {

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

} // namespace

void printCleanReport(Invocation& inv, const CleanReport& report, bool dryRun)
{
    if (inv.json) {
        printJson(inv.out,
            {{"dryRun", dryRun}, {"removed", entriesJson(report.removed, false)},
                {"left", entriesJson(report.left, true)}, {"freed", report.freed}});
        return;
    }
    std::vector<std::vector<std::string>> rows{
        {dryRun ? "SE ELIMINARÍA" : "ELIMINADO", "TAMAÑO", "MOTIVO"}};
    for (const auto& e : report.removed)
        rows.push_back({e.path, formatJunkBytes(e.size), ""});
    for (const auto& e : report.left)
        rows.push_back({e.path, formatJunkBytes(e.size), "se deja: " + e.reason});
    printTable(inv.out, rows);
    inv.out << (dryRun ? "Se liberarían: " : "Liberado: ") << formatJunkBytes(report.freed) << " · "
            << report.left.size() << " elemento(s) se dejan\n";
    if (dryRun)
        inv.out << "Nada se ha eliminado: añade --yes para limpiar.\n";
}

} // namespace tidvale::cli
