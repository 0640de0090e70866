#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tidvale::platform {

// A Debian package as dpkg names it.
struct DebianPackage {
    std::string name;
    std::string architecture;
    std::string version;
    bool operator==(const DebianPackage&) const = default;
};

// What removing some packages would take, asked of the package manager without
// removing anything.
struct PackageRemovalPreview {
    std::optional<std::string> error;  // the package manager's text when it could not say
    std::vector<DebianPackage> others; // packages that would go besides those asked for
};

struct RemovalResult {
    bool ok = false;
    std::string error; // the program's or the service's own text when !ok
};

// Uninstalls what a Linux desktop's package tools installed: Debian packages through
// PackageKit (the system asks for the administrator password itself), Flatpak
// applications through the flatpak program. Every call blocks until the system has
// answered, so none belongs on the GUI thread.
class ApplicationRemover {
public:
    virtual ~ApplicationRemover() = default;

    // Why Debian packages cannot be removed here (no PackageKit service), or nothing.
    virtual std::optional<std::string> packageRemovalUnavailable() = 0;
    // Why Flatpak applications cannot be removed here (no flatpak program), or nothing.
    virtual std::optional<std::string> flatpakRemovalUnavailable() = 0;

    virtual PackageRemovalPreview previewPackageRemoval(const std::vector<DebianPackage>& packages)
        = 0;
    // Removes exactly `packages`: fails, removing nothing, when that would now take any
    // other package with them, so the caller lists every package of the preview that the
    // user agreed to.
    virtual RemovalResult removePackages(const std::vector<DebianPackage>& packages) = 0;

    // `flatpak uninstall --noninteractive --system|--user ID`.
    virtual RemovalResult removeFlatpak(const std::string& appId, bool systemWide) = 0;
};

// The backend of this operating system; it looks for programs on `searchPath` ($PATH)
// and asks the package manager to answer in `locale` ($LC_ALL, $LC_MESSAGES or $LANG).
std::shared_ptr<ApplicationRemover> systemApplicationRemover(
    std::string searchPath, std::string locale);

} // namespace tidvale::platform
