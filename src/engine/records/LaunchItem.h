#pragma once

#include <string>

namespace tidvale {

// What deleting a startup item does, so that the confirmation can say it.
enum class LaunchItemAction {
    deleteFile,      // the Mac's: the property list is deleted outright
    moveToTrash,     // a user's own autostart entry goes to the Trash
    hideSystemEntry, // a user copy with Hidden=true hides a machine entry
    hideUserEntry,   // Hidden=true is set in the user's file that overrides a machine one
    disableUnit,     // systemctl --user disable
};

struct LaunchItem {
    std::string name; // file name without ".plist" (".desktop"), or the unit's name
    std::string path;
    bool isEnabled = true; // the Mac's are always listed as enabled: the file is not read for it
    std::string source;    // label of the folder it was found in
    std::string bundleID;  // the "Label" text, else name; an autostart entry's Name
    LaunchItemAction action = LaunchItemAction::deleteFile;
    // Disabled in a way that can be undone from here: Hidden=true (or
    // X-GNOME-Autostart-enabled=false) in the user's own entry, or a unit of the user's
    // unit folder that is not enabled.
    bool canEnable = false;
};

} // namespace tidvale
