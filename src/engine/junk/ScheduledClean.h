#pragma once

// The cleaning a user schedules from the command line: what Smart Scan removes, with
// no window and no password. Items that need the administrator, and the data of
// browsers that run, are left and said so.
#include "engine/junk/ScanService.h"
#include "engine/settings/Settings.h"

#include <ctime>
#include <optional>

#include <string>
#include <vector>

namespace tidvale {

// Removes the ticked, outermost `items` through the same call as Smart Scan, the
// `service`'s; a dry run touches nothing and says what a real run would do now.
RemovalReport runScheduledClean(
    const ScanService& service, const std::vector<ScanItem>& items, RemovalMode mode);

// What a scheduled clean takes of a scan, by the user's settings: only the chosen
// `categories` (all of them when `categoriesGiven` names some on the command line
// instead), and of the Trash only the entries deleted more than `trashMaxAgeDays`
// before `now`, each by its own deletion date; with that rule off (0) the Trash is
// left whole, since an unattended clean that emptied it would take away every way back.
std::vector<ScanItem> scheduledSelection(
    std::vector<ScanItem> items, const Settings& settings, std::time_t now, bool categoriesGiven);

// When the Trash entry at `path` (as the junk scan lists it) was deleted: its
// `.trashinfo` date, else the time it was last moved (the Mac's Trash keeps no date);
// nothing when neither can be read.
std::optional<std::time_t> trashEntryDeletedAt(const std::string& path);

// Why a clean with no window left `outcome`: its own message, or, for an item that
// needs the administrator, where to clean it instead.
std::string reasonLeft(const RemovalOutcome& outcome);

// Whether anything failed, as opposed to being left on purpose (a running browser,
// a folder that fails its check, an item that needs the administrator).
bool anyFailed(const RemovalReport& report);

} // namespace tidvale
