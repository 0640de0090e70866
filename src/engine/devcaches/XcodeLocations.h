#pragma once

#include "engine/core/Job.h"
#include "engine/devcaches/CacheMarks.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/XcodeCleanItem.h"

#include <string>
#include <vector>

namespace tidvale {

// One row of the fixed table of developer locations.
struct XcodeLocation {
    std::string name;
    std::string path;
    std::string desc;
    bool regenerable = false;
    // The tool leaves its folders read-only (Go's module cache): they are made
    // writable before the move to the Trash, or the Trash could never be emptied.
    bool readOnlyFolders = false;
    // Entries directly inside the location that a clean leaves in place: a tool's own
    // settings kept among its cached files (ccache.conf).
    std::vector<std::string> keep{};
    // What the folder must look like before anything in it is removed.
    CacheLayout layout = CacheLayout::any;
    // Why the row may not be cleaned at all (its variable names the home, say); empty
    // when it may.
    std::string refusal{};
};

// The eleven locations in display order, under `home` + "/Library/Developer".
// "SPM Checkouts" lies inside "DerivedData" and is measured on its own as well.
std::vector<XcodeLocation> xcodeLocations(const std::string& home);

struct XcodeListing {
    std::vector<XcodeCleanItem> items; // one per location, in table order, unless cancelled
    int64_t total = 0;                 // nested locations counted once
    bool cancelled = false;            // stopped early: the rows measured so far, no total
};

// Measures every location with `measure`. A location that is a link is listed as the
// link, at the link's own size and with "Enlace" in its description, since cleaning it
// removes only the link; a location lying beyond such a link is listed as absent. A
// refused location, or a folder without its tool's marks, is listed unticked and not
// available, unmeasured, with the reason in its description.
// Blocks while it walks the trees: call it off the GUI thread.
XcodeListing listXcodeLocations(
    const std::vector<XcodeLocation>& table, const JobControl& job, const TreeMeasure& measure);

// "N ubicaciones · <bytes> en total".
std::string xcodeListingStatus(const XcodeListing& listing);

} // namespace tidvale
