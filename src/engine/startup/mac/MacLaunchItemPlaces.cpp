#include "engine/startup/LaunchItemPlaces.h"

#include "engine/fs/SafeRemove.h"
#include "engine/startup/mac/LaunchAgents.h"

namespace tidvale {
namespace {

class MacLaunchItemPlaces final : public LaunchItemPlaces {
public:
    std::vector<LaunchItem> list(const Context& context) const override
    {
        return macos::listLaunchAgents(context.folders.home, context.folders.systemRoot);
    }

    // The property list is deleted outright; the job itself is left as it is.
    RemovalOutcome disable(const Context&, const LaunchItem& item) const override
    {
        const RemoveOutcome outcome = removeItem(item.path);
        return outcomeAt(item.path,
            outcome.ok() ? std::string() : describeRemoveError(outcome.error, outcome.where));
    }

    // A deleted property list is gone: nothing is listed as one that can be turned on.
    RemovalOutcome enable(const Context&, const LaunchItem& item) const override
    {
        return outcomeAt(item.path, item.name + " no se puede activar desde aquí.");
    }
};

} // namespace

const LaunchItemPlaces& macLaunchItemPlaces()
{
    static const MacLaunchItemPlaces places;
    return places;
}

} // namespace tidvale
