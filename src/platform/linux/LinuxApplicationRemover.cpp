#include "platform/linux/LinuxApplicationRemover.h"

#include "platform/CommandRunner.h"

#include <algorithm>
#include <cctype>

namespace tidvale::platform {
namespace {

bool isApplicationId(const std::string& id)
{
    if (id.empty() || id.size() > 255 || id.front() == '-' || id.front() == '.')
        return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
    });
}

std::string lastLines(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    constexpr size_t kMax = 2000;
    return text.size() > kMax ? "…" + text.substr(text.size() - kMax) : text;
}

} // namespace

std::optional<std::vector<std::string>> flatpakUninstallArguments(
    const std::string& program, const std::string& appId, bool systemWide)
{
    if (!isApplicationId(appId))
        return std::nullopt;
    return std::vector<std::string>{
        program, "uninstall", "--noninteractive", systemWide ? "--system" : "--user", appId};
}

LinuxApplicationRemover::LinuxApplicationRemover(
    std::string busAddress, std::string flatpakProgram, std::string searchPath, std::string locale)
    : packageKit_(std::move(busAddress), std::move(locale))
    , flatpak_(std::move(flatpakProgram))
    , searchPath_(std::move(searchPath))
{
}

std::optional<std::string> LinuxApplicationRemover::packageRemovalUnavailable()
{
    return packageKit_.unavailable();
}

std::optional<std::string> LinuxApplicationRemover::flatpakRemovalUnavailable()
{
    if (flatpak_.find('/') != std::string::npos || programOnPath(flatpak_, searchPath_))
        return std::nullopt;
    return "No se encontró el programa «" + flatpak_ + "».";
}

std::vector<std::string> LinuxApplicationRemover::packageIds(
    const std::vector<DebianPackage>& packages, std::string& error) const
{
    std::vector<std::string> names;
    for (const auto& p : packages)
        if (std::find(names.begin(), names.end(), p.name) == names.end())
            names.push_back(p.name);
    const auto resolved = packageKit_.resolveInstalled(names);
    if (resolved.error) {
        error = *resolved.error;
        return {};
    }
    std::vector<std::string> ids;
    for (const auto& p : packages) {
        // The version may have moved on since the list was made (an upgrade); it is
        // still the package the user chose, so an exact version is only preferred.
        std::string best;
        for (const auto& found : resolved.packages) {
            const auto parts = splitPackageId(found.id);
            if (!parts || parts->name != p.name || parts->arch != p.architecture)
                continue;
            if (best.empty() || parts->version == p.version)
                best = found.id;
        }
        if (best.empty()) {
            error = "PackageKit no encuentra instalado el paquete «" + p.name + "».";
            return {};
        }
        if (std::find(ids.begin(), ids.end(), best) == ids.end())
            ids.push_back(best);
    }
    return ids;
}

PackageRemovalPreview LinuxApplicationRemover::previewPackageRemoval(
    const std::vector<DebianPackage>& packages)
{
    PackageRemovalPreview preview;
    std::string error;
    const auto ids = packageIds(packages, error);
    if (ids.empty()) {
        preview.error = error;
        return preview;
    }
    const auto simulated
        = packageKit_.removePackages(PackageKitClient::kFlagSimulate, ids, /*allowDeps=*/true);
    if (simulated.error) {
        preview.error = simulated.error;
        return preview;
    }
    for (const auto& found : simulated.packages) {
        const auto parts = splitPackageId(found.id);
        if (found.info != PackageKitClient::kInfoRemoving || !parts)
            continue;
        const bool asked
            = std::any_of(packages.begin(), packages.end(), [&](const DebianPackage& p) {
                  return p.name == parts->name && p.architecture == parts->arch;
              });
        DebianPackage other{parts->name, parts->arch, parts->version};
        if (!asked
            && std::find(preview.others.begin(), preview.others.end(), other)
                == preview.others.end())
            preview.others.push_back(std::move(other));
    }
    return preview;
}

RemovalResult LinuxApplicationRemover::removePackages(const std::vector<DebianPackage>& packages)
{
    std::string error;
    const auto ids = packageIds(packages, error);
    if (ids.empty())
        return {false, error};
    // Debian's backend takes whatever depends on the packages even when told not to,
    // so the removal is simulated again just before it runs: if the system changed
    // since the user agreed and it would now take more, nothing is removed.
    const auto simulated
        = packageKit_.removePackages(PackageKitClient::kFlagSimulate, ids, /*allowDeps=*/false);
    if (simulated.error)
        return {false, *simulated.error};
    for (const auto& found : simulated.packages) {
        const auto parts = splitPackageId(found.id);
        if (found.info != PackageKitClient::kInfoRemoving || !parts)
            continue;
        if (std::none_of(packages.begin(), packages.end(), [&](const DebianPackage& p) {
                return p.name == parts->name && p.architecture == parts->arch;
            }))
            return {false,
                "La desinstalación quitaría también «" + parts->name
                    + "», que no se confirmó; no se quitó nada."};
    }
    const auto removed
        = packageKit_.removePackages(PackageKitClient::kFlagOnlyTrusted, ids, /*allowDeps=*/false);
    if (removed.error)
        return {false, *removed.error};
    return {true, {}};
}

RemovalResult LinuxApplicationRemover::removeFlatpak(const std::string& appId, bool systemWide)
{
    const auto args = flatpakUninstallArguments(flatpak_, appId, systemWide);
    if (!args)
        return {false, "«" + appId + "» no es un identificador de aplicación Flatpak."};
    const CommandResult run = runCommand(*args);
    if (!run.started)
        return {false, run.err};
    if (run.exitCode == 0)
        return {true, {}};
    std::string text = lastLines(run.out + run.err);
    if (text.empty())
        text = run.exitCode < 0
            ? "flatpak terminó de forma anormal."
            : "flatpak terminó con el código " + std::to_string(run.exitCode) + ".";
    return {false, text};
}

std::shared_ptr<ApplicationRemover> systemApplicationRemover(
    std::string searchPath, std::string locale)
{
    return std::make_shared<LinuxApplicationRemover>(
        std::string(), "flatpak", std::move(searchPath), std::move(locale));
}

} // namespace tidvale::platform
