#include "engine/locations/LocationsProfile.h"

#include "engine/fs/Homes.h"
#include "engine/fs/PathText.h"
#include "engine/locations/SystemLocations.h"
#include "engine/locations/linux/BrowserLocations.h"
#include "engine/locations/linux/DesktopApplications.h"
#include "engine/locations/linux/DeveloperCaches.h"
#include "engine/locations/linux/StartupItems.h"
#include "engine/locations/linux/SystemCaches.h"
#include "engine/locations/linux/SystemLogs.h"
#include "engine/locations/linux/TrashEntries.h"
#include "engine/locations/linux/TrashFolders.h"
#include "engine/locations/linux/UserCaches.h"
#include "engine/locations/linux/UserDirs.h"
#include "engine/locations/linux/UserLogs.h"
#include "engine/locations/linux/VolumeName.h"
#include "platform/ApplicationRemover.h"
#include "platform/RunningApplications.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tidvale {
namespace {

using namespace linuxdesk;

constexpr int64_t kCacheThreshold = 524288;

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

DesktopFolders foldersOf(const std::string& home)
{
    return desktopFolders(home, getuid(), environment("XDG_CACHE_HOME"),
        environment("XDG_CONFIG_HOME"), environment("XDG_DATA_HOME"), SystemLocations::root());
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
std::vector<JunkCandidate> trashEntries(const DesktopFolders& folders)
{
    const std::string root = SystemLocations::root();
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

bool acceptsSystemLog(const std::string& path)
{
    return isSystemLogDeletable(SystemLocations::root(), path);
}

StartupPlaces startupPlaces(const std::string& home)
{
    const std::string configHome = foldersOf(home).configHome;
    return {autostartFolders(configHome, environment("XDG_CONFIG_DIRS"), SystemLocations::root()),
        sessionFacts(environment("XDG_CURRENT_DESKTOP"), environment("PATH")), configHome};
}

class LinuxProfile final : public LocationsProfile {
public:
    ProfileId id() const override { return ProfileId::linuxDesktop; }
    std::string_view name() const override { return "linux"; }

    std::vector<JunkStep> junkSteps(const std::string& home) const override
    {
        const DesktopFolders folders = foldersOf(home);
        const std::string root = SystemLocations::root();
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
                AdminCheck::parentNotWritable, [root] { return listSystemLogs(root); }},
            {"Escaneando papelera...", ScanCategory::trash, -1, AdminCheck::never,
                [folders] { return trashEntries(folders); }},
        };
    }

    std::vector<BrowserTarget> browserCaches(const std::string& home) const override
    {
        return targetsOf(listBrowserCaches(foldersOf(home)));
    }

    std::vector<BrowserTarget> browserHistory(const std::string& home) const override
    {
        return targetsOf(listBrowserHistory(foldersOf(home)));
    }

    std::vector<BrowserDataRoot> browserDataRoots(const std::string& home) const override
    {
        const DesktopFolders folders = foldersOf(home);
        std::vector<BrowserDataRoot> roots;
        for (LinuxBrowser browser : kLinuxBrowsers)
            for (auto& folder : linuxdesk::browserDataRoots(browser, folders))
                roots.push_back({categoryOf(browser), std::move(folder)});
        return roots;
    }

    bool isBrowserRunning(ScanCategory category) const override
    {
        bool isBrowser = false;
        for (LinuxBrowser browser : kLinuxBrowsers)
            isBrowser = isBrowser || categoryOf(browser) == category;
        if (!isBrowser)
            return false;
        for (const auto& exe :
            platform::Service<platform::RunningApplications>::get()->executables()) {
            if (auto browser = browserOfExecutable(exe);
                browser && categoryOf(*browser) == category)
                return true;
        }
        return false;
    }

    std::vector<AdminArea> adminAreas() const override
    {
        const std::string root = SystemLocations::root();
        return {
            {root + "/var/cache/apt/archives",
                [](const std::string& path) {
                    return isSystemCacheDeletable(SystemLocations::root(), path);
                }},
            {root + "/var/log", acceptsSystemLog},
            {root + "/var/crash", acceptsSystemLog},
            {root + "/var/lib/systemd/coredump", acceptsSystemLog},
        };
    }

    RemoveOutcome removeJunk(const ScanItem& item) const override
    {
        if (item.category == ScanCategory::trash)
            return removeTrashEntry(item.path);
        if (item.category == ScanCategory::systemCache)
            return removeSystemCache(SystemLocations::root(), item.path);
        return removeItem(item.path);
    }

    GuardedFolders guardedFolders(const std::string& home) const override
    {
        return foldersOf(home).guarded;
    }

    std::vector<std::string> folderNotices(const std::string& home) const override
    {
        return foldersOf(home).notices();
    }

    std::optional<std::string> removalRefusal(
        const std::string& home, const ScanItem& item) const override
    {
        const DesktopFolders folders = foldersOf(home);
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

    std::vector<std::string> personalFolders(const std::string& realHome) const override
    {
        return linuxdesk::personalFolders(realHome, environment("XDG_CONFIG_HOME")).inOrder();
    }

    std::vector<LaunchItem> launchItems(const std::string& home) const override
    {
        return listStartupItems(startupPlaces(home));
    }

    LaunchItemOutcome disableLaunchItem(const LaunchItem& item) const override
    {
        return disableStartupItem(startupPlaces(processHome()), item);
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

    std::vector<XcodeLocation> developerLocations(const std::string& home) const override
    {
        return developerCaches(foldersOf(home), [](const char* name) { return environment(name); });
    }

    // Used and free as df counts them: the blocks kept for the administrator are neither
    // in use nor free for the user.
    DiskInfo homeVolume(const std::string& home,
        const std::optional<platform::VolumeFigures>& figures) const override
    {
        DiskInfo info;
        info.name = homeVolumeName(SystemLocations::root(), home, mountTable());
        if (figures) {
            info.total = figures->total;
            info.free = figures->free;
            info.used = figures->used;
        }
        return info;
    }

    std::vector<AppInfo> installedApps(
        const std::string& home, const TreeMeasure& measure, const JobControl& job) const override
    {
        const auto remover = platform::Service<platform::ApplicationRemover>::get();
        const RemovalSupport support{
            remover->packageRemovalUnavailable(), remover->flatpakRemovalUnavailable()};
        return listDesktopApplications(foldersOf(home), environment("XDG_DATA_DIRS"),
            SystemLocations::root(), support, measure, job);
    }
};

} // namespace

const LocationsProfile& linuxProfile()
{
    static const LinuxProfile profile;
    return profile;
}

} // namespace tidvale
