#pragma once

#include "engine/scan/ScanService.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tidvale::gui {

// One Smart Scan card: a category that has items, with their count and total size.
struct CategorySummary {
    ScanCategory category;
    int count = 0;
    int64_t size = 0;
};

// The categories that have items, ordered by display name (plain text comparison),
// so "Caché de Usuario" comes first and "Safari" last whatever the sizes.
std::vector<CategorySummary> summarizeByCategory(const std::vector<ScanItem>& items);

// The items not inside another item of the list, in list order. The junk scan and the
// browser scan overlap (a large browser cache is also an entry of the user's cache
// folder): the inner item is measured and removed with its container, so it must
// neither be counted twice in a total nor be deleted a second time and reported as
// missing.
std::vector<ScanItem> outermostItems(const std::vector<ScanItem>& items);

// How many of `items` a clean of their outermost ones left behind: the refused and
// set-aside items, and every item lying inside one, since it went only with its
// container.
size_t leftoverCount(const std::vector<ScanItem>& items, const DeleteResult& result);

// The bytes the items take on disk: the sizes of the outermost ones.
int64_t totalSize(const std::vector<ScanItem>& items);

// "1 elemento", "3 elementos".
QString itemCountText(int count);

// The card symbol of a category.
QString cardSymbol(ScanCategory category);

} // namespace tidvale::gui
