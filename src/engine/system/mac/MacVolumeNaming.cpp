#include "engine/system/VolumeNaming.h"

namespace tidvale {
namespace {

// The Mac's startup volume keeps its fixed name, and what is not free is used.
class MacVolumeNaming final : public VolumeNaming {
public:
    DiskInfo homeVolume(
        const Context&, const std::optional<platform::VolumeFigures>& figures) const override
    {
        DiskInfo info;
        info.name = "Macintosh HD";
        if (figures) {
            info.total = figures->total;
            info.free = figures->free;
            info.used = figures->free < figures->total ? figures->total - figures->free : 0;
        }
        return info;
    }
};

} // namespace

const VolumeNaming& macVolumeNaming()
{
    static const MacVolumeNaming naming;
    return naming;
}

} // namespace tidvale
