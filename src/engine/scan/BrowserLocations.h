#pragma once

#include "engine/scan/ScanCategory.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

struct BrowserFolder {
    std::string path;
    ScanCategory category;
};

// Every entry of `folder` (hidden ones aside) is a profile whose `cacheName` folder is
// a cache of its own, named after the profile.
struct BrowserProfileCaches {
    std::string folder;
    std::string cacheName;
    ScanCategory category;
};

// Where the browsers keep what the junk tools find, all in one table so that another
// platform can bring its own: the caches a scan measures, the history files, and the
// folders that hold all of a browser's data. While a browser runs, nothing that is,
// holds or lies inside one of its data folders may be removed.
struct BrowserLocations {
    std::vector<BrowserFolder> caches; // scan order
    std::vector<BrowserProfileCaches> profileCaches;
    std::vector<BrowserFolder> historyFiles;
    std::vector<BrowserFolder> dataRoots;
};

BrowserLocations browserLocations(const std::string& home);

// The display name of a running browser whose data `path` is, holds or lies inside,
// compared component by component; none when no such browser runs. The running
// applications are asked only when the path touches some browser's data.
std::optional<std::string> runningBrowserHolding(
    const std::string& path, const BrowserLocations& locations);

} // namespace tidvale
