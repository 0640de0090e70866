#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// The autostart folders, most important first: the user's, then the machine's.
struct AutostartFolders {
    std::string user;                // $XDG_CONFIG_HOME/autostart
    std::vector<std::string> system; // each $XDG_CONFIG_DIRS folder + "/autostart", under the root
};

// From the user's config folder, the value of $XDG_CONFIG_DIRS ("" when unset: then
// /etc/xdg) and the system root. Relative entries are ignored, as the XDG rules say.
AutostartFolders autostartFolders(
    const std::string& configHome, std::string_view xdgConfigDirs, std::string_view root);

// What decides whether an entry starts in this session.
struct SessionFacts {
    std::vector<std::string> desktops; // $XDG_CURRENT_DESKTOP, split on ":"
    std::string searchPath;            // $PATH, for TryExec
};

SessionFacts sessionFacts(std::string_view currentDesktop, std::string_view path);

struct AutostartEntry {
    std::string fileName; // "notas.desktop"
    std::string path;
    std::string label;            // Name[es], else Name, else the file name without ".desktop"
    bool user = false;            // found in the user's folder
    bool overridesSystem = false; // a user file in place of a machine entry of the same name
    bool enabled = false;         // starts when the session starts
    // A user entry switched off (Hidden=true, X-GNOME-Autostart-enabled=false) that
    // would start once switched on again, or a hidden user copy of a machine entry.
    bool canEnable = false;
};

// The entries that take part, merged by file name: the first folder that has a name
// wins and hides the entries of that name further down. The user's come first, then
// the machine's, each folder's in name order. An entry counts as disabled when it is
// hidden (Hidden=true, X-GNOME-Autostart-enabled=false), meant for other desktops
// (OnlyShowIn / NotShowIn), names a missing TryExec program, or is no valid
// application entry; a link to a device (masked, as with /dev/null) counts too.
// Folders, broken links and other odd files are ignored, as session starters do.
std::vector<AutostartEntry> listAutostartEntries(
    const AutostartFolders& folders, const SessionFacts& session);

// The machine's entry of this file name, which a user file of the same name
// overrides; "" when no machine folder has one.
std::string systemEntryFor(const AutostartFolders& folders, const std::string& fileName);

// Keeps the entry `fileName` from starting the way session starters expect: writes
// Hidden=true into the user's file of that name, replacing it atomically, or, when
// there is none, a copy of `systemEntry` with Hidden=true (a minimal hidden entry
// when it cannot be read). A link in the user's folder is replaced, never written
// through; nothing under the machine folders is touched. Returns the error text, ""
// on success.
std::string hideAutostartEntry(
    const AutostartFolders& folders, const std::string& fileName, const std::string& systemEntry);

// Switches the user's entry `fileName` on again: when it is exactly the hidden copy
// hideAutostartEntry makes of `systemEntry` it is removed, so the machine's entry
// decides again; otherwise Hidden=false and X-GNOME-Autostart-enabled=true are
// written into it, atomically. Returns the error text, "" on success.
std::string showAutostartEntry(
    const AutostartFolders& folders, const std::string& fileName, const std::string& systemEntry);

} // namespace tidvale::linuxdesk
