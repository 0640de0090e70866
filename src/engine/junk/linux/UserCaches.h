#pragma once

#include "engine/desktop/DesktopFolders.h"
#include "engine/records/JunkCandidate.h"

#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// An entry of the cache folder that is never offered, and why.
struct KeptCache {
    std::string_view pattern; // a glob matched against the whole entry name
    std::string_view reason;
};

// The top-level entries of the cache folder that are never listed.
const std::vector<KeptCache>& keptCacheEntries();

// The Flatpak applications whose cache folder is never listed.
const std::vector<KeptCache>& keptFlatpakCaches();

bool isKeptCacheEntry(std::string_view name);
bool isKeptFlatpakCache(std::string_view appId);

// Every top-level entry of the cache folder, hidden ones included, then one entry per
// Flatpak application (home + "/.var/app/<id>/cache", named by the id). Left out: what
// the user does not own, mount points and the kept entries above. A link is listed as
// itself. Nothing is measured here.
std::vector<JunkCandidate> listUserCaches(const DesktopFolders& folders);

} // namespace tidvale::linuxdesk
