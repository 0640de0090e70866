#pragma once

// The cleaning a user schedules from the command line: what Smart Scan removes, with
// no window and no password. Items that need the administrator, and the data of
// browsers that run, are left and said so.
#include "engine/junk/ScanService.h"

#include <string>
#include <vector>

namespace tidvale {

struct CleanEntry {
    std::string path;
    int64_t size = 0;
    std::string reason; // why it was left; empty for what was removed
};

struct CleanReport {
    std::vector<CleanEntry> removed; // or, in a dry run, what would be
    std::vector<CleanEntry> left;
    int64_t freed = 0;   // sizes as scanned
    bool failed = false; // a removal failed, as opposed to an item left on purpose
};

// Removes the ticked, outermost `items` through the same call as Smart Scan, the
// `service`'s; with `dryRun` nothing is touched and the report says what a real run
// would do now.
CleanReport runScheduledClean(
    const ScanService& service, const std::vector<ScanItem>& items, bool dryRun);

} // namespace tidvale
