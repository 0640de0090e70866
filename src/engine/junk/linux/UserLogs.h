#pragma once

#include "engine/desktop/DesktopFolders.h"
#include "engine/records/JunkCandidate.h"

#include <vector>

namespace tidvale::linuxdesk {

// The session logs a previous login left behind, which nothing writes any more:
// home + "/.xsession-errors.old" (LightDM keeps the last session's errors there) and
// dataHome + "/xorg/*.log.old" (a rootless X server's previous logs, "Xorg.0.log.old").
// Regular files the user owns only, named by their file name. The live logs beside
// them are never listed; SDDM on Debian 12 keeps no previous session log, and
// ~/.local/state holds program state, not logs.
std::vector<JunkCandidate> listUserLogs(const DesktopFolders& folders);

} // namespace tidvale::linuxdesk
