#include "engine/startup/mac/LaunchAgents.h"

#include "engine/desktop/SystemLocations.h"
#include "engine/fs/FolderEntries.h"
#include "platform/PropertyList.h"

#include <dirent.h>

#include <optional>

namespace tidvale::macos {

std::vector<LaunchItem> listLaunchAgents(const std::string& home, const std::string& root)
{
    const std::pair<std::string, const char*> folders[] = {
        {home + "/Library/LaunchAgents", "Agente (Usuario)"},
        {SystemLocations::launchAgents(root), "Agente (Sistema)"},
        {SystemLocations::launchDaemons(root), "Daemon (Sistema)"},
    };
    std::vector<LaunchItem> items;
    for (const auto& [folder, source] : folders) {
        for (const auto& child : childNames(folder)) {
            auto name = stem(child, ".plist");
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
