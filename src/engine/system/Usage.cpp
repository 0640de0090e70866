#include "engine/system/Usage.h"

namespace tidvale {

Usage memoryUsage(uint64_t total, uint64_t free)
{
    Usage u;
    u.used = total >= free ? total - free : 0;
    if (total == 0)
        return u;
    u.fraction = static_cast<double>(u.used) / static_cast<double>(total);
    // In integers: 29 of 100 must read 29 %, and 0.29 × 100 in floating point is
    // 28.999… which would truncate to 28.
    u.percent = static_cast<int>(static_cast<unsigned __int128>(u.used) * 100 / total);
    return u;
}

Usage volumeUsage(const DiskInfo& disk)
{
    // Both fit 63 bits, so their sum fits 64.
    const uint64_t used = disk.used > 0 ? static_cast<uint64_t>(disk.used) : 0;
    const uint64_t free = disk.free > 0 ? static_cast<uint64_t>(disk.free) : 0;
    return memoryUsage(used + free, free);
}

UsageLevel usageLevel(double fraction)
{
    if (fraction > 0.85)
        return UsageLevel::critical;
    if (fraction > 0.65)
        return UsageLevel::warning;
    return UsageLevel::normal;
}

} // namespace tidvale
