#include "engine/junk/JunkPlaces.h"

#include "engine/desktop/ContextFolders.h"
#include "engine/desktop/SystemLocations.h"
#include "engine/fs/FolderEntries.h"
#include "engine/fs/FolderGuard.h"

namespace tidvale {
namespace {

constexpr int64_t kCacheThreshold = 524288;

// The visible entries of a folder in listing order, as the Mac's file manager lists
// them; nothing when the folder cannot be read.
std::vector<JunkCandidate> visibleEntries(const std::string& folder)
{
    std::vector<JunkCandidate> found;
    for (auto& name : childNames(folder))
        if (name.front() != '.')
            found.push_back({name, folder + "/" + name});
    return found;
}

class MacJunkPlaces final : public JunkPlaces {
public:
    std::vector<JunkStep> steps(const Context& context) const override
    {
        const std::string& home = context.folders.home;
        const std::string& root = context.folders.systemRoot;
        auto listing
            = [](std::string folder) { return [folder] { return visibleEntries(folder); }; };
        return {
            {"Escaneando caché de usuario...", ScanCategory::userCache, kCacheThreshold,
                AdminCheck::never, listing(home + "/Library/Caches")},
            {"Escaneando caché del sistema...", ScanCategory::systemCache, kCacheThreshold,
                AdminCheck::itemNotWritable, listing(SystemLocations::libraryCaches(root))},
            {"Escaneando registros de usuario...", ScanCategory::userLogs, 0, AdminCheck::never,
                listing(home + "/Library/Logs")},
            {"Escaneando registros del sistema...", ScanCategory::systemLogs, 0,
                AdminCheck::itemNotWritable, listing(SystemLocations::libraryLogs(root))},
            {"Escaneando papelera...", ScanCategory::trash, -1, AdminCheck::never,
                listing(home + "/.Trash")},
        };
    }

    RemoveOutcome remove(const Context&, const ScanItem& item) const override
    {
        return removeItem(item.path);
    }

    std::vector<std::string> folderNotices(const Context&) const override { return {}; }

    std::optional<std::string> removalRefusal(
        const Context& context, const ScanItem& item) const override
    {
        const auto entry = resolvedEntry(item.path);
        if (!entry)
            return item.path + " no se puede comprobar";
        if (auto why = guardRefusal(macGuardedFoldersOf(context), *entry))
            return *entry + " " + *why;
        return std::nullopt;
    }
};

} // namespace

const JunkPlaces& macJunkPlaces()
{
    static const MacJunkPlaces places;
    return places;
}

} // namespace tidvale
