#pragma once

// Where the browsers keep their caches, history and data on one kind of system, and
// whether one runs now.
#include "engine/context/Context.h"
#include "engine/records/JunkCandidate.h"
#include "engine/records/ScanCategory.h"

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

    virtual std::vector<BrowserDataRoot> dataRoots(const Context& context) const = 0;

    // Whether the browser of `category` runs now, as the context's running
    // applications say. Only asks the system for browser categories.
    virtual bool isRunning(const Context& context, ScanCategory category) const = 0;
};

const BrowserPlaces& macBrowserPlaces();
const BrowserPlaces& linuxBrowserPlaces();

} // namespace tidvale
