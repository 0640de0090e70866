#pragma once

#include "platform/ApplicationRemover.h"
#include "platform/linux/PackageKitClient.h"

#include <string>
#include <vector>

namespace tidvale::platform {

// PackageKit on the system bus for Debian packages, the flatpak program for Flatpak
// applications. Tests point it at a bus of their own and a stand-in program.
class LinuxApplicationRemover final : public ApplicationRemover {
public:
    // `searchPath` is where a bare `flatpakProgram` is looked for (see programOnPath);
    // `locale` goes to PackageKit.
    explicit LinuxApplicationRemover(std::string busAddress = {},
        std::string flatpakProgram = "flatpak", std::string searchPath = {},
        std::string locale = {});

    std::optional<std::string> packageRemovalUnavailable() override;
    std::optional<std::string> flatpakRemovalUnavailable() override;
    PackageRemovalPreview previewPackageRemoval(
        const std::vector<DebianPackage>& packages) override;
    RemovalResult removePackages(const std::vector<DebianPackage>& packages) override;
    RemovalResult removeFlatpak(const std::string& appId, bool systemWide) override;

private:
    // The PackageKit ids of the installed `packages`, or the reason there are none.
    std::vector<std::string> packageIds(
        const std::vector<DebianPackage>& packages, std::string& error) const;

    PackageKitClient packageKit_;
    std::string flatpak_;
    std::string searchPath_;
};

// The argument vector that uninstalls one Flatpak application; nothing when `appId` is
// not an application id (which could otherwise be read as an option).
std::optional<std::vector<std::string>> flatpakUninstallArguments(
    const std::string& program, const std::string& appId, bool systemWide);

} // namespace tidvale::platform
