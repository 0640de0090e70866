#pragma once

// The cleaning a user schedules from the command line: what Smart Scan removes, with
// no window and no password. Items that need the administrator, and the data of
// browsers that run, are left and said so.
#include "engine/junk/ScanService.h"

#include <string>
#include <vector>

namespace tidvale {

// Removes the ticked, outermost `items` through the same call as Smart Scan, the
// `service`'s; a dry run touches nothing and says what a real run would do now.
RemovalReport runScheduledClean(
    const ScanService& service, const std::vector<ScanItem>& items, RemovalMode mode);

// Why a clean with no window left `outcome`: its own message, or, for an item that
// needs the administrator, where to clean it instead.
std::string reasonLeft(const RemovalOutcome& outcome);

// Whether anything failed, as opposed to being left on purpose (a running browser,
// a folder that fails its check, an item that needs the administrator).
bool anyFailed(const RemovalReport& report);

} // namespace tidvale
