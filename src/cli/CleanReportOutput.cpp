#include "cli/CleanReportOutput.h"

#include "engine/format/ByteText.h"
#include "engine/history/RemovalJournal.h"

#include <ostream>

namespace tidvale::cli {

// What was removed reads with the bytes it really freed (in a dry run, its listed
// size); what was left, with its listed size and why.
void printCleanReport(Invocation& inv, const RemovalReport& report, bool dryRun)
{
    const auto left = report.left();
    if (inv.json) {
        nlohmann::json removed = nlohmann::json::array();
        nlohmann::json kept = nlohmann::json::array();
        for (const auto& o : report.outcomes) {
            if (o.isGone() && o.edited)
                removed.push_back({{"path", o.path}, {"size", o.freed}, {"edited", true},
                    {"trashedAs", o.trashedAs}});
            else if (o.isGone())
                removed.push_back({{"path", o.path}, {"size", o.freed}});
            else
                kept.push_back({{"path", o.path}, {"size", o.size}, {"reason", reasonLeft(o)}});
        }
        printJson(inv.out,
            {{"dryRun", dryRun}, {"removed", removed}, {"left", kept}, {"freed", report.freed()}});
        return;
    }
    std::vector<std::vector<std::string>> rows{
        {dryRun ? "SE ELIMINARÍA" : "ELIMINADO", "TAMAÑO", "MOTIVO"}};
    for (const auto& o : report.outcomes)
        if (o.isGone())
            rows.push_back({o.path, formatJunkBytes(o.freed), ""});
    for (const RemovalOutcome* o : left)
        rows.push_back({o->path, formatJunkBytes(o->size), "se deja: " + reasonLeft(*o)});
    printTable(inv.out, rows);
    inv.out << (dryRun ? "Se liberarían: " : "Liberado: ") << formatJunkBytes(report.freed())
            << " · " << left.size() << " elemento(s) se dejan\n";
    if (dryRun)
        inv.out << "Nada se ha eliminado: añade --yes para limpiar.\n";
}

void recordCliRemoval(Invocation& inv, const RemovalReport& report, const std::string& source)
{
    if (auto error = recordRemoval(inv.context.settings, report, source, inv.context.clock()))
        inv.err << "⚠️ No se guardó en el historial: " << *error << "\n";
}

} // namespace tidvale::cli
