#pragma once

#include "engine/context/Context.h"
#include "engine/core/Job.h"
#include "engine/core/SystemColor.h"
#include "engine/fs/ListedItem.h"
#include "engine/fs/TreeSize.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidvale {

struct DownloadItem {
    std::string name;
    std::string path;
    int64_t size = 0;
    std::chrono::system_clock::time_point date; // content modification
    std::string kind;
    bool isSelected = false;
    ListedStamp listed; // the entry as it was listed: only that entry is ever moved
};

// The real home's Downloads folder, as the context's profile names it.
std::string downloadsFolder(const Context& context);

// The visible top-level entries of `folder`, oldest first (equal dates keep listing
// order). Folders are measured whole with `measure`; a link is listed as the link,
// never followed. An unreadable folder gives an empty list. Blocks. A cancelled job
// ends the listing before the next entry: the entries measured in full so far come
// back, and the list is whole only when the job was not cancelled.
std::vector<DownloadItem> listDownloads(
    const std::string& folder, const JobControl& job, const TreeMeasure& measure);

// The age filter pop-up, by index: its title and the age in seconds an entry must
// exceed (strictly older than now minus it); 0 means no filter.
struct AgeFilter {
    const char* title;
    int64_t olderThanSeconds;
};
inline constexpr std::array<AgeFilter, 5> kAgeFilters{{
    {"Todos", 0},
    {"+ 30 días", 2592000},
    {"+ 60 días", 5184000},
    {"+ 90 días", 7776000},
    {"+ 1 año", 31536000},
}};

// Whether the filter at `index` shows `entry` at `now`. Any index outside 1 to 4 shows
// everything.
bool passesAgeFilter(
    const DownloadItem& entry, int index, std::chrono::system_clock::time_point now);

// The entries the filter at `index` shows at `now`, in their order.
std::vector<DownloadItem> filterDownloads(
    const std::vector<DownloadItem>& entries, int index, std::chrono::system_clock::time_point now);

// "N archivos · <bytes>" for the shown entries (plural for every count).
std::string downloadsSummary(const std::vector<DownloadItem>& shown);

// Colours of the size and date columns; nothing means the secondary label colour.
std::optional<SystemColor> downloadSizeColor(int64_t size);
std::optional<SystemColor> downloadDateColor(
    std::chrono::system_clock::time_point date, std::chrono::system_clock::time_point now);

} // namespace tidvale
