#include "engine/junk/ScheduledClean.h"

#include "engine/junk/JunkCleanRules.h"

#include <algorithm>

namespace tidvale {

RemovalReport runScheduledClean(
    const ScanService& service, const std::vector<ScanItem>& items, RemovalMode mode)
{
    std::vector<ScanItem> ticked;
    std::copy_if(items.begin(), items.end(), std::back_inserter(ticked),
        [](const ScanItem& item) { return item.isSelected; });
    return service.deleteItems(outermostItems(ticked), {}, mode);
}

std::string reasonLeft(const RemovalOutcome& outcome)
{
    if (outcome.status == RemovalStatus::needsAdministrator)
        return "Necesita la contraseña de administrador: límpialo en Basura del Sistema.";
    if (outcome.status == RemovalStatus::changed && outcome.message.empty())
        return "Cambió desde que se listó.";
    return outcome.message;
}

bool anyFailed(const RemovalReport& report)
{
    return report.any(RemovalStatus::failed);
}

} // namespace tidvale
