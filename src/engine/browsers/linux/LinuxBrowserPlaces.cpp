#include "engine/browsers/BrowserPlaces.h"

#include "engine/browsers/linux/BrowserLocations.h"
#include "engine/desktop/ContextFolders.h"
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
        return targetsOf(listBrowserHistory(desktopFoldersOf(context)));
    }

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
