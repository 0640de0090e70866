#pragma once

// Where the system junk scan looks on one kind of system, and the rules around a junk
// item's removal that differ between systems. The scanner and the removal are shared
// (ScanService); these only say which folders it reads and what it may remove.
#include "engine/context/Context.h"
#include "engine/fs/SafeRemove.h"
#include "engine/records/JunkCandidate.h"
#include "engine/records/ScanItem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tidvale {

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

class JunkPlaces {
public:
    virtual ~JunkPlaces() = default;

    // The five system junk steps in scan order, built on the context's home and the
    // machine-wide folders under its system root.
    virtual std::vector<JunkStep> steps(const Context& context) const = 0;

    // Removes one junk item for good. Most are one file or tree; a Trash entry may
    // have bookkeeping beside it that must go with it.
    virtual RemoveOutcome remove(const Context& context, const ScanItem& item) const = 0;

    // One sentence for each folder the environment names that is refused, and so
    // lists nothing ("XDG_CACHE_HOME=/home/ana es tu carpeta de inicio: …").
    virtual std::vector<std::string> folderNotices(const Context& context) const = 0;

    // Why `item` may not be removed now, with every folder resolved anew right before
    // the removal: a folder changed since the listing is not trusted either. None
    // when it may.
    virtual std::optional<std::string> removalRefusal(
        const Context& context, const ScanItem& item) const = 0;
};

const JunkPlaces& macJunkPlaces();
const JunkPlaces& linuxJunkPlaces();

} // namespace tidvale
