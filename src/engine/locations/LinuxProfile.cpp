#include "engine/locations/LocationsProfile.h"

#include "engine/apps/linux/DesktopApplications.h"
#include "engine/browsers/linux/BrowserLocations.h"
#include "engine/desktop/UserDirs.h"
#include "engine/devcaches/linux/DeveloperCaches.h"
#include "engine/fs/PathText.h"
#include "engine/junk/linux/SystemCaches.h"
#include "engine/junk/linux/SystemLogs.h"
#include "engine/junk/linux/TrashEntries.h"
#include "engine/junk/linux/TrashFolders.h"
#include "engine/junk/linux/UserCaches.h"
#include "engine/junk/linux/UserLogs.h"
#include "engine/startup/linux/StartupItems.h"
#include "engine/system/linux/VolumeName.h"
#include "platform/ApplicationRemover.h"
#include "platform/RunningApplications.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace tidvale {
namespace {

using namespace linuxdesk;

constexpr int64_t kCacheThreshold = 524288;

// Resolved and checked anew on each call: a folder that changed since the last
// listing is judged as it is now.
DesktopFolders foldersOf(const Context& context)
{
    const Environment& env = context.environment;
    return desktopFolders(context.folders.home, getuid(), env.get("XDG_CACHE_HOME"),
        env.get("XDG_CONFIG_HOME"), env.get("XDG_DATA_HOME"), context.folders.systemRoot);
}

ScanCategory categoryOf(LinuxBrowser browser)
{
    switch (browser) {
    case LinuxBrowser::firefox:
        return ScanCategory::browserFirefox;
    case LinuxBrowser::chrome:
        return ScanCategory::browserChrome;
    case LinuxBrowser::chromium:
        return ScanCategory::browserChromium;
    case LinuxBrowser::edge:
        return ScanCategory::browserEdge;
    case LinuxBrowser::brave:
        return ScanCategory::browserBrave;
    }
    return ScanCategory::browserChrome;
}

std::vector<BrowserTarget> targetsOf(const std::vector<BrowserCandidate>& found)
{
    std::vector<BrowserTarget> targets;
    for (const auto& f : found)
        targets.push_back({categoryOf(f.browser), f.candidate});
    return targets;
}

std::string mountTable()
{
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The home trash and the trash folders of mounted volumes. Under a test root only the
// volumes mounted inside that root count, so a scan of a made-up system never
// reaches the real machine's volume trashes.
std::vector<JunkCandidate> trashEntries(const DesktopFolders& folders, const std::string& root)
{
    std::vector<JunkCandidate> entries;
    bool first = true;
    for (const auto& trash :
        trashFolders(folders.home, folders.dataHome, mountTable(), folders.uid)) {
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

StartupPlaces startupPlaces(const Context& context)
{
    const Environment& env = context.environment;
    const std::string configHome = foldersOf(context).configHome;
    return {autostartFolders(configHome, env.get("XDG_CONFIG_DIRS"), context.folders.systemRoot),
        sessionFacts(env.get("XDG_CURRENT_DESKTOP"), env.get("PATH")), configHome};
}

class LinuxProfile final : public LocationsProfile {
public:
    ProfileId id() const override { return ProfileId::linuxDesktop; }
    std::string_view name() const override { return "linux"; }

    std::vector<JunkStep> junkSteps(const Context& context) const override
    {
        const DesktopFolders folders = foldersOf(context);
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

    std::vector<BrowserTarget> browserCaches(const Context& context) const override
    {
        return targetsOf(listBrowserCaches(foldersOf(context)));
    }

    std::vector<BrowserTarget> browserHistory(const Context& context) const override
    {
        return targetsOf(listBrowserHistory(foldersOf(context)));
    }

    std::vector<BrowserDataRoot> browserDataRoots(const Context& context) const override
    {
        const DesktopFolders folders = foldersOf(context);
        std::vector<BrowserDataRoot> roots;
        for (LinuxBrowser browser : kLinuxBrowsers)
            for (auto& folder : linuxdesk::browserDataRoots(browser, folders))
                roots.push_back({categoryOf(browser), std::move(folder)});
        return roots;
    }

    bool isBrowserRunning(const Context& context, ScanCategory category) const override
    {
        bool isBrowser = false;
        for (LinuxBrowser browser : kLinuxBrowsers)
            isBrowser = isBrowser || categoryOf(browser) == category;
        if (!isBrowser)
            return false;
        for (const auto& exe : context.backends.runningApplications->executables()) {
            if (auto browser = browserOfExecutable(exe);
                browser && categoryOf(*browser) == category)
                return true;
        }
        return false;
    }

    std::vector<AdminArea> adminAreas(const Context& context) const override
    {
        const std::string root = context.folders.systemRoot;
        // The clock is read when a path is checked, not when the table is made: a log
        // may have gone quiet since.
        const auto acceptsSystemLog = [root, clock = context.clock](const std::string& path) {
            return isSystemLogDeletable(root, path, LogClock::at(clock()));
        };
        return {
            {root + "/var/cache/apt/archives",
                [root](const std::string& path) { return isSystemCacheDeletable(root, path); }},
            {root + "/var/log", acceptsSystemLog},
            {root + "/var/crash", acceptsSystemLog},
            {root + "/var/lib/systemd/coredump", acceptsSystemLog},
        };
    }

    RemoveOutcome removeJunk(const Context& context, const ScanItem& item) const override
    {
        if (item.category == ScanCategory::trash)
            return removeTrashEntry(item.path);
        if (item.category == ScanCategory::systemCache)
            return removeSystemCache(context.folders.systemRoot, item.path);
        return removeItem(item.path);
    }

    GuardedFolders guardedFolders(const Context& context) const override
    {
        return foldersOf(context).guarded;
    }

    std::vector<std::string> folderNotices(const Context& context) const override
    {
        return foldersOf(context).notices();
    }

    std::optional<std::string> removalRefusal(
        const Context& context, const ScanItem& item) const override
    {
        const DesktopFolders folders = foldersOf(context);
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

    std::vector<std::string> personalFolders(
        const std::string& realHome, const Environment& environment) const override
    {
        return linuxdesk::personalFolders(realHome, environment.get("XDG_CONFIG_HOME")).inOrder();
    }

    std::vector<LaunchItem> launchItems(const Context& context) const override
    {
        return listStartupItems(startupPlaces(context), *context.backends.commands);
    }

    LaunchItemOutcome disableLaunchItem(
        const Context& context, const LaunchItem& item) const override
    {
        return disableStartupItem(startupPlaces(context), item, context.backends);
    }

    const PlatformTexts& texts() const override
    {
        static const PlatformTexts texts{"Listo para escanear tu equipo", "✅ Tu equipo está limpio",
            "Visualizá el uso del almacenamiento en tu equipo", "Limpieza del sistema",
            "Mostrar en la carpeta", "Mostrar Original en la carpeta", "Abrir en la carpeta",
            // The developer caches tool.
            "Limpieza de Desarrollo", "Limpieza de Desarrollo",
            "Elimina cachés de compiladores, gestores de paquetes e IDE",
            "¿Limpiar cachés de desarrollo?",
            "Las cachés se eliminan definitivamente; cada herramienta las regenerará cuando sea "
            "necesario.",
            " contiene datos que las herramientas NO regeneran sin conexión (p. ej. dependencias, "
            "imágenes de emulador o el historial local del IDE). Se moverá a la Papelera.",
            "Pulsa «Analizar» para medir lo que guardan las herramientas de desarrollo."};
        return texts;
    }

    std::vector<XcodeLocation> developerLocations(const Context& context) const override
    {
        return developerCaches(foldersOf(context),
            [&context](const char* name) { return context.environment.get(name); });
    }

    // Used and free as df counts them: the blocks kept for the administrator are neither
    // in use nor free for the user.
    DiskInfo homeVolume(const Context& context,
        const std::optional<platform::VolumeFigures>& figures) const override
    {
        DiskInfo info;
        info.name = homeVolumeName(context.folders.systemRoot, context.folders.home, mountTable());
        if (figures) {
            info.total = figures->total;
            info.free = figures->free;
            info.used = figures->used;
        }
        return info;
    }

    std::vector<AppInfo> installedApps(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const override
    {
        platform::ApplicationRemover& remover = *context.backends.applicationRemover;
        const RemovalSupport support{
            remover.packageRemovalUnavailable(), remover.flatpakRemovalUnavailable()};
        return listDesktopApplications(foldersOf(context), context.environment.get("XDG_DATA_DIRS"),
            context.folders.systemRoot, support, measure, job);
    }
};

} // namespace

const LocationsProfile& linuxProfile()
{
    static const LinuxProfile profile;
    return profile;
}

} // namespace tidvale
