#pragma once

#include "engine/desktop/DesktopFolders.h"
#include "engine/records/JunkCandidate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

enum class LinuxBrowser { firefox, chrome, chromium, edge, brave };

inline constexpr LinuxBrowser kLinuxBrowsers[] = {LinuxBrowser::firefox, LinuxBrowser::chrome,
    LinuxBrowser::chromium, LinuxBrowser::edge, LinuxBrowser::brave};

// "Mozilla Firefox", "Google Chrome", "Chromium", "Microsoft Edge", "Brave".
std::string_view browserName(LinuxBrowser browser);

struct BrowserCandidate {
    LinuxBrowser browser;
    JunkCandidate candidate;
};

// The browsers' disk caches that exist now, never following a link and skipping what
// the user does not own or what is a mount point. Firefox first: each profile's
// "cache2", named "Caché (<profile folder>)". Then Chrome, Chromium, Edge and Brave,
// each install (native, then Snap or Flatpak) and each profile ("Default",
// "Profile N", "Guest Profile", "System Profile"): "Cache" and "Code Cache" from the
// cache folder, "GPUCache" from the configuration folder. These are named by their
// own folder name as on the Mac, followed by the profile when it is not "Default" and
// by the kind of install when it is not the native one: "Cache", "Cache (Profile 1)",
// "GPUCache (Flatpak)", "Code Cache (Profile 2, Snap)".
std::vector<BrowserCandidate> listBrowserCaches(const DesktopFolders& folders);

// Every file of a profile that records which pages were visited. Firefox, per
// profile: "places.sqlite" (cleaned inside, its bookmarks kept), "favicons.sqlite",
// "sessionstore.jsonlz4" and "sessionstore-backups". The Chromium family, per profile:
// "History", "Visited Links", "Top Sites", "Favicons", "Shortcuts", "Network Action
// Predictor" (each with its "-journal"), "Sessions" (and the "Sessions_Encrypted" of
// later versions), and per install "segmentation_platform/ukm_db", all of which the
// browser makes anew; its bookmarks, passwords, settings and
// extensions are in other files. Named "Historial · History" and so on with the
// same qualifiers as the caches, Firefox's by the profile folder.
std::vector<BrowserCandidate> listBrowserHistory(const DesktopFolders& folders);

// Cookies and what sites store, per profile. Firefox: "cookies.sqlite" and
// "storage/default"; the Chromium family: "Network/Cookies" (or "Cookies" in a profile
// without that folder), "Local Storage", "Session Storage" (a tab's, gone whole),
// "IndexedDB" and "Service Worker", the last only when
// none of its workers is a kept site's or an extension's. When sites are kept, each
// name says how many (" · se conservan 2 sitios").
std::vector<BrowserCandidate> listSiteData(
    const DesktopFolders& folders, const std::vector<std::string>& keptSites);

// The desktop's list of recently used documents: GTK's "recently-used.xbel" (emptied,
// never deleted) and KDE's "RecentDocuments" folder, under the data home.
std::vector<JunkCandidate> listRecentDocuments(const DesktopFolders& folders);

// The folders whose contents belong to a browser: an item that is, contains or lies
// inside one of them must be left alone while that browser runs. Listed whether or not
// they exist; for Firefox they include the profile folders profiles.ini names by an
// absolute path.
std::vector<std::string> browserDataRoots(LinuxBrowser browser, const DesktopFolders& folders);

// The executable names a running browser shows in /proc/<pid>/exe, for every way it is
// installed. "chrome" is shared: Chromium's Snap and Flatpak builds use it too, which
// browserOfExecutable tells apart by the folder.
const std::vector<std::string>& browserExecutableNames(LinuxBrowser browser);

// The last component of what /proc/<pid>/exe reads, without the " (deleted)" the
// kernel adds once the program was upgraded under the running process.
std::string executableBaseName(std::string_view exeLink);

// The browser whose program /proc/<pid>/exe names, if any.
std::optional<LinuxBrowser> browserOfExecutable(std::string_view exeLink);

} // namespace tidvale::linuxdesk
