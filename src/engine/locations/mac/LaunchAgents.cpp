#include "engine/locations/mac/LaunchAgents.h"

#include "engine/locations/SystemLocations.h"
#include "platform/PropertyList.h"

#include <dirent.h>

#include <optional>

namespace tidvale::macos {
namespace {

// Every entry of a folder, hidden ones included, in listing order; nothing when the
// folder cannot be read. No descent: only direct children are asked for.
std::vector<std::string> childNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(d);
    return names;
}

// The name without ".plist" when it ends with it (case-sensitive). A name that is
// only the suffix has no extension to remove and is kept whole.
std::optional<std::string> plistStem(const std::string& name)
{
    const std::string suffix = ".plist";
    if (name.size() < suffix.size()
        || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    if (name.size() == suffix.size())
        return name;
    return name.substr(0, name.size() - suffix.size());
}

} // namespace

std::vector<LaunchItem> listLaunchAgents(const std::string& home)
{
    const std::pair<std::string, const char*> folders[] = {
        {home + "/Library/LaunchAgents", "Agente (Usuario)"},
        {SystemLocations::launchAgents(), "Agente (Sistema)"},
        {SystemLocations::launchDaemons(), "Daemon (Sistema)"},
    };
    std::vector<LaunchItem> items;
    for (const auto& [folder, source] : folders) {
        for (const auto& child : childNames(folder)) {
            auto name = plistStem(child);
            if (!name)
                continue;
            LaunchItem item;
            item.name = std::move(*name);
            item.path = folder + "/" + child;
            item.source = source;
            item.bundleID = item.name;
            if (const auto plist = platform::readPropertyListFile(item.path)) {
                if (auto label = plist->find("Label"); label != plist->end() && label->second)
                    item.bundleID = *label->second;
            }
            items.push_back(std::move(item));
        }
    }
    return items;
}

} // namespace tidvale::macos
