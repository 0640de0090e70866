#include "platform/ApplicationRemover.h"

namespace tidvale::platform {
namespace {

// A Mac has neither dpkg's packages nor Flatpak: its applications are bundles that go
// to the Trash. The Linux profile can still be chosen there (to look at a copied
// system under --system-root), and then says why nothing of it can be removed.
class MacApplicationRemover final : public ApplicationRemover {
public:
    std::optional<std::string> packageRemovalUnavailable() override { return unavailable(); }
    std::optional<std::string> flatpakRemovalUnavailable() override { return unavailable(); }
    PackageRemovalPreview previewPackageRemoval(const std::vector<DebianPackage>&) override
    {
        return {unavailable(), {}};
    }
    RemovalResult removePackages(const std::vector<DebianPackage>&) override
    {
        return {false, *unavailable()};
    }
    RemovalResult removeFlatpak(const std::string&, bool) override
    {
        return {false, *unavailable()};
    }

private:
    static std::optional<std::string> unavailable()
    {
        return std::string("Este sistema no desinstala paquetes de Linux.");
    }
};

} // namespace

std::shared_ptr<ApplicationRemover> systemApplicationRemover(std::string, std::string)
{
    return std::make_shared<MacApplicationRemover>();
}

} // namespace tidvale::platform
