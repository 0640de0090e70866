#include "engine/junk/ScheduledClean.h"

#include "engine/fs/OwnFiles.h"
#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/linux/TrashInfo.h"

#include <sys/stat.h>

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

std::optional<std::time_t> trashEntryDeletedAt(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    const std::string half = folder.substr(folder.find_last_of('/') + 1);
    const std::string trash = folder.substr(0, folder.find_last_of('/'));
    std::string info;
    if (half == "files")
        info = trash + "/info/" + name + ".trashinfo";
    else if (half == "info")
        info = path;
    if (!info.empty()) {
        const OwnFileText text = readOwnFile(info, 64 * 1024);
        if (text.exists && !text.error)
            if (auto when = linuxdesk::trashInfoDeletionDate(text.text))
                return when;
    }
    // Moving an entry into the Trash changes its status time and nothing else does
    // while it sits there.
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st.st_ctime;
}

std::vector<ScanItem> scheduledSelection(
    std::vector<ScanItem> items, const Settings& settings, std::time_t now, bool categoriesGiven)
{
    const auto& chosen = settings.categories;
    const std::time_t oldest = now - std::time_t{settings.trashMaxAgeDays} * 24 * 3600;
    std::erase_if(items, [&](const ScanItem& item) {
        if (!categoriesGiven
            && std::find(chosen.begin(), chosen.end(), displayName(item.category)) == chosen.end())
            return true;
        if (item.category != ScanCategory::trash)
            return false;
        if (settings.trashMaxAgeDays <= 0)
            return true;
        const auto deleted = trashEntryDeletedAt(item.path);
        return !deleted || *deleted > oldest;
    });
    return items;
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
