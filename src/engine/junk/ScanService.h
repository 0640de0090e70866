#pragma once

#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/fs/Removal.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/ScanItem.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tidvale {

// Finds, measures and removes junk. Holds no state between calls, so one instance
// serves every screen and concurrent scans are safe. Every call blocks: call them off
// the GUI thread.
class ScanService {
public:
    using Progress = std::function<void(const std::string&)>;

    // Looks where the context's places say, on its home and system root, and
    // measures with `measure` (none: the tree walk on the context's pool). The context
    // must outlive the service.
    explicit ScanService(const Context& context, TreeMeasure measure = {});

    // The process's instance, built on the context its `main` installed at start.
    static ScanService& shared();

    const Context& context() const { return context_; }

    // What removing `path` frees: the logical size of a file or folder tree, with a
    // link, at `path` too, measured as the link (see treeSize).
    int64_t sizeOfPath(const std::string& path) const;
    std::string formatSize(int64_t bytes) const;

    // Why folders the environment names are left out of the scans, one sentence each
    // (a cache folder set to the home lists nothing); empty when none is.
    std::vector<std::string> folderNotices() const;

    // Nothing the user's keep-list touches is listed (see dropKept). The job hears
    // each step's text before the step is listed. A cancelled scan
    // returns the items measured in full so far; an item whose measuring was cut
    // short is left out, never listed at a part of its size.
    std::vector<ScanItem> scanSystemJunk(const JobControl& job = {}) const;
    std::vector<ScanItem> scanBrowsers(bool includeHistory, const JobControl& job = {}) const;
    // The history files alone, unticked, as scanBrowsers adds them.
    std::vector<ScanItem> scanHistory(const JobControl& job = {}) const;
    // Cookies and site data, unticked: a clean of them signs the user out of the
    // sites that are not kept.
    std::vector<ScanItem> scanSiteData(const JobControl& job = {}) const;

    // Deletes the selected items it may delete itself, one outcome each, keyed by path.
    // An item of a running browser, or one that is, holds or lies inside a running
    // browser's data, is refused, and so is one the folder guard refuses now (see
    // removalRefusal); an item refused for lack of rights needs the administrator only
    // when the allow-list would take it, else it failed with its reason. A dry run
    // makes the same checks and removes nothing. The job counts the selected items
    // handled so far, of all the selected ones; it cannot stop the removal.
    RemovalReport deleteItems(const std::vector<ScanItem>& items, const JobControl& job = {},
        RemovalMode mode = RemovalMode::remove) const;

    // Deletes set-aside items with administrator rights after checking each against the
    // allow-list. Blocks while the system asks for the password and the privileged run
    // ends; with nothing to do, or nothing accepted, it returns at once without asking.
    // Each item counts on its own: one that fails or vanished does not undo what
    // happened to the others. Items found already gone free their listed size; refused
    // ones say "Ruta no permitida: " + path; when the privileged run failed as a whole,
    // its error is the message of every item it left unanswered. The items the path
    // policy refused before asking come first, then the others in order.
    RemovalReport deleteItemsAsAdministrator(const std::vector<ScanItem>& items) const;

private:
    // The scans before the user's keep-list is applied.
    std::vector<ScanItem> listSystemJunk(const JobControl& job) const;
    std::vector<ScanItem> listBrowsers(bool includeHistory, const JobControl& job) const;

    const Context& context_;
    TreeMeasure measure_;
};

} // namespace tidvale
