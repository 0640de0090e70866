#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tidvale::linuxdesk {

// One Flatpak application as its installation deployed it.
struct FlatpakApp {
    std::string id;
    std::string deployment; // the deployed folder, links resolved: what uninstalling frees
    std::string version;    // the newest release its metainfo names, or ""
};

// The application `id` of the installation folder `installation` (the user's
// "~/.local/share/flatpak", the machine's "/var/lib/flatpak") when its current
// deployment is there: "app/ID/current/active".
std::optional<FlatpakApp> deployedFlatpak(const std::string& installation, const std::string& id);

// The application id a Flatpak export names: a link into ".../app/ID/...", else none.
std::optional<std::string> flatpakIdOfExport(const std::string& exportedFile);

// The version of the first <release> of a metainfo document, or "".
std::string firstReleaseVersion(std::string_view metainfo);

} // namespace tidvale::linuxdesk
