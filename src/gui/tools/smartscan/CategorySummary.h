#pragma once

#include "engine/junk/JunkCleanRules.h"

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

// "1 elemento", "3 elementos".
QString itemCountText(int count);

// The card symbol of a category.
QString cardSymbol(ScanCategory category);

} // namespace tidvale::gui
