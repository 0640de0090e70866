#include "engine/apps/AppInventory.h"

#include "engine/apps/mac/BundleApplications.h"

namespace tidvale {
namespace {

class MacAppInventory final : public AppInventory {
public:
    std::vector<AppInfo> installed(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const override
    {
        return listBundleApplications(
            context.folders.home, context.folders.systemRoot, measure, job);
    }

    bool usesPackageTools() const override { return false; }
};

} // namespace

const AppInventory& macAppInventory()
{
    static const MacAppInventory inventory;
    return inventory;
}

} // namespace tidvale
