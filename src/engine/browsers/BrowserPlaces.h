#pragma once

// Where the browsers keep their caches, history and data on one kind of system, and
// whether one runs now.
#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/JunkCandidate.h"
#include "engine/records/ScanCategory.h"
#include "engine/records/ScanItem.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

// One browser location: a cache, or a history file (listed unticked).
struct BrowserTarget {
    ScanCategory category;
    JunkCandidate candidate;
};

// A folder whose contents belong to a browser: an item that is, contains or lies in
// it is left alone while that browser runs.
struct BrowserDataRoot {
    ScanCategory category;
    std::string folder;
};

class BrowserPlaces {
public:
    virtual ~BrowserPlaces() = default;

    // Browser caches in the order they are scanned; each is measured and kept when it
    // holds something.
    virtual std::vector<BrowserTarget> caches(const Context& context) const = 0;

    // History files, offered unticked when history is asked for.
    virtual std::vector<BrowserTarget> history(const Context& context) const = 0;

    // Cookies and the data sites store, offered unticked: clearing them signs the user
    // out. The kept sites' stay.
    virtual std::vector<BrowserTarget> siteData(const Context&) const { return {}; }

    // Cleans an item that is not removed whole (a database whose history rows go, a
    // folder of which only some sites' entries go, a list emptied in place), the
    // browser being closed; none when the item is removed as a file or folder.
    virtual std::optional<RemovalOutcome> cleanInPlace(const Context&, const ScanItem&) const
    {
        return std::nullopt;
    }

    // Whether Smart Scan cleans the histories too, beside the caches.
    virtual bool historyInSmartScan() const { return false; }

    virtual std::vector<BrowserDataRoot> dataRoots(const Context& context) const = 0;

    // Whether the browser of `category` runs now, as the context's running
    // applications say. Only asks the system for browser categories.
    virtual bool isRunning(const Context& context, ScanCategory category) const = 0;
};

const BrowserPlaces& macBrowserPlaces();
const BrowserPlaces& linuxBrowserPlaces();

} // namespace tidvale
