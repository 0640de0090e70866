#include "engine/history/RemovalJournal.h"

namespace tidvale {

bool keepsHistory(const UserSettings& settings)
{
    return !settings.path.empty() && readSettings(settings.path).values.history;
}

std::optional<std::string> recordRemoval(
    const UserSettings& settings, const RemovalReport& report, std::string source, std::time_t now)
{
    if (report.outcomes.empty() || !keepsHistory(settings))
        return std::nullopt;
    if (settings.historyPath.empty())
        return settings.historyRefusal;
    HistoryRun run = historyRunOf(report, std::move(source), now);
    return appendHistory(settings.historyPath, run);
}

} // namespace tidvale
