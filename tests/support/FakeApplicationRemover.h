#pragma once

// Stands in for PackageKit and flatpak: records what it was asked and runs an
// optional action, so a test can make an uninstall really happen on its tree.
#include "platform/ApplicationRemover.h"

#include <functional>
#include <mutex>

class FakeApplicationRemover final : public tidvale::platform::ApplicationRemover {
public:
    using DebianPackage = tidvale::platform::DebianPackage;

    std::optional<std::string> packagesUnavailable;
    std::optional<std::string> flatpakUnavailable;
    tidvale::platform::PackageRemovalPreview preview;
    tidvale::platform::RemovalResult packageAnswer{true, {}};
    tidvale::platform::RemovalResult flatpakAnswer{true, {}};
    std::function<void(const std::vector<DebianPackage>&)> onRemovePackages;
    std::function<void(const std::string&, bool)> onRemoveFlatpak;

    std::vector<std::vector<DebianPackage>> previewed;
    std::vector<std::vector<DebianPackage>> removedPackages;
    std::vector<std::pair<std::string, bool>> removedFlatpaks;

    std::optional<std::string> packageRemovalUnavailable() override { return packagesUnavailable; }
    std::optional<std::string> flatpakRemovalUnavailable() override { return flatpakUnavailable; }
    tidvale::platform::PackageRemovalPreview previewPackageRemoval(
        const std::vector<DebianPackage>& packages) override
    {
        std::lock_guard g(m_);
        previewed.push_back(packages);
        return preview;
    }
    tidvale::platform::RemovalResult removePackages(
        const std::vector<DebianPackage>& packages) override
    {
        std::lock_guard g(m_);
        removedPackages.push_back(packages);
        if (onRemovePackages)
            onRemovePackages(packages);
        return packageAnswer;
    }
    tidvale::platform::RemovalResult removeFlatpak(const std::string& id, bool systemWide) override
    {
        std::lock_guard g(m_);
        removedFlatpaks.emplace_back(id, systemWide);
        if (onRemoveFlatpak)
            onRemoveFlatpak(id, systemWide);
        return flatpakAnswer;
    }

private:
    std::mutex m_;
};
