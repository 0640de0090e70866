#pragma once

// The user's own keep-list: folders and files no clean may remove. A listing leaves out
// every entry that is one of them, lies inside one or holds one (removing a folder
// would take what it holds).
#include "engine/settings/UserSettings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tidvale {

bool touchesKept(const std::string& path, const std::vector<std::string>& keep);

// The keep-list as the settings file holds it now: a window outlives a change made in
// Preferencias or in a terminal.
std::vector<std::string> keptPaths(const UserSettings& settings);

// Drops the records (anything with a `path`) the keep-list touches.
template <class Record>
void dropKept(std::vector<Record>& records, const std::vector<std::string>& keep)
{
    if (!keep.empty())
        std::erase_if(records, [&](const Record& r) { return touchesKept(r.path, keep); });
}

} // namespace tidvale
