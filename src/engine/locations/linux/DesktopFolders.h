#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tidvale::linuxdesk {

// The per-user folders every Linux listing starts from. The listings read no
// environment themselves: the caller resolves these once (tests root them anywhere).
struct DesktopFolders {
    std::string home;       // without a trailing separator
    std::string cacheHome;  // $XDG_CACHE_HOME, else home + "/.cache"
    std::string configHome; // $XDG_CONFIG_HOME, else home + "/.config"
    std::string dataHome;   // $XDG_DATA_HOME, else home + "/.local/share"
    uid_t uid = 0;          // the user whose entries may be listed
};

// Resolves the folders from a home and the values of the three XDG variables (empty
// when unset). As the XDG base directory rules say, an empty or relative value is
// ignored and the default under `home` is used.
DesktopFolders desktopFolders(const std::string& home, uid_t uid, std::string_view xdgCacheHome,
    std::string_view xdgConfigHome, std::string_view xdgDataHome);

} // namespace tidvale::linuxdesk
