#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidvale::platform {

// PackageKit's D-Bus interface (org.freedesktop.PackageKit), the few calls the
// application remover makes. Each call opens its own connection and waits on its own
// main context, so it may run on any thread but the GUI's; none has state between
// calls. Numbers are PackageKit's enumerations, as its interface fixes them.
class PackageKitClient {
public:
    static constexpr uint32_t kInfoRemoving = 13;
    static constexpr uint64_t kFilterInstalled = 1u << 2;
    static constexpr uint64_t kFlagOnlyTrusted = 1u << 1;
    static constexpr uint64_t kFlagSimulate = 1u << 2;

    struct Package {
        uint32_t info = 0;
        std::string id; // "name;version;arch;data"
    };
    struct Outcome {
        std::vector<Package> packages;
        std::optional<std::string> error; // why the transaction did not succeed
    };

    // `busAddress` empty: the system bus, where the real service lives. `locale` (such
    // as "es_AR.UTF-8"; empty: none) is the language the service should answer in.
    explicit PackageKitClient(std::string busAddress = {}, std::string locale = {});

    // Why the service cannot be used (no bus, no PackageKit on it), or nothing.
    std::optional<std::string> unavailable() const;

    // Resolve(installed, names): the installed packages of those names.
    Outcome resolveInstalled(const std::vector<std::string>& names) const;

    // RemovePackages(flags, ids, allowDeps, autoremove = false).
    Outcome removePackages(
        uint64_t flags, const std::vector<std::string>& ids, bool allowDeps) const;

private:
    std::string busAddress_;
    std::string locale_;
};

// The parts of a package id "name;version;arch;data"; none when it has not four.
struct PackageIdParts {
    std::string name, version, arch, data;
};
std::optional<PackageIdParts> splitPackageId(const std::string& id);

} // namespace tidvale::platform
