#include "platform/VolumeStatistics.h"

#include <sys/statvfs.h>

#include <limits>

namespace tidvale::platform {
namespace {

// blocks × fragment size, saturated: a volume past 8 EiB (or a lying file system) must
// not wrap into a negative capacity.
int64_t bytes(uint64_t blocks, uint64_t unit)
{
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (unit != 0 && blocks > kMax / unit)
        return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(blocks * unit);
}

// statvfs is the same call on macOS and Linux, so one backend serves both.
class StatvfsVolumeStatistics final : public VolumeStatistics {
public:
    std::optional<VolumeFigures> figuresFor(const std::string& path) override
    {
        struct statvfs st { };
        if (::statvfs(path.c_str(), &st) != 0)
            return std::nullopt;
        const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
        const uint64_t inUse = st.f_blocks > st.f_bfree ? st.f_blocks - st.f_bfree : 0;
        return VolumeFigures{
            bytes(st.f_blocks, unit), bytes(st.f_bavail, unit), bytes(inUse, unit)};
    }
};

} // namespace

std::shared_ptr<VolumeStatistics> systemVolumeStatistics()
{
    return std::make_shared<StatvfsVolumeStatistics>();
}

} // namespace tidvale::platform
