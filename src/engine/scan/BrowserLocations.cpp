#include "engine/scan/BrowserLocations.h"

#include "engine/fs/PathText.h"
#include "platform/RunningApplications.h"

#include <algorithm>

namespace tidvale {

BrowserLocations browserLocations(const std::string& home)
{
    const std::string caches = home + "/Library/Caches";
    const std::string support = home + "/Library/Application Support";
    BrowserLocations l;
    l.caches = {
        {caches + "/com.apple.Safari", ScanCategory::browserSafari},
        {support + "/Google/Chrome/Default/Cache", ScanCategory::browserChrome},
        {support + "/Google/Chrome/Default/GPUCache", ScanCategory::browserChrome},
        {support + "/Microsoft Edge/Default/Cache", ScanCategory::browserEdge},
    };
    l.profileCaches = {{caches + "/Firefox/Profiles", "cache2", ScanCategory::browserFirefox}};
    for (const char* file : {"History.db", "History.db-wal", "History.db-shm"})
        l.historyFiles.push_back({home + "/Library/Safari/" + file, ScanCategory::browserSafari});
    l.dataRoots = {
        {caches + "/com.apple.Safari", ScanCategory::browserSafari},
        {home + "/Library/Safari", ScanCategory::browserSafari},
        {support + "/Google/Chrome", ScanCategory::browserChrome},
        {caches + "/Firefox", ScanCategory::browserFirefox},
        {support + "/Firefox", ScanCategory::browserFirefox},
        {support + "/Microsoft Edge", ScanCategory::browserEdge},
    };
    return l;
}

std::optional<std::string> runningBrowserHolding(
    const std::string& path, const BrowserLocations& locations)
{
    std::vector<ScanCategory> touched;
    for (const auto& root : locations.dataRoots) {
        const bool overlaps = isSameOrInside(path, root.path) || isSameOrInside(root.path, path);
        if (overlaps && std::find(touched.begin(), touched.end(), root.category) == touched.end())
            touched.push_back(root.category);
    }
    if (touched.empty())
        return std::nullopt;
    const auto running
        = platform::Service<platform::RunningApplications>::get()->bundleIdentifiers();
    for (ScanCategory c : touched)
        if (auto name = runningBrowserName(c, running))
            return name;
    return std::nullopt;
}

} // namespace tidvale
