#include "engine/browsers/linux/BrowserLocations.h"

#include "engine/browsers/SiteKeep.h"
#include "engine/browsers/linux/BrowserDatabases.h"
#include "engine/browsers/linux/FirefoxProfiles.h"
#include "engine/browsers/linux/SiteStorage.h"
#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace tidvale::linuxdesk {
namespace {

// One way a Chromium-family browser is installed: its user data folder (profiles,
// "GPUCache", "History") and the folder its disk caches go to. Chromium puts the
// caches under the cache home by the user data folder's path relative to the
// configuration home, which is why the two mirror each other.
struct ChromiumInstall {
    LinuxBrowser browser;
    BelowPath config;
    BelowPath cache;
    std::string_view kind; // "" for the native package, else "Snap" or "Flatpak"
};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Flatpak points the XDG folders at the application's own "config" and "cache"; the
// Chromium Snap sets its user data folder to $SNAP_USER_COMMON/chromium. The Snap and
// Flatpak forms could not be run here; they follow those rules.
std::vector<ChromiumInstall> chromiumInstalls(const DesktopFolders& f)
{
    struct Row {
        LinuxBrowser browser;
        std::vector<std::string> folder; // below the configuration and cache homes
        std::string flatpakId;
    };
    const std::vector<Row> rows = {
        {LinuxBrowser::chrome, {"google-chrome"}, "com.google.Chrome"},
        {LinuxBrowser::chromium, {"chromium"}, "org.chromium.Chromium"},
        {LinuxBrowser::edge, {"microsoft-edge"}, "com.microsoft.Edge"},
        {LinuxBrowser::brave, {"BraveSoftware", "Brave-Browser"}, "com.brave.Browser"},
    };
    std::vector<ChromiumInstall> out;
    for (const auto& r : rows) {
        out.push_back({r.browser, {f.configFolder(), r.folder}, {f.cacheFolder(), r.folder}, ""});
        if (r.browser == LinuxBrowser::chromium) {
            out.push_back({r.browser, {f.home, {"snap", "chromium", "common", "chromium"}},
                {f.home, {"snap", "chromium", "common", ".cache", "chromium"}}, "Snap"});
        }
        const std::vector<std::string> app = {".var", "app", r.flatpakId};
        out.push_back({r.browser, {f.home, concat(concat(app, {"config"}), r.folder)},
            {f.home, concat(concat(app, {"cache"}), r.folder)}, "Flatpak"});
    }
    return out;
}

bool isProfileFolderName(const std::string& name)
{
    if (name == "Default" || name == "Guest Profile" || name == "System Profile")
        return true;
    return name.size() > 8 && name.starts_with("Profile ")
        && std::all_of(
            name.begin() + 8, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The profile folders found in either folder of an install, configuration first.
std::vector<std::string> profileNames(const ChromiumInstall& install)
{
    std::vector<std::string> out;
    for (const BelowPath* place : {&install.config, &install.cache}) {
        FolderFd fd = place->open();
        if (!fd)
            continue;
        for (const auto& name : entryNames(fd.get())) {
            if (isProfileFolderName(name) && std::find(out.begin(), out.end(), name) == out.end())
                out.push_back(name);
        }
    }
    return out;
}

std::string qualified(const std::string& name, const std::string& profile, std::string_view kind)
{
    std::string q = profile == "Default" ? "" : profile;
    if (!kind.empty())
        q += (q.empty() ? "" : ", ") + std::string(kind);
    return q.empty() ? name : name + " (" + q + ")";
}

// Adds folder/name when it is there, the user's own and not a mount point; a link
// there is taken as itself.
void addIfPresent(LinuxBrowser browser, const BelowPath& folder, const std::string& entry,
    std::string shown, const DesktopFolders& f, std::vector<BrowserCandidate>& out,
    std::set<std::string>& seen)
{
    FolderFd fd = folder.open();
    if (!fd)
        return;
    auto st = entryStatus(fd.get(), entry);
    if (!st || st->st_uid != f.uid || isMountPoint(fd.get(), entry))
        return;
    std::string path = folder.child(entry).path();
    if (seen.insert(path).second)
        out.push_back({browser, {std::move(shown), std::move(path)}});
}

} // namespace

std::string_view browserName(LinuxBrowser browser)
{
    switch (browser) {
    case LinuxBrowser::firefox:
        return "Mozilla Firefox";
    case LinuxBrowser::chrome:
        return "Google Chrome";
    case LinuxBrowser::chromium:
        return "Chromium";
    case LinuxBrowser::edge:
        return "Microsoft Edge";
    case LinuxBrowser::brave:
        return "Brave";
    }
    return "";
}

std::vector<BrowserCandidate> listBrowserCaches(const DesktopFolders& f)
{
    std::vector<BrowserCandidate> out;
    std::set<std::string> seen;
    for (const auto& install : firefoxInstalls(f)) {
        for (const auto& profile : firefoxProfiles(install)) {
            addIfPresent(LinuxBrowser::firefox, profile.cache, "cache2",
                "Caché (" + profile.folderName + ")", f, out, seen);
        }
    }
    for (const auto& install : chromiumInstalls(f)) {
        for (const auto& profile : profileNames(install)) {
            const BelowPath cache = install.cache.child(profile);
            const BelowPath config = install.config.child(profile);
            for (const std::string entry : {"Cache", "Code Cache"})
                addIfPresent(install.browser, cache, entry, qualified(entry, profile, install.kind),
                    f, out, seen);
            addIfPresent(install.browser, config, "GPUCache",
                qualified("GPUCache", profile, install.kind), f, out, seen);
        }
    }
    return out;
}

std::vector<BrowserCandidate> listBrowserHistory(const DesktopFolders& f)
{
    std::vector<BrowserCandidate> out;
    std::set<std::string> seen;
    for (const auto& install : firefoxInstalls(f)) {
        for (const auto& profile : firefoxProfiles(install)) {
            const std::string in = " (" + profile.folderName + ")";
            if (hasFirefoxHistory(profile.folder.child("places.sqlite").path()))
                addIfPresent(LinuxBrowser::firefox, profile.folder, "places.sqlite",
                    "Historial" + in, f, out, seen);
            addIfPresent(LinuxBrowser::firefox, profile.folder, "favicons.sqlite",
                "Iconos de las páginas visitadas" + in, f, out, seen);
            addIfPresent(LinuxBrowser::firefox, profile.folder, "sessionstore.jsonlz4",
                "Pestañas de la última sesión" + in, f, out, seen);
            addIfPresent(LinuxBrowser::firefox, profile.folder, "sessionstore-backups",
                "Sesiones anteriores" + in, f, out, seen);
        }
    }
    for (const auto& install : chromiumInstalls(f)) {
        for (const auto& profile : profileNames(install)) {
            const BelowPath folder = install.config.child(profile);
            for (const std::string base : {"History", "Visited Links", "Top Sites", "Favicons",
                     "Shortcuts", "Network Action Predictor", "Sessions", "Sessions_Encrypted",
                     "Current Session", "Current Tabs", "Last Session", "Last Tabs"}) {
                for (const std::string& entry : {base, base + "-journal"})
                    addIfPresent(install.browser, folder, entry,
                        qualified("Historial · " + entry, profile, install.kind), f, out, seen);
            }
        }
        // Kept for the whole install, beside the profiles.
        for (const std::string entry : {"ukm_db", "ukm_db-journal"})
            addIfPresent(install.browser, install.config.child("segmentation_platform"), entry,
                qualified("Historial · " + entry, "Default", install.kind), f, out, seen);
    }
    return out;
}

std::vector<BrowserCandidate> listSiteData(
    const DesktopFolders& f, const std::vector<std::string>& keptSites)
{
    std::vector<BrowserCandidate> out;
    std::set<std::string> seen;
    const std::string note = keptSites.empty() ? "" : " · " + keptSitesNote(keptSites.size());
    for (const auto& install : firefoxInstalls(f)) {
        for (const auto& profile : firefoxProfiles(install)) {
            const std::string in = " (" + profile.folderName + ")" + note;
            addIfPresent(LinuxBrowser::firefox, profile.folder, "cookies.sqlite", "Cookies" + in, f,
                out, seen);
            addIfPresent(LinuxBrowser::firefox, profile.folder.child("storage"), "default",
                "Datos de sitios" + in, f, out, seen);
        }
    }
    for (const auto& install : chromiumInstalls(f)) {
        for (const auto& profile : profileNames(install)) {
            const BelowPath folder = install.config.child(profile);
            const auto named = [&](const std::string& what) {
                return qualified(what, profile, install.kind) + note;
            };
            const size_t before = out.size();
            addIfPresent(install.browser, folder.child("Network"), "Cookies", named("Cookies"), f,
                out, seen);
            if (out.size() == before)
                addIfPresent(install.browser, folder, "Cookies", named("Cookies"), f, out, seen);
            for (const std::string entry : {"Local Storage", "Session Storage", "IndexedDB"})
                addIfPresent(install.browser, folder, entry, named(entry), f, out, seen);
            if (isServiceWorkerRemovable(folder.child("Service Worker").path(), keptSites))
                addIfPresent(install.browser, folder, "Service Worker", named("Service Worker"), f,
                    out, seen);
        }
    }
    return out;
}

std::vector<JunkCandidate> listRecentDocuments(const DesktopFolders& f)
{
    std::vector<BrowserCandidate> found;
    std::set<std::string> seen;
    const BelowPath data{f.dataFolder(), {}};
    if (!f.dataFolder().empty()) {
        // An emptied list has no bookmark element left, and is not offered again.
        FolderFd fd = data.open();
        const auto list
            = fd ? readPlainFileAt(fd.get(), "recently-used.xbel", 64 << 20) : std::nullopt;
        if (list && list->find("<bookmark ") != std::string::npos)
            addIfPresent(LinuxBrowser::firefox, data, "recently-used.xbel", "Documentos recientes",
                f, found, seen);
        addIfPresent(LinuxBrowser::firefox, data, "RecentDocuments", "Documentos recientes (KDE)",
            f, found, seen);
    }
    std::vector<JunkCandidate> out;
    for (auto& one : found)
        out.push_back(std::move(one.candidate));
    return out;
}

std::vector<std::string> browserDataRoots(LinuxBrowser browser, const DesktopFolders& f)
{
    std::vector<std::string> out;
    if (browser == LinuxBrowser::firefox) {
        out = {f.home + "/.mozilla/firefox", f.configHome + "/mozilla/firefox",
            // Firefox ESR keeps its crash reports apart, by its own name.
            f.configHome + "/mozilla/firefox-esr", f.cacheHome + "/mozilla/firefox",
            f.home + "/snap/firefox", f.home + "/.var/app/org.mozilla.firefox"};
        for (const auto& install : firefoxInstalls(f)) {
            for (const auto& profile : firefoxProfiles(install)) {
                const std::string path = profile.folder.path();
                if (std::find(out.begin(), out.end(), path) == out.end())
                    out.push_back(path);
            }
        }
        return out;
    }
    for (const auto& install : chromiumInstalls(f)) {
        if (install.browser != browser)
            continue;
        if (install.kind.empty()) {
            out.push_back(install.config.path());
            out.push_back(install.cache.path());
        } else {
            // A Snap's or Flatpak's whole folder is the browser's.
            const auto& c = install.config.components;
            const size_t depth = install.kind == "Snap" ? 2 : 3;
            out.push_back(BelowPath{f.home, {c.begin(), c.begin() + depth}}.path());
        }
    }
    return out;
}

const std::vector<std::string>& browserExecutableNames(LinuxBrowser browser)
{
    // Seen here: Debian's firefox-esr runs /usr/lib/firefox-esr/firefox-esr and its
    // chromium /usr/lib/chromium/chromium. From the vendors' packages: the Firefox Snap
    // /snap/firefox/<rev>/usr/lib/firefox/firefox, Mozilla's tarball firefox-bin,
    // Chrome /opt/google/chrome/chrome (Flatpak /app/extra/chrome), Edge
    // /opt/microsoft/msedge/msedge, Brave /opt/brave.com/brave/brave, the Chromium Snap
    // /snap/chromium/<rev>/usr/lib/chromium-browser/chrome.
    static const std::vector<std::string> firefox = {"firefox", "firefox-esr", "firefox-bin"};
    static const std::vector<std::string> chrome = {"chrome"};
    static const std::vector<std::string> chromium = {"chromium", "chromium-browser", "chrome"};
    static const std::vector<std::string> edge = {"msedge"};
    static const std::vector<std::string> brave = {"brave"};
    switch (browser) {
    case LinuxBrowser::firefox:
        return firefox;
    case LinuxBrowser::chrome:
        return chrome;
    case LinuxBrowser::chromium:
        return chromium;
    case LinuxBrowser::edge:
        return edge;
    case LinuxBrowser::brave:
        break;
    }
    return brave;
}

std::string executableBaseName(std::string_view exeLink)
{
    constexpr std::string_view deleted = " (deleted)";
    if (exeLink.ends_with(deleted))
        exeLink.remove_suffix(deleted.size());
    const size_t slash = exeLink.rfind('/');
    return std::string(slash == std::string_view::npos ? exeLink : exeLink.substr(slash + 1));
}

std::optional<LinuxBrowser> browserOfExecutable(std::string_view exeLink)
{
    const std::string base = executableBaseName(exeLink);
    if (base.empty())
        return std::nullopt;
    if (base == "chrome") {
        // Chromium's Snap and Flatpak builds name their program "chrome" too, inside a
        // folder that says chromium.
        const std::string_view folder = exeLink.substr(0, exeLink.rfind('/') + 1);
        return folder.find("chromium") != std::string_view::npos ? LinuxBrowser::chromium
                                                                 : LinuxBrowser::chrome;
    }
    for (LinuxBrowser b : kLinuxBrowsers) {
        const auto& names = browserExecutableNames(b);
        if (std::find(names.begin(), names.end(), base) != names.end())
            return b;
    }
    return std::nullopt;
}

} // namespace tidvale::linuxdesk
