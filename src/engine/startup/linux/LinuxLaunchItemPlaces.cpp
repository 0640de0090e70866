#include "engine/startup/LaunchItemPlaces.h"

#include "engine/desktop/ContextFolders.h"
#include "engine/startup/linux/StartupItems.h"

namespace tidvale {
namespace {

using namespace linuxdesk;

StartupPlaces startupPlaces(const Context& context)
{
    const Environment& env = context.environment;
    const std::string configHome = desktopFoldersOf(context).configHome;
    return {autostartFolders(configHome, env.get("XDG_CONFIG_DIRS"), context.folders.systemRoot),
        sessionFacts(env.get("XDG_CURRENT_DESKTOP"), env.get("PATH")), configHome};
}

class LinuxLaunchItemPlaces final : public LaunchItemPlaces {
public:
    std::vector<LaunchItem> list(const Context& context) const override
    {
        return listStartupItems(startupPlaces(context), *context.backends.commands);
    }

    RemovalOutcome disable(const Context& context, const LaunchItem& item) const override
    {
        return disableStartupItem(startupPlaces(context), item, context.backends);
    }

    RemovalOutcome enable(const Context& context, const LaunchItem& item) const override
    {
        return enableStartupItem(startupPlaces(context), item, *context.backends.commands);
    }
};

} // namespace

const LaunchItemPlaces& linuxLaunchItemPlaces()
{
    static const LinuxLaunchItemPlaces places;
    return places;
}

} // namespace tidvale
