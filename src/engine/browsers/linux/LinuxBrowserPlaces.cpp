#include "engine/browsers/BrowserPlaces.h"

#include "engine/browsers/SiteKeep.h"
#include "engine/browsers/linux/BrowserDatabases.h"
#include "engine/browsers/linux/BrowserLocations.h"
#include "engine/browsers/linux/RecentDocuments.h"
#include "engine/browsers/linux/SiteStorage.h"
#include "engine/desktop/ContextFolders.h"
#include "engine/fs/PathText.h"
#include "platform/RunningApplications.h"

namespace tidvale {
namespace {

using namespace linuxdesk;

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

class LinuxBrowserPlaces final : public BrowserPlaces {
public:
    std::vector<BrowserTarget> caches(const Context& context) const override
    {
        return targetsOf(listBrowserCaches(desktopFoldersOf(context)));
    }

    std::vector<BrowserTarget> history(const Context& context) const override
    {
        const DesktopFolders folders = desktopFoldersOf(context);
        auto targets = targetsOf(listBrowserHistory(folders));
        for (auto& recent : listRecentDocuments(folders))
            targets.push_back({ScanCategory::recentDocuments, std::move(recent)});
        return targets;
    }

    std::vector<BrowserTarget> siteData(const Context& context) const override
    {
        return targetsOf(listSiteData(desktopFoldersOf(context), keptSites(context)));
    }

    // The listing named each of these by its own file or folder name, which is how
    // they are told apart here.
    std::optional<RemovalOutcome> cleanInPlace(
        const Context& context, const ScanItem& item) const override
    {
        const std::string name = lastPathComponent(item.path);
        const std::string folder = lastPathComponent(parentFolder(item.path));
        const bool firefox = item.category == ScanCategory::browserFirefox;
        if (item.category == ScanCategory::recentDocuments)
            return name == "recently-used.xbel" ? emptyRecentList(context, item)
                                                : emptyFolder(item);
        if (firefox && name == "places.sqlite")
            return cleanFirefoxHistory(context, item);
        if (firefox && name == "favicons.sqlite")
            return cleanFirefoxIcons(context, item);
        if ((firefox && name == "cookies.sqlite") || (!firefox && name == "Cookies"))
            return cleanCookies(context, item, keptSites(context));
        if (firefox && name == "default" && folder == "storage")
            return cleanSiteFolders(item, OriginNaming::firefox, keptSites(context));
        if (!firefox && name == "IndexedDB")
            return cleanSiteFolders(item, OriginNaming::chromium, keptSites(context));
        if (!firefox && name == "Local Storage")
            return cleanLocalStorage(context, item, keptSites(context));
        if (!firefox && name == "Service Worker"
            && !isServiceWorkerRemovable(item.path, keptSites(context)))
            return RemovalOutcome{item.path, item.path, item.size, RemovalStatus::refused,
                "“" + item.path
                    + "” guarda datos de sitios que conservas o de extensiones: se "
                      "deja como está.",
                0, {}, false};
        return std::nullopt;
    }

    bool historyInSmartScan() const override { return true; }

    std::vector<BrowserDataRoot> dataRoots(const Context& context) const override
    {
        const DesktopFolders folders = desktopFoldersOf(context);
        std::vector<BrowserDataRoot> roots;
        for (LinuxBrowser browser : kLinuxBrowsers)
            for (auto& folder : browserDataRoots(browser, folders))
                roots.push_back({categoryOf(browser), std::move(folder)});
        return roots;
    }

    bool isRunning(const Context& context, ScanCategory category) const override
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
};

} // namespace

const BrowserPlaces& linuxBrowserPlaces()
{
    static const LinuxBrowserPlaces places;
    return places;
}

} // namespace tidvale
