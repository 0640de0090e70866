#pragma once

#include "engine/fs/FolderGuard.h"

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// The per-user folders every Linux listing starts from. The listings read no
// environment themselves: the caller resolves these once (tests root them anywhere).
// Each XDG folder is resolved and checked as a claim: one that is the home, a
// personal folder, a system folder or the like is kept here with its refusal, and
// nothing in it is ever listed for removal.
struct DesktopFolders {
    std::string home;       // resolved, without a trailing separator
    std::string cacheHome;  // $XDG_CACHE_HOME, else home + "/.cache"; resolved
    std::string configHome; // $XDG_CONFIG_HOME, else home + "/.config"; resolved
    std::string dataHome;   // $XDG_DATA_HOME, else home + "/.local/share"; resolved
    uid_t uid = 0;          // the user whose entries may be listed
    // Why nothing in each folder may be removed; empty when it may.
    std::string cacheRefusal;
    std::string configRefusal;
    std::string dataRefusal;
    GuardedFolders guarded; // what no other configured folder may be

    // Each folder when it may be listed for removal, else "" (which opens nothing).
    std::string cacheFolder() const { return cacheRefusal.empty() ? cacheHome : ""; }
    std::string configFolder() const { return configRefusal.empty() ? configHome : ""; }
    std::string dataFolder() const { return dataRefusal.empty() ? dataHome : ""; }

    // The refusals, one sentence each, for a status line or standard error.
    std::vector<std::string> notices() const;
};

// Resolves the folders from a home and the values of the three XDG variables (empty
// when unset), and checks them. As the XDG base directory rules say, an empty or
// relative value is ignored and the default under `home` is used. The personal
// folders come from the config folder's user-dirs.dirs. `systemRoot` is the prefix of
// the machine-wide folders ("" for the real ones).
DesktopFolders desktopFolders(const std::string& home, uid_t uid, std::string_view xdgCacheHome,
    std::string_view xdgConfigHome, std::string_view xdgDataHome,
    const std::string& systemRoot = "");

} // namespace tidvale::linuxdesk
