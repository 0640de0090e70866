#include "engine/junk/JunkPlaces.h"

#include "engine/desktop/ContextFolders.h"
#include "engine/fs/MountInfo.h"
#include "engine/fs/PathText.h"
#include "engine/junk/linux/SystemCaches.h"
#include "engine/junk/linux/SystemLogs.h"
#include "engine/junk/linux/TrashEntries.h"
#include "engine/junk/linux/TrashFolders.h"
#include "engine/junk/linux/UserCaches.h"
#include "engine/junk/linux/UserLogs.h"

namespace tidvale {
namespace {

using namespace linuxdesk;

constexpr int64_t kCacheThreshold = 524288;

// The home trash and the trash folders of mounted volumes. Under a test root only the
// volumes mounted inside that root count, so a scan of a made-up system never
// reaches the real machine's volume trashes.
std::vector<JunkCandidate> trashEntries(const DesktopFolders& folders, const std::string& root)
{
    std::vector<JunkCandidate> entries;
    bool first = true;
    for (const auto& trash :
        trashFolders(folders.home, folders.dataHome, currentMountInfo(), folders.uid)) {
        const bool home = first;
        first = false;
        if (home && !folders.dataRefusal.empty())
            continue; // a data folder that is the home or the like holds no Trash of ours
        if (!home && !root.empty() && !trash.starts_with(root + "/"))
            continue;
        for (auto& entry : listTrashEntries(trash))
            entries.push_back(std::move(entry));
    }
    return entries;
}

class LinuxJunkPlaces final : public JunkPlaces {
public:
    std::vector<JunkStep> steps(const Context& context) const override
    {
        const DesktopFolders folders = desktopFoldersOf(context);
        const std::string root = context.folders.systemRoot;
        const Clock clock = context.clock; // read when the step lists, as the re-check does
        // Each downloaded package is its own item, whatever its size: the package tools
        // remove every one of them, and a small one is no less finished with.
        return {
            {"Escaneando caché de usuario...", ScanCategory::userCache, kCacheThreshold,
                AdminCheck::never, [folders] { return listUserCaches(folders); }},
            {"Escaneando caché del sistema...", ScanCategory::systemCache, 0,
                AdminCheck::parentNotWritable, [root] { return listSystemCaches(root); }},
            {"Escaneando registros de usuario...", ScanCategory::userLogs, 0, AdminCheck::never,
                [folders] { return listUserLogs(folders); }},
            {"Escaneando registros del sistema...", ScanCategory::systemLogs, 0,
                AdminCheck::parentNotWritable,
                [root, clock] { return listSystemLogs(root, LogClock::at(clock())); }},
            {"Escaneando papelera...", ScanCategory::trash, -1, AdminCheck::never,
                [folders, root] { return trashEntries(folders, root); }},
        };
    }

    RemoveOutcome remove(const Context& context, const ScanItem& item) const override
    {
        if (item.category == ScanCategory::trash)
            return removeTrashEntry(item.path);
        if (item.category == ScanCategory::systemCache)
            return removeSystemCache(context.folders.systemRoot, item.path);
        return removeItem(item.path);
    }

    std::vector<std::string> folderNotices(const Context& context) const override
    {
        return desktopFoldersOf(context).notices();
    }

    std::optional<std::string> removalRefusal(
        const Context& context, const ScanItem& item) const override
    {
        const DesktopFolders folders = desktopFoldersOf(context);
        const auto entry = resolvedEntry(item.path);
        if (!entry)
            return item.path + " no se puede comprobar";
        if (auto why = guardRefusal(folders.guarded, *entry))
            return *entry + " " + *why;
        if (item.category != ScanCategory::userCache)
            return std::nullopt;
        // A user cache is an entry of the cache folder, or a Flatpak application's
        // cache folder, and still is one now, through no link.
        const std::string parent = parentFolder(*entry);
        if (lastPathComponent(*entry) == "cache"
            && parentFolder(parent) == folders.home + "/.var/app")
            return std::nullopt;
        if (!folders.cacheRefusal.empty())
            return folders.cacheRefusal;
        if (parent != folders.cacheHome)
            return *entry + " ya no está en la carpeta de cachés " + folders.cacheHome;
        return std::nullopt;
    }
};

} // namespace

const JunkPlaces& linuxJunkPlaces()
{
    static const LinuxJunkPlaces places;
    return places;
}

} // namespace tidvale
