#include "engine/devcaches/DeveloperPlaces.h"

#include "engine/desktop/ContextFolders.h"

namespace tidvale {
namespace {

class MacDeveloperPlaces final : public DeveloperPlaces {
public:
    std::vector<XcodeLocation> locations(const Context& context) const override
    {
        return xcodeLocations(context.folders.home);
    }

    GuardedFolders guardedFolders(const Context& context) const override
    {
        return macGuardedFoldersOf(context);
    }
};

} // namespace

const DeveloperPlaces& macDeveloperPlaces()
{
    static const MacDeveloperPlaces places;
    return places;
}

} // namespace tidvale
