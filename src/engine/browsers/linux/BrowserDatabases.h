#pragma once

// The browsers' SQLite databases that hold history or cookies beside what must stay
// (bookmarks, the kept sites' cookies), cleaned row by row through SQLite's own
// library with the browser closed.
#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/ScanItem.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// Firefox's places.sqlite: every visit, and every page that no bookmark or keyword
// refers to, with what hangs on them (origins, annotations, typed input, metadata);
// bookmarked pages stay, with no trace of when they were visited.
RemovalOutcome cleanFirefoxHistory(const Context& context, const ScanItem& item);

// Whether a Firefox places.sqlite holds any visit or any page no bookmark keeps; a
// database that cannot be read is said to, so that the clean names it.
bool hasFirefoxHistory(const std::string& placesPath);

// Firefox's favicons.sqlite: the icons of pages places.sqlite beside it no longer holds.
RemovalOutcome cleanFirefoxIcons(const Context& context, const ScanItem& item);

// A cookie database (Firefox's cookies.sqlite, Chromium's Cookies): every cookie but
// those of the kept sites.
RemovalOutcome cleanCookies(
    const Context& context, const ScanItem& item, const std::vector<std::string>& keptSites);

} // namespace tidvale::linuxdesk
