#pragma once

#include "engine/fs/ListedItem.h"

#include <cstdint>
#include <string>

namespace tidvale {

// What put an application on the system, which decides how it is uninstalled.
enum class AppSource {
    bundle,   // an application bundle in an Applications folder: moved to the Trash
    deb,      // a Debian package: removed by the package manager
    flatpak,  // a Flatpak application: removed by flatpak
    snap,     // a Snap package
    appimage, // a self-contained program file: moved to the Trash with its menu entry
    desktop,  // a menu entry nothing known installed
};

// "bundle", "deb", "flatpak", "snap", "appimage", "desktop".
const char* appSourceName(AppSource source);

struct AppInfo {
    std::string name;     // bundle folder name without ".app"; a menu entry's Spanish name
    std::string path;     // folder + "/" + entry name; a menu entry's .desktop file
    int64_t size = 0;     // logical bytes of the whole bundle; what uninstalling frees
    std::string iconFile; // the bundle's own icon image, or "" (screens use a generic one)
    std::string version;  // CFBundleShortVersionString, or ""
    std::string bundleID; // CFBundleIdentifier, or ""; a menu entry's desktop file id
    ListedStamp listed;   // the bundle folder as it was listed: only that one is moved

    // How it goes. Several menu entries of one package share its `unit`: they are
    // uninstalled together and their size counts once.
    AppSource source = AppSource::bundle;
    bool removable = true;
    std::string notRemovableReason; // shown on the row when it cannot be uninstalled here
    std::string unit;               // "deb:vim:amd64", "flatpak:user:org.x.Y", a path, ...
    std::string iconName;           // a theme icon name, when the entry names one
    std::string package;            // Debian package name, Flatpak application id or Snap name
    std::string architecture;       // the Debian package's architecture
    bool systemWide = false;        // a Flatpak of the machine's installation (else the user's)
    std::string payload;            // the AppImage file, the Flatpak deployment, the .snap file
    ListedStamp payloadListed;      // the AppImage as it was listed
    // A menu entry's file as it was listed. Kept apart from `listed`, which stays empty
    // for menu entries: moving `path` to the Trash as a bundle must never take a
    // system's menu entry and leave its program behind.
    ListedStamp entryListed;
};

} // namespace tidvale
