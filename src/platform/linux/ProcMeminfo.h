#pragma once

#include "platform/MemoryStatistics.h"

#include <optional>
#include <string_view>

namespace tidvale::platform {

// The figures of a /proc/meminfo text: free = MemFree, active = Active, inactive =
// Inactive, wired = Unevictable (which already holds the Mlocked pages: adding them
// would count locked memory twice), compressed = Zswap (the compressed pool) where the
// kernel reports it. Nothing without a MemFree line, the one figure every
// kernel gives; other missing lines count as 0.
std::optional<VmFigures> parseMeminfo(std::string_view text);

} // namespace tidvale::platform
