#pragma once

#include "engine/desktop/DesktopFolders.h"
#include "engine/devcaches/XcodeLocations.h"

#include <functional>
#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The value of an environment variable, "" when it is not set.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// The developer tools' caches on a Linux desktop, grouped by tool, always the same
// rows in the same order. Each row is the tool's own default folder, or the one its
// variable names (CCACHE_DIR, PIP_CACHE_DIR, GOCACHE, CARGO_HOME…), resolved. A
// relative or empty value is ignored. A value the folder guard refuses (the home, a
// personal folder, a system folder…) keeps its row, with the refusal, so the row
// says why it is never cleaned; so does a default built on a refused XDG folder.
// Each row names the layout its tool writes, checked before anything is removed.
std::vector<XcodeLocation> developerCaches(
    const DesktopFolders& folders, const EnvironmentLookup& environment);

} // namespace tidvale::linuxdesk
