#pragma once

// Where the developer tools keep their caches on one kind of system (Xcode's folders
// on the Mac, the compilers' and package managers' on a Linux desktop).
#include "engine/context/Context.h"
#include "engine/devcaches/XcodeLocations.h"
#include "engine/fs/FolderGuard.h"

#include <vector>

namespace tidvale {

class DeveloperPlaces {
public:
    virtual ~DeveloperPlaces() = default;

    // The locations the tool lists, in display order, built anew for each scan on the
    // context's home.
    virtual std::vector<XcodeLocation> locations(const Context& context) const = 0;

    // What no location may lead to, around the context's home: checked again right
    // before a clean.
    virtual GuardedFolders guardedFolders(const Context& context) const = 0;
};

const DeveloperPlaces& macDeveloperPlaces();
const DeveloperPlaces& linuxDeveloperPlaces();

} // namespace tidvale
