#pragma once

// Where the user's settings file lives, found from the context's folders: beside the
// desktop's other folders, checked like every folder a variable names.
#include "engine/fs/FolderGuard.h"
#include "engine/settings/UserSettings.h"

namespace tidvale {

struct Context;

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
