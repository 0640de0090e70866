#pragma once

// A context's per-user folders as each kind of system lays them out, resolved and
// checked anew on each call: a folder that changed since the last listing is judged
// as it is now.
#include "engine/context/Context.h"
#include "engine/desktop/DesktopFolders.h"
#include "engine/fs/FolderGuard.h"

namespace tidvale {

// A Linux desktop's: the home and the XDG folders the context's environment names.
linuxdesk::DesktopFolders desktopFoldersOf(const Context& context);

// What no folder named by a variable may be on the Mac, around the context's home.
GuardedFolders macGuardedFoldersOf(const Context& context);

} // namespace tidvale
