#pragma once

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The user's personal folders as their desktop names them.
struct PersonalFolders {
    std::string downloads;
    std::string documents;
    std::string desktop;
    std::string pictures;
    std::string videos;
    std::string music;
    std::string publicShare; // not searched by the finders, but never a cache either
    std::string templates;

    // Downloads, Documents, Desktop, Pictures, Videos, Music: the order the finders
    // search them in.
    std::vector<std::string> inOrder() const;
};

// The folders named in the text of a `user-dirs.dirs` file (lines such as
// `XDG_DOWNLOAD_DIR="$HOME/Descargas"`, shell-quoted, `$HOME` being `home`). A folder
// the file does not name, names in a form the format does not allow, or sets to
// `$HOME` itself (how the desktop marks it disabled) gets its English default under
// `home`: Downloads, Documents, Desktop, Pictures, Videos, Music, Public, Templates.
PersonalFolders parseUserDirs(const std::string& text, const std::string& home);

// The same, read from `$XDG_CONFIG_HOME/user-dirs.dirs`; `xdgConfigHome` empty or
// relative means `realHome/.config`. A missing or unreadable file gives the defaults.
PersonalFolders personalFolders(const std::string& realHome, const std::string& xdgConfigHome);

} // namespace tidvale::linuxdesk
