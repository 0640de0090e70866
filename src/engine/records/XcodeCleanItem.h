#pragma once

#include "engine/fs/ListedItem.h"
#include "engine/records/CacheLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tidvale {

// One of the developer locations the Xcode cleaner lists. A plain value: the screen
// keeps its own copy and ticks change only that copy.
struct XcodeCleanItem {
    std::string name;
    std::string path;
    int64_t size = 0; // 0 when the location does not exist
    std::string description;
    bool isSelected = false;
    bool isAvailable = false; // the path existed when the scan ran
    bool isRegenerable = false;
    bool isLink = false;             // the location is a link: measured and removed as the link
    bool readOnlyFolders = false;    // made writable before it goes to the Trash
    std::vector<std::string> keep{}; // entries inside that a clean leaves in place
    ListedStamp listed = {}; // the location as it was listed: only that one goes to the Trash
    CacheLayout layout = CacheLayout::any; // checked again right before the clean
    std::string refusal{};                 // why it may not be cleaned; empty when it may
};

// Ticked, present and holding something: only such entries are cleaned, and only
// they enable the clean button.
inline bool isCleanable(const XcodeCleanItem& item)
{
    return item.isSelected && item.isAvailable && item.size > 0 && item.refusal.empty();
}

// The bytes of `items`, each counted once: an entry lying inside another entry of the
// list ("SPM Checkouts" inside "DerivedData") is already part of that one's size.
int64_t xcodeBytesOnce(const std::vector<XcodeCleanItem>& items);

} // namespace tidvale
