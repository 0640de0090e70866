#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// One unit the user enabled: `systemctl --user enable` puts a link to it in a
// "<target>.wants" (or ".requires", ".upholds") folder of the user's unit folder.
struct UserUnitLink {
    std::string unit; // "sync.service"
    std::string link; // the first such link, in name order
};

// The user's unit folder: $XDG_CONFIG_HOME/systemd/user.
std::string userUnitFolder(const std::string& configHome);

// The units enabled by links in the user's unit folder, sorted by unit name, each once.
// A link whose unit file is gone is left out: nothing would start. Units enabled for
// every user (under /etc) are not the user's and are not listed: disabling them for one
// user cannot be done with `systemctl --user disable`.
std::vector<UserUnitLink> userEnabledUnits(const std::string& configHome);

// The units whose files the user keeps in the user's unit folder and that say how to
// enable them (an [Install] section with WantedBy=, RequiredBy= or UpheldBy=), by name.
// Those not in userEnabledUnits are the ones the user can turn on again.
std::vector<std::string> userInstallableUnits(const std::string& configHome);

// The argument vectors of the systemctl calls.
std::vector<std::string> listEnabledUnitsCommand();
std::vector<std::string> disableUnitCommand(const std::string& unit);
std::vector<std::string> enableUnitCommand(const std::string& unit);

// The units of `list-unit-files --no-legend` output whose state is "enabled".
std::vector<std::string> enabledUnitsIn(std::string_view listing);

} // namespace tidvale::linuxdesk
