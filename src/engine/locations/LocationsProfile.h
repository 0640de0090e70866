#pragma once

// Where each tool looks on one kind of system, and the few rules that differ between
// them. The scanner, the removal, the screens and the CLI are shared; a profile only
// says which folders they read, which entries count, and which paths the
// administrator stage may touch. `mac` is the Mac's own layout; `linux` is the same
// tools on a Linux desktop.
#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/fs/FolderGuard.h"
#include "engine/fs/SafeRemove.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/JunkCandidate.h"
#include "engine/records/ScanItem.h"
#include "engine/records/SystemRecords.h"

#include "engine/devcaches/XcodeLocations.h"
#include "platform/VolumeStatistics.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// Not "linux": the compiler's GNU mode and moc predefine that name as a macro.
enum class ProfileId { mac, linuxDesktop };

// When a junk item needs the administrator stage.
enum class AdminCheck {
    never,
    itemNotWritable,   // the Mac's rule: the item itself cannot be written
    parentNotWritable, // removing an entry takes writing its folder
};

// One step of the system junk scan. `list` runs after `progress` was sent, so a slow
// listing shows which step it belongs to.
struct JunkStep {
    std::string progress;
    ScanCategory category;
    int64_t keepAbove; // the measured size must be greater; -1 keeps every entry
    AdminCheck admin;
    std::function<std::vector<JunkCandidate>()> list;
};

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

// A machine-wide folder the administrator stage may delete in. A path is accepted
// only strictly inside `folder` and when `accepts` (if set) agrees; the privileged
// removal reaches it from `folder` without following links.
struct AdminArea {
    std::string folder;
    std::function<bool(const std::string& path)> accepts;
};

// Texts that name the system's own computer or file manager, kept in one table so
// that a screen never says "Mac" or "Finder" where there is neither.
struct PlatformTexts {
    std::string readyToScan;     // "Listo para escanear tu Mac"
    std::string computerIsClean; // "✅ Tu Mac está limpio"
    std::string diskSubtitle;    // "Visualizá el uso del almacenamiento en tu Mac"
    std::string sidebarSubtitle; // "Mac Cleaner"
    std::string revealInFolder;  // "Mostrar en Finder"
    std::string revealOriginal;  // "Mostrar Original en Finder"
    std::string openInFolder;    // "Abrir en Finder"

    // The developer caches tool: Xcode's folders on the Mac, the developer tools'
    // caches elsewhere.
    std::string developerSidebarTitle; // "Limpieza Xcode"
    std::string developerTitle;        // "Limpieza de Xcode"
    std::string developerSubtitle;     // "Elimina DerivedData, simuladores y cachés de desarrollo"
    std::string developerConfirm;      // "¿Limpiar cachés de Xcode?"
    std::string developerCachesRegrow; // "Las cachés se eliminan definitivamente; Xcode las…"
    std::string developerKeptData;     // " contiene datos que Xcode NO regenera (…)…"
    std::string developerHint;         // the list's hint before the first scan
};

class LocationsProfile {
public:
    virtual ~LocationsProfile() = default;

    virtual ProfileId id() const = 0;
    virtual std::string_view name() const = 0; // "mac", "linux"

    // The five system junk steps in scan order, built on the context's home and the
    // machine-wide folders under its system root.
    virtual std::vector<JunkStep> junkSteps(const Context& context) const = 0;

    // Browser caches in the order they are scanned; each is measured and kept when it
    // holds something.
    virtual std::vector<BrowserTarget> browserCaches(const Context& context) const = 0;

    // History files, offered unticked when history is asked for.
    virtual std::vector<BrowserTarget> browserHistory(const Context& context) const = 0;

    virtual std::vector<BrowserDataRoot> browserDataRoots(const Context& context) const = 0;

    // Whether the browser of `category` runs now, as the context's running
    // applications say. Only asks the system for browser categories.
    virtual bool isBrowserRunning(const Context& context, ScanCategory category) const = 0;

    // The folders the administrator stage may delete in, under the system root.
    virtual std::vector<AdminArea> adminAreas(const Context& context) const = 0;

    // Removes one junk item for good. Most are one file or tree; a Trash entry may
    // have bookkeeping beside it that must go with it.
    virtual RemoveOutcome removeJunk(const Context& context, const ScanItem& item) const;

    // What no folder named by a variable or a setting may be, around the context's
    // home (resolved here).
    virtual GuardedFolders guardedFolders(const Context& context) const;

    // One sentence for each folder the environment names that is refused, and so
    // lists nothing ("XDG_CACHE_HOME=/home/ana es tu carpeta de inicio: …").
    virtual std::vector<std::string> folderNotices(const Context& context) const;

    // Why `item` may not be removed now, with every folder resolved anew right before
    // the removal: a folder changed since the listing is not trusted either. None
    // when it may.
    virtual std::optional<std::string> removalRefusal(
        const Context& context, const ScanItem& item) const;

    // The six personal folders the finders search, Downloads first, on `realHome`.
    virtual std::vector<std::string> personalFolders(
        const std::string& realHome, const Environment& environment) const = 0;

    virtual const PlatformTexts& texts() const = 0;

    // Startup items: what starts with the user's session, on the context's home and
    // the machine folders under its system root, and how deleting one keeps it from
    // starting (its `action` says which way, for the confirmation).
    virtual std::vector<LaunchItem> launchItems(const Context& context) const = 0;
    virtual LaunchItemOutcome disableLaunchItem(
        const Context& context, const LaunchItem& item) const = 0;

    // The locations the developer caches tool lists, in display order, built anew for
    // each scan on the context's home.
    virtual std::vector<XcodeLocation> developerLocations(const Context& context) const = 0;
    // The volume that holds the home as the Disk screen names and counts it, from its
    // figures (none when they could not be read).
    virtual DiskInfo homeVolume(
        const Context& context, const std::optional<platform::VolumeFigures>& figures) const = 0;

    // The applications the user sees, largest first (equal sizes keep the order they
    // were found in), each saying what installed it and whether it can be uninstalled
    // here. `measure` measures a file or folder tree; the job hears "Leyendo NAME..."
    // before each application is measured, and may stop the listing.
    virtual std::vector<AppInfo> installedApps(
        const Context& context, const TreeMeasure& measure, const JobControl& job) const = 0;
};

const LocationsProfile& macProfile();
const LocationsProfile& linuxProfile();

// The profile of the system the program was built for.
const LocationsProfile& platformProfile();

// "mac" or "linux"; none for another name.
const LocationsProfile* profileNamed(std::string_view name);

} // namespace tidvale
