#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The user's home trash, `$XDG_DATA_HOME/Trash`; `xdgDataHome` empty or relative
// (which the base-directory standard says to ignore) means `home/.local/share`.
std::string homeTrashFolder(const std::string& home, const std::string& xdgDataHome);

// Every trash folder of user `uid`: the home trash first (whether or not it exists
// yet), then, for each mount listed in `mountinfoText` (the text of
// /proc/self/mountinfo), `$topdir/.Trash/$uid` when `$topdir/.Trash` is a real folder
// with the sticky bit, and `$topdir/.Trash-$uid`; a volume trash is listed only when
// it is a real folder (not a link) owned by `uid`. Kernel pseudo file systems are
// never looked at.
std::vector<std::string> trashFolders(const std::string& home, const std::string& xdgDataHome,
    const std::string& mountinfoText, uid_t uid);

} // namespace tidvale::linuxdesk
