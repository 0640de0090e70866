#pragma once

#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/AppInfo.h"
#include "platform/ApplicationRemover.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tidvale {

// The sum of the sizes, each uninstall unit counted once: two menu entries of one
// package free the package once.
int64_t freedBytes(const std::vector<AppInfo>& apps);

// One thing to uninstall and every listed entry that goes with it.
struct UninstallUnit {
    AppInfo app;                     // the first chosen entry of the unit
    std::vector<std::string> names;  // the chosen entries' names, in the order chosen
    std::vector<ListedItem> entries; // every removable listed entry of the unit
};

struct UninstallPlan {
    std::vector<UninstallUnit> units; // in the order first chosen
    std::vector<AppInfo> skipped;     // chosen entries that cannot be uninstalled here
};

// Groups the chosen entries (found in `listed` by path) by what uninstalls them.
UninstallPlan planUninstall(const std::vector<AppInfo>& listed, const std::vector<AppInfo>& chosen);

// The Debian packages of the plan, once each.
std::vector<platform::DebianPackage> debianPackages(const UninstallPlan& plan);

// What else removing the plan's Debian packages would remove, asked of the package
// manager (`remover`) without removing anything. Blocks; nothing is asked when the plan
// has none.
platform::PackageRemovalPreview previewUninstall(
    platform::ApplicationRemover& remover, const UninstallPlan& plan);

// Uninstalls the plan: the Debian packages in one transaction together with `others`
// (the packages the preview named and the user agreed to remove), each Flatpak with
// flatpak, AppImages and bundles into the Trash (their menu entries after them), each
// only while it is still what was listed. Then looks again: only what is really gone
// counts. One outcome per unit, the listed entries of the other packages that went
// among them: a gone unit is keyed by its first listed entry and frees its size once;
// a unit that stayed is keyed by its first chosen entry, failed or changed with why. The context
// gives the Trash, the package tools and the dpkg database under its system root. Blocks. The job
// counts the plan's units handled so far (the Debian ones all at once, with their transaction); it
// cannot stop the uninstall.
RemovalReport uninstall(const Context& context, const std::vector<AppInfo>& listed,
    const UninstallPlan& plan, const std::vector<platform::DebianPackage>& others,
    const JobControl& job = {});

// The listed entries that went with the units `report` says are gone: every entry of
// each such unit.
std::set<std::string> uninstalledEntries(
    const std::vector<AppInfo>& listed, const RemovalReport& report);

} // namespace tidvale
