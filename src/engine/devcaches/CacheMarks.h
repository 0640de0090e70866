#pragma once

// How each developer tool lays out its cache. A folder a variable points at is only
// deleted when it carries its tool's marks: `CCACHE_DIR=~/Projects` must not empty
// the user's projects because a variable said they were a cache.
#include "engine/records/CacheLayout.h"

#include <string>

namespace tidvale {

// Whether the folder open as `folderFd` looks like `layout`'s cache: a CACHEDIR.TAG
// with the standard signature, else the tool's own entries (and, where the tool's
// layout is fixed, nothing else).
bool hasCacheLayout(int folderFd, CacheLayout layout);

// "No parece la caché de pip: no se elimina".
std::string notCacheReason(CacheLayout layout);

} // namespace tidvale
