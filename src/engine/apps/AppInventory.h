#pragma once

// The applications installed on one kind of system, and how they are uninstalled.
#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/AppInfo.h"

#include <vector>

namespace tidvale {

class AppInventory {
public:
    virtual ~AppInventory() = default;

    // The applications the user sees, largest first (equal sizes keep the order they
    // were found in), each saying what installed it and whether it can be uninstalled
    // here. `measure` measures a file or folder tree; the job hears "Leyendo NAME..."
    // before each application is measured, and may stop the listing.
    virtual std::vector<AppInfo> installed(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const = 0;

    // Whether uninstalling asks the tools that installed each application (a Linux
    // desktop's package manager, flatpak) rather than moving bundles to the Trash.
    virtual bool usesPackageTools() const = 0;
};

const AppInventory& macAppInventory();
const AppInventory& linuxAppInventory();

} // namespace tidvale
