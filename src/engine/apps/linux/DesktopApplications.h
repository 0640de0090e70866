#pragma once

#include "engine/core/Job.h"
#include "engine/desktop/DesktopFolders.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/AppInfo.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// What the system can uninstall; each reason, when set, says why it cannot.
struct RemovalSupport {
    std::optional<std::string> packages; // Debian packages (PackageKit)
    std::optional<std::string> flatpak;  // Flatpak applications (the flatpak program)
};

// The applications of the desktop's menu: the Application entries of the XDG data
// folders (menuDataFolders) that are neither NoDisplay nor Hidden, each with what
// installed it (a Flatpak, a snap, a Debian package as dpkg's file lists under `root`
// say, an AppImage its Exec runs, else nothing known), its size (what uninstalling
// frees: a package is measured once however many entries it has) and whether it can
// be uninstalled here. Largest first; equal sizes keep the menu's order.
std::vector<AppInfo> listDesktopApplications(const DesktopFolders& folders,
    std::string_view xdgDataDirs, const std::string& root, const RemovalSupport& support,
    const TreeMeasure& measure, const JobControl& job);

} // namespace tidvale::linuxdesk
