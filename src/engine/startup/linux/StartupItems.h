#pragma once

#include "engine/fs/Removal.h"
#include "engine/records/LaunchItem.h"
#include "engine/startup/linux/Autostart.h"
#include "platform/Backends.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// Where a Linux session's startup items live and what decides whether they start.
struct StartupPlaces {
    AutostartFolders autostart;
    SessionFacts session;
    std::string configHome; // holds systemd/user, the user's unit folder
};

// The autostart entries, merged by file name, then the units the user enabled. The
// units are those systemctl reports enabled among the ones linked in the user's unit
// folder; when systemctl cannot answer (no user bus), the links alone decide. `commands`
// runs systemctl.
std::vector<LaunchItem> listStartupItems(
    const StartupPlaces& places, platform::CommandRunner& commands);

// Keeps the item at `item.path` from starting, deciding the way again from the
// folders as they are now: a user's own entry goes to the Trash; a machine entry gets
// a hidden user copy and a user file overriding one gets Hidden=true, so that the
// machine's entry never starts again (moving that file away would bring it back); a
// unit is disabled with systemctl, which counts as done only once its links are gone.
// `backends` give the Trash and the command runner.
RemovalOutcome disableStartupItem(
    const StartupPlaces& places, const LaunchItem& item, const platform::Backends& backends);

// Undoes what disabling did, as the folders are now: Tidvale's own hidden copy of a
// machine entry is removed (the machine's entry starts again, with its later
// updates); any other user entry gets Hidden=false (and X-GNOME-Autostart-enabled=true
// where it was false); a unit of the user's folder is enabled with systemctl, which
// counts as done once its link is there.
RemovalOutcome enableStartupItem(
    const StartupPlaces& places, const LaunchItem& item, platform::CommandRunner& commands);

} // namespace tidvale::linuxdesk
