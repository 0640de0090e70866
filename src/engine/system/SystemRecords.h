#pragma once

#include "engine/fs/ListedItem.h"

#include <cstdint>
#include <string>

namespace tidvale {

// Memory figures in bytes. There is no "used" figure: the Memory screen derives it.
struct MemoryInfo {
    uint64_t total = 0;
    uint64_t free = 0;
    uint64_t active = 0;
    uint64_t inactive = 0;
    uint64_t wired = 0;
    uint64_t compressed = 0;
};

// Capacity of the volume that holds the home directory.
struct DiskInfo {
    int64_t total = 0;
    int64_t free = 0; // what the user may still write
    int64_t used = 0; // what files take; with free it may fall short of total where the
                      // system keeps blocks for the administrator
    std::string name; // as the Disk screen names the volume
};

struct AppInfo {
    std::string name;     // bundle folder name without ".app"
    std::string path;     // folder + "/" + entry name
    int64_t size = 0;     // logical bytes of the whole bundle
    std::string iconFile; // the bundle's own icon image, or "" (screens use a generic one)
    std::string version;  // CFBundleShortVersionString, or ""
    std::string bundleID; // CFBundleIdentifier, or ""
    ListedStamp listed;   // the bundle folder as it was listed: only that one is moved
};

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
};

// How disabling one startup item went; `error` is the text to show when it failed.
struct LaunchItemOutcome {
    bool ok = false;
    std::string error;
};

} // namespace tidvale
