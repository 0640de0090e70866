#pragma once

// What sites store in a browser profile besides cookies, cleaned site by site so that
// the kept sites and the browser's extensions keep theirs.
#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/ScanItem.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// How a folder names the site each of its entries belongs to.
enum class OriginNaming { firefox, chromium };

// Removes the entries of the folder `item.path` (Firefox's storage/default, Chromium's
// IndexedDB) that belong to a web site not kept; what belongs to no web site (an
// extension) stays. Gone when every such entry went, else failed with the first
// reason.
RemovalOutcome cleanSiteFolders(
    const ScanItem& item, OriginNaming naming, const std::vector<std::string>& keptSites);

// Chromium's "Local Storage": one LevelDB database of every site's values. The
// entries of the kept sites and extensions are written to a new database, which takes
// the original's place (see replaceWithEdited).
RemovalOutcome cleanLocalStorage(
    const Context& context, const ScanItem& item, const std::vector<std::string>& keptSites);

// The web sites and extensions Chromium's "Service Worker" database has workers for,
// by origin ("https://mail.example.org/", "chrome-extension://…/"); nothing when it
// cannot be read.
std::vector<std::string> serviceWorkerOrigins(const std::string& serviceWorkerFolder);

// Whether the "Service Worker" folder may go whole: none of its workers is a kept
// site's or an extension's.
bool isServiceWorkerRemovable(
    const std::string& serviceWorkerFolder, const std::vector<std::string>& keptSites);

} // namespace tidvale::linuxdesk
