#pragma once

#include "platform/MemoryStatistics.h"

#include <optional>
#include <string>
#include <string_view>

namespace tidvale::platform {

// The figures of a /proc/meminfo text: free = MemFree, active = Active, inactive =
// Inactive, wired = Unevictable (which already holds the Mlocked pages: adding them
// would count locked memory twice), compressed = Zswap (the compressed pool) where the
// kernel reports it. Nothing without a MemFree line, the one figure every
// kernel gives; other missing lines count as 0.
std::optional<VmFigures> parseMeminfo(std::string_view text);

// The memory the zram devices in `sysBlock` ("/sys/block") take for what they hold:
// the third figure of each device's mm_stat, mem_used_total. That is the RAM the
// compressed pages occupy, allocator overhead included, as the Mac's compressor
// figure is; the first two figures (what it holds uncompressed, and compressed
// without the overhead) are not what the memory gives up. 0 without zram.
uint64_t zramMemoryUsed(const std::string& sysBlock);

// The figures of the system under `root` ("" for this one): its /proc/meminfo, with
// the zram devices' memory added to the zswap pool, since both hold compressed pages
// in RAM and a system may use either or both.
std::optional<VmFigures> readVmFigures(const std::string& root);

} // namespace tidvale::platform
