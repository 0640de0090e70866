// The history of cleans and the undo of one of them, from a terminal. Reading the
// history writes nothing; an undo changes only what the run moved to the Trash.
#include "cli/Command.h"
#include "engine/format/ByteText.h"
#include "engine/format/DateText.h"
#include "engine/history/CleanHistory.h"
#include "engine/history/RemovalJournal.h"
#include "engine/history/Undo.h"

#include <ostream>

namespace tidvale::cli {
namespace {

// The history as it is now; what could not be read of it goes to stderr.
HistoryRead readForUser(Invocation& inv)
{
    const UserSettings& user = inv.context.settings;
    if (user.historyPath.empty()) {
        inv.err << "⚠️ " << user.historyRefusal << "\n";
        return {};
    }
    HistoryRead history = readHistory(user.historyPath);
    if (history.error)
        inv.err << "⚠️ " << *history.error << "\n";
    if (!history.damagedLines.empty())
        inv.err << "⚠️ " << damagedLinesText(user.historyPath, history.damagedLines) << "\n";
    if (history.runs.empty() && !keepsHistory(user))
        inv.err << "No se guarda un historial de limpiezas: actívalo con «tidvale-cli settings "
                   "history true» o en Preferencias.\n";
    return history;
}

nlohmann::json runJson(const HistoryRun& run, bool withItems)
{
    nlohmann::json record{{"id", run.id}, {"time", formatIsoDate(run.when)}, {"source", run.source},
        {"freed", run.freed}, {"items", run.items.size()}};
    if (!withItems)
        return record;
    nlohmann::json items = nlohmann::json::array();
    for (const auto& item : run.items) {
        nlohmann::json entry{{"path", item.path}, {"size", item.size},
            {"outcome", historyOutcomeName(item.outcome)}};
        if (!item.trashedAs.empty())
            entry["trash"] = item.trashedAs;
        if (!item.reason.empty())
            entry["reason"] = item.reason;
        items.push_back(std::move(entry));
    }
    record["items"] = std::move(items);
    return record;
}

int history(Invocation& inv)
{
    rejectUnknownOptions(inv.args);
    if (inv.args.size() > 1)
        throw UsageError("history admite como mucho un RUN");
    const HistoryRead history = readForUser(inv);
    if (!inv.args.empty()) {
        const HistoryRun* run = findRun(history, inv.args.front());
        if (!run) {
            inv.err << "tidvale-cli: no hay ninguna limpieza «" << inv.args.front()
                    << "» en el historial\n";
            return 1;
        }
        if (inv.json)
            return printJson(inv.out, runJson(*run, true)), 0;
        std::vector<std::vector<std::string>> rows{{"ELEMENTO", "TAMAÑO", "RESULTADO"}};
        for (const auto& item : run->items)
            rows.push_back({item.path, formatJunkBytes(item.size), historyItemText(item)});
        printTable(inv.out, rows);
        return 0;
    }
    if (inv.json) {
        nlohmann::json runs = nlohmann::json::array();
        for (auto it = history.runs.rbegin(); it != history.runs.rend(); ++it)
            runs.push_back(runJson(*it, false));
        printJson(inv.out, runs);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"RUN", "FECHA", "ORIGEN", "LIBERADO", "ELEMENTOS"}};
    for (auto it = history.runs.rbegin(); it != history.runs.rend(); ++it)
        rows.push_back({it->id, formatShortDateTime(it->when), it->source,
            formatJunkBytes(it->freed), std::to_string(it->items.size())});
    printTable(inv.out, rows);
    return 0;
}

int undo(Invocation& inv)
{
    rejectUnknownOptions(inv.args);
    if (inv.args.size() > 1)
        throw UsageError("undo admite como mucho un RUN");
    const HistoryRead history = readForUser(inv);
    const std::string id = inv.args.empty() ? "last" : inv.args.front();
    const HistoryRun* run = findRun(history, id);
    if (!run) {
        inv.err << "tidvale-cli: no hay ninguna limpieza «" << id << "» en el historial\n";
        return 1;
    }
    const UndoReport report = undoRemoval(run->undoable());
    if (inv.json) {
        nlohmann::json items = nlohmann::json::array();
        for (const auto& o : report.outcomes)
            items.push_back({{"path", o.path}, {"restored", o.status == UndoStatus::restored},
                {"reason", o.message}});
        printJson(inv.out, {{"run", run->id}, {"items", items}});
    } else {
        inv.out << undoSummary(report) << " (" << run->id << ")\n" << undoDetails(report);
    }
    return report.count(UndoStatus::failed) > 0 ? 1 : 0;
}

const Registration kHistory{{"history", "[RUN]",
    "las limpiezas guardadas en el historial (con RUN, sus elementos)", history}};
const Registration kUndo{{"undo", "[RUN]",
    "devuelve a su sitio lo que una limpieza movió a la Papelera (la última por defecto)", undo}};

} // namespace
} // namespace tidvale::cli
