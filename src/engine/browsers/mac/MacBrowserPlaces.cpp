#include "engine/browsers/BrowserPlaces.h"

#include "engine/fs/FolderEntries.h"
#include "platform/RunningApplications.h"

#include <algorithm>

namespace tidvale {
namespace {

class MacBrowserPlaces final : public BrowserPlaces {
public:
    std::vector<BrowserTarget> caches(const Context& context) const override
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
        // Every visible profile folder, in listing order.
        const std::string profiles = home + "/Library/Caches/Firefox/Profiles";
        for (const auto& profile : childNames(profiles))
            if (profile.front() != '.')
                targets.push_back({ScanCategory::browserFirefox,
                    {"Caché (" + profile + ")", profiles + "/" + profile + "/cache2"}});
        return targets;
    }

    std::vector<BrowserTarget> history(const Context& context) const override
    {
        const std::string& home = context.folders.home;
        std::vector<BrowserTarget> files;
        for (const char* file : {"History.db", "History.db-wal", "History.db-shm"})
            files.push_back({ScanCategory::browserSafari,
                {std::string("Historial · ") + file, home + "/Library/Safari/" + file}});
        return files;
    }

    std::vector<BrowserDataRoot> dataRoots(const Context& context) const override
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

    bool isRunning(const Context& context, ScanCategory category) const override
    {
        const auto ids = bundleIdentifiers(category);
        if (ids.empty())
            return false;
        const auto running = context.backends.runningApplications->bundleIdentifiers();
        return std::any_of(running.begin(), running.end(), [&](const std::string& id) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        });
    }
};

} // namespace

const BrowserPlaces& macBrowserPlaces()
{
    static const MacBrowserPlaces places;
    return places;
}

} // namespace tidvale
