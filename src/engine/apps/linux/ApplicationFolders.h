#pragma once

#include "engine/desktop/DesktopFolders.h"

#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// The XDG data folders a desktop menu reads, in precedence order: the user's data
// folder, then $XDG_DATA_DIRS (default "/usr/local/share:/usr/share"). A login session
// has the Flatpak export folders (the user's, then the machine's) before those and
// snapd's folder after them; where the variable lacks them they are put there, so a
// program started outside such a session lists the same entries. Machine folders lie
// under `root`; relative values are ignored, as the base directory rules say.
std::vector<std::string> menuDataFolders(
    const DesktopFolders& folders, std::string_view xdgDataDirs, const std::string& root);

struct EntryFile {
    std::string id;   // "vim.desktop"; "kde-konsole.desktop" for kde/konsole.desktop
    std::string path; // where the winning file is
};

// The .desktop files in the "applications" folder of each data folder, subfolders
// included (their names join the id with "-"). The first file of each id wins, as the
// desktop entry rules say: a user's own copy hides the machine's. Folders reached
// twice through links are read once.
std::vector<EntryFile> desktopEntryFiles(const std::vector<std::string>& dataFolders);

} // namespace tidvale::linuxdesk
