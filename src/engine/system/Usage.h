#pragma once

#include "engine/records/SystemFigures.h"

#include <cstdint>

namespace tidvale {

// How full memory or a volume is, as the Memory and Disk screens show it.
struct Usage {
    uint64_t used = 0;   // total − free, or 0 when free is not below total
    double fraction = 0; // used ÷ total, 0 when total is 0
    int percent = 0;     // the exact ratio × 100 truncated toward zero
};

// Above 0.65 a figure is worth a look, above 0.85 it is critical; both bounds belong to
// the lower level (exactly 85 % is still a warning).
enum class UsageLevel { normal, warning, critical };

Usage memoryUsage(uint64_t total, uint64_t free);
// The volume as its user sees it: used ÷ (used + free), as df counts. On the Mac used is
// total − free, so this is used ÷ total; where the file system keeps blocks for the
// administrator they are neither used nor free for the user, so they count neither way.
Usage volumeUsage(const DiskInfo& disk);
UsageLevel usageLevel(double fraction);

} // namespace tidvale
