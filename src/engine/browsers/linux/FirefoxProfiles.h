#pragma once

#include "engine/desktop/DesktopFolders.h"
#include "engine/fs/FolderFd.h"

#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// One place Firefox keeps its profiles: the folder holding profiles.ini and the
// folder where a relative profile keeps its cache, under the same relative path.
struct FirefoxInstall {
    BelowPath profiles;
    BelowPath caches;
};

// The legacy folder (~/.mozilla/firefox), the XDG one ($XDG_CONFIG_HOME/mozilla/firefox,
// what Firefox ESR 153 makes on a fresh home), both cached under
// $XDG_CACHE_HOME/mozilla/firefox; the Snap's (~/snap/firefox/common/…) and the
// Flatpak's (~/.var/app/org.mozilla.firefox/…, legacy and XDG).
std::vector<FirefoxInstall> firefoxInstalls(const DesktopFolders& folders);

struct FirefoxProfile {
    std::string folderName; // the profile folder's own name ("abcd1234.default-esr")
    BelowPath folder;       // the profile folder
    BelowPath cache;        // where its "cache2" folder is
};

// The profiles a profiles.ini names. A relative profile (IsRelative=1) keeps its cache
// under the install's cache folder by the same relative path; an absolute one keeps it
// inside the profile folder itself, as Firefox does. Paths with a ".." component are
// ignored, as are sections other than "[Profile<N>]".
std::vector<FirefoxProfile> parseProfilesIni(std::string_view text, const FirefoxInstall& install);

// The profiles of an install, from its profiles.ini (read without following a link;
// none when it is missing or unreadable).
std::vector<FirefoxProfile> firefoxProfiles(const FirefoxInstall& install);

} // namespace tidvale::linuxdesk
