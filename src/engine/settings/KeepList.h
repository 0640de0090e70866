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

// Each kept path as given and as resolved, once for a whole listing: resolving it for
// every entry of a list of a hundred thousand files would cost more than the listing.
std::vector<std::string> keptForms(const std::vector<std::string>& keep);
bool touchesKeptForm(const std::string& path, const std::vector<std::string>& forms);

// The keep-list as the settings file holds it now: a window outlives a change made in
// Preferencias or in a terminal.
std::vector<std::string> keptPaths(const UserSettings& settings);

// Drops the records (anything with a `path`) the keep-list touches.
template <class Record>
void dropKept(std::vector<Record>& records, const std::vector<std::string>& keep)
{
    if (keep.empty())
        return;
    const auto forms = keptForms(keep);
    std::erase_if(records, [&](const Record& r) { return touchesKeptForm(r.path, forms); });
}

} // namespace tidvale
