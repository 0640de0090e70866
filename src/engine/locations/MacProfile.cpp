#include "engine/locations/LocationsProfile.h"

#include "engine/apps/mac/BundleApplications.h"
#include "engine/desktop/SystemLocations.h"
#include "engine/startup/mac/LaunchAgents.h"
#include "platform/RunningApplications.h"

#include <dirent.h>

#include <algorithm>

namespace tidvale {
namespace {

constexpr int64_t kCacheThreshold = 524288;

// The visible entries of a folder in listing order, as the Mac's file manager lists
// them; nothing when the folder cannot be read.
std::vector<JunkCandidate> visibleEntries(const std::string& folder)
{
    std::vector<JunkCandidate> found;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return found;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue; // also "." and ".."
        found.push_back({e->d_name, folder + "/" + e->d_name});
    }
    closedir(d);
    return found;
}

class MacProfile final : public LocationsProfile {
public:
    ProfileId id() const override { return ProfileId::mac; }
    std::string_view name() const override { return "mac"; }

    std::vector<JunkStep> junkSteps(const Context& context) const override
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

    std::vector<BrowserTarget> browserCaches(const Context& context) const override
    {
        const std::string& home = context.folders.home;
        std::vector<BrowserTarget> targets{
            {ScanCategory::browserSafari,
                {"com.apple.Safari", home + "/Library/Caches/com.apple.Safari"}},
            {ScanCategory::browserChrome,
                {"Cache", home + "/Library/Application Support/Google/Chrome/Default/Cache"}},
            {ScanCategory::browserChrome,
                {"GPUCache", home + "/Library/Application Support/Google/Chrome/Default/GPUCache"}},
            {ScanCategory::browserEdge,
                {"Cache", home + "/Library/Application Support/Microsoft Edge/Default/Cache"}},
        };
        for (const auto& profile : visibleEntries(firefoxProfiles(home)))
            targets.push_back({ScanCategory::browserFirefox,
                {"Caché (" + profile.name + ")", profile.path + "/cache2"}});
        return targets;
    }

    std::vector<BrowserTarget> browserHistory(const Context& context) const override
    {
        const std::string& home = context.folders.home;
        std::vector<BrowserTarget> files;
        for (const char* file : {"History.db", "History.db-wal", "History.db-shm"})
            files.push_back({ScanCategory::browserSafari,
                {std::string("Historial · ") + file, home + "/Library/Safari/" + file}});
        return files;
    }

    std::vector<BrowserDataRoot> browserDataRoots(const Context& context) const override
    {
        const std::string& home = context.folders.home;
        const std::string support = home + "/Library/Application Support";
        const std::string caches = home + "/Library/Caches";
        return {
            {ScanCategory::browserSafari, caches + "/com.apple.Safari"},
            {ScanCategory::browserSafari, home + "/Library/Safari"},
            {ScanCategory::browserChrome, support + "/Google/Chrome"},
            {ScanCategory::browserChrome, caches + "/Google/Chrome"},
            {ScanCategory::browserFirefox, caches + "/Firefox"},
            {ScanCategory::browserFirefox, support + "/Firefox"},
            {ScanCategory::browserEdge, support + "/Microsoft Edge"},
            {ScanCategory::browserEdge, caches + "/Microsoft Edge"},
        };
    }

    bool isBrowserRunning(const Context& context, ScanCategory category) const override
    {
        const auto ids = bundleIdentifiers(category);
        if (ids.empty())
            return false;
        const auto running = context.backends.runningApplications->bundleIdentifiers();
        return std::any_of(running.begin(), running.end(), [&](const std::string& id) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        });
    }

    std::vector<AdminArea> adminAreas(const Context& context) const override
    {
        const std::string& root = context.folders.systemRoot;
        return {
            {SystemLocations::libraryCaches(root), {}}, {SystemLocations::libraryLogs(root), {}}};
    }

    std::vector<std::string> personalFolders(
        const std::string& realHome, const Environment&) const override
    {
        std::vector<std::string> folders;
        for (const char* name :
            {"Downloads", "Documents", "Desktop", "Pictures", "Movies", "Music"})
            folders.push_back(realHome + "/" + name);
        return folders;
    }

    const PlatformTexts& texts() const override
    {
        static const PlatformTexts texts{"Listo para escanear tu Mac", "✅ Tu Mac está limpio",
            "Visualizá el uso del almacenamiento en tu Mac", "Mac Cleaner", "Mostrar en Finder",
            "Mostrar Original en Finder", "Abrir en Finder",
            // The developer caches tool.
            "Limpieza Xcode", "Limpieza de Xcode",
            "Elimina DerivedData, simuladores y cachés de desarrollo", "¿Limpiar cachés de Xcode?",
            "Las cachés se eliminan definitivamente; Xcode las regenerará cuando sea necesario.",
            " contiene datos que Xcode NO regenera (p. ej. dSYMs de versiones publicadas o tu "
            "propio código). Se moverá a la Papelera.",
            "Pulsa «Analizar» para medir lo que guardan Xcode y sus simuladores."};
        return texts;
    }

    std::vector<LaunchItem> launchItems(const Context& context) const override
    {
        return macos::listLaunchAgents(context.folders.home, context.folders.systemRoot);
    }

    // The property list is deleted outright; the job itself is left as it is.
    LaunchItemOutcome disableLaunchItem(const Context&, const LaunchItem& item) const override
    {
        const RemoveOutcome outcome = removeItem(item.path);
        if (!outcome.ok())
            return {false, describeRemoveError(outcome.error, outcome.where)};
        return {true, {}};
    }

    std::vector<XcodeLocation> developerLocations(const Context& context) const override
    {
        return xcodeLocations(context.folders.home);
    }

    // The Mac's startup volume keeps its fixed name, and what is not free is used.
    DiskInfo homeVolume(
        const Context&, const std::optional<platform::VolumeFigures>& figures) const override
    {
        DiskInfo info;
        info.name = "Macintosh HD";
        if (figures) {
            info.total = figures->total;
            info.free = figures->free;
            info.used = figures->free < figures->total ? figures->total - figures->free : 0;
        }
        return info;
    }

    std::vector<AppInfo> installedApps(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const override
    {
        return listBundleApplications(
            context.folders.home, context.folders.systemRoot, measure, job);
    }

private:
    static std::string firefoxProfiles(const std::string& home)
    {
        return home + "/Library/Caches/Firefox/Profiles";
    }
};

} // namespace

const LocationsProfile& macProfile()
{
    static const MacProfile profile;
    return profile;
}

} // namespace tidvale
