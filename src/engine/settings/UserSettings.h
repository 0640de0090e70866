#pragma once

// Where the user's settings live and what they held when the process started, as the
// context carries them.
#include "engine/fs/FolderGuard.h"
#include "engine/settings/SettingsFile.h"

#include <string>

namespace tidvale {

struct Context;

struct UserSettings {
    // The settings file; "" when no folder may hold it (see `refusal`), and then
    // nothing is read or written.
    std::string path;
    std::string refusal;
    // The file as read at start. A window that outlives a change made elsewhere reads
    // the file again instead.
    SettingsRead atStart;
    // The command-line program beside the running one: what a schedule runs.
    std::string scheduledProgram;
};

// The Linux desktop's config folder: $XDG_CONFIG_HOME, else ~/.config, resolved and
// checked like every folder a variable names. The settings and the schedule's units
// are written only in an accepted one.
ClaimedFolder userConfigFolder(const Context& context);

// $XDG_CONFIG_HOME/tidvale/tidvale.toml (the config home resolved and checked like
// every folder a variable names) on Linux, ~/Library/Application
// Support/Tidvale/tidvale.toml on the Mac.
UserSettings userSettings(const Context& context, bool mac);

// The running system's: what each `main` builds its context with.
UserSettings systemUserSettings(const Context& context);

} // namespace tidvale
