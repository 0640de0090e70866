#pragma once

#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/fs/Removal.h"
#include "engine/records/XcodeCleanItem.h"

#include <string>
#include <utility>
#include <vector>

namespace tidvale {

struct PlatformTexts;

// The entries a clean takes: the cleanable ones, in list order.
std::vector<XcodeCleanItem> xcodeCleanSelection(const std::vector<XcodeCleanItem>& items);

// The confirmation's informative text for a non-empty selection: the count and size,
// then a paragraph on caches when a regenerable location is selected, then a warning
// naming the selected locations whose data is not rebuilt, in the system's words
// (`texts`).
std::string xcodeConfirmText(
    const PlatformTexts& texts, const std::vector<XcodeCleanItem>& selection);

// The confirmation's details: one "path — size" line per selected location.
std::string xcodeConfirmDetails(const std::vector<XcodeCleanItem>& selection);

// Removes each selected location in order: regenerable ones permanently (all but the
// entries they keep), the others to the Trash, opened up first where the tool left
// them read-only. Right before, each is checked again: where it leads now must pass
// the folder guard, and the folder must still carry its tool's marks; otherwise it is
// left, refused with the reason. A location already gone (a folder inside one removed
// just before) is gone but frees nothing. One outcome per location, keyed by path;
// what was permanently deleted frees what really went, what went to the Trash its
// listed size. Runs on the calling
// thread. The job counts the locations handled so far; it cannot stop the clean. The
// folder guard is the context's developer places', on its home.
RemovalReport cleanXcodeLocations(const Context& context,
    const std::vector<XcodeCleanItem>& selection, const JobControl& job = {});

// The list after a clean: emptied locations read 0 and are unticked; a location whose
// removal failed keeps its size and tick, since its data is still there.
void applyXcodeClean(std::vector<XcodeCleanItem>& items, const RemovalReport& report);

// "✅ Liberado: <bytes>", followed by the names of the locations that could not be
// cleaned, if any.
std::string xcodeCleanStatus(const std::vector<XcodeCleanItem>& items, const RemovalReport& report);

// How a size cell reads: unavailable, empty, or a byte text in one of three tones.
enum class XcodeSizeTone { unavailable, empty, normal, large, huge };
XcodeSizeTone xcodeSizeTone(const XcodeCleanItem& item);
std::string xcodeSizeText(const XcodeCleanItem& item);

} // namespace tidvale
