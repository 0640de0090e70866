#pragma once

#include "engine/locations/linux/DesktopFolders.h"
#include "engine/xcode/XcodeLocations.h"

#include <functional>
#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The value of an environment variable, "" when it is not set.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// The developer tools' caches on a Linux desktop, grouped by tool, always the same
// rows in the same order. Each row is the tool's own default folder, or the one its
// variable names (CCACHE_DIR, PIP_CACHE_DIR, GOCACHE, CARGO_HOME…). A variable is
// only followed when it holds a plain absolute path that is neither the home nor
// above it: a relative or stray value must never turn a row into the whole home.
std::vector<XcodeLocation> developerCaches(
    const DesktopFolders& folders, const EnvironmentLookup& environment);

} // namespace tidvale::linuxdesk
