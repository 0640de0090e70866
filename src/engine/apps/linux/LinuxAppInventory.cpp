#include "engine/apps/AppInventory.h"

#include "engine/apps/linux/DesktopApplications.h"
#include "engine/desktop/ContextFolders.h"
#include "platform/ApplicationRemover.h"

namespace tidvale {
namespace {

class LinuxAppInventory final : public AppInventory {
public:
    std::vector<AppInfo> installed(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const override
    {
        platform::ApplicationRemover& remover = *context.backends.applicationRemover;
        const linuxdesk::RemovalSupport support{
            remover.packageRemovalUnavailable(), remover.flatpakRemovalUnavailable()};
        return linuxdesk::listDesktopApplications(desktopFoldersOf(context),
            context.environment.get("XDG_DATA_DIRS"), context.folders.systemRoot, support, measure,
            job);
    }

    bool usesPackageTools() const override { return true; }
};

} // namespace

const AppInventory& linuxAppInventory()
{
    static const LinuxAppInventory inventory;
    return inventory;
}

} // namespace tidvale
