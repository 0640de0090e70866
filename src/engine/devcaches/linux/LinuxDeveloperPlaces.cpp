#include "engine/devcaches/DeveloperPlaces.h"

#include "engine/desktop/ContextFolders.h"
#include "engine/devcaches/linux/DeveloperCaches.h"

namespace tidvale {
namespace {

class LinuxDeveloperPlaces final : public DeveloperPlaces {
public:
    std::vector<XcodeLocation> locations(const Context& context) const override
    {
        return linuxdesk::developerCaches(desktopFoldersOf(context),
            [&context](const char* name) { return context.environment.get(name); });
    }

    GuardedFolders guardedFolders(const Context& context) const override
    {
        return desktopFoldersOf(context).guarded;
    }
};

} // namespace

const DeveloperPlaces& linuxDeveloperPlaces()
{
    static const LinuxDeveloperPlaces places;
    return places;
}

} // namespace tidvale
