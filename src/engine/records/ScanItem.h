#pragma once

#include "engine/records/ScanCategory.h"

#include <cstdint>
#include <string>

namespace tidvale {

// One found file or folder. A plain value: screens keep their own copies and ticking
// a row changes only that copy.
struct ScanItem {
    std::string name;
    std::string path;
    int64_t size = 0; // measured at scan time, never re-measured
    ScanCategory category = ScanCategory::userCache;
    bool isSelected = true;
    bool requiresAdmin = false;
};

} // namespace tidvale
