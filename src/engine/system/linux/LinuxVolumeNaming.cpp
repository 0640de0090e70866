#include "engine/system/VolumeNaming.h"

#include "engine/fs/MountInfo.h"
#include "engine/system/linux/VolumeName.h"

namespace tidvale {
namespace {

// Used and free as df counts them: the blocks kept for the administrator are neither
// in use nor free for the user.
class LinuxVolumeNaming final : public VolumeNaming {
public:
    DiskInfo homeVolume(const Context& context,
        const std::optional<platform::VolumeFigures>& figures) const override
    {
        DiskInfo info;
        info.name = linuxdesk::homeVolumeName(
            context.folders.systemRoot, context.folders.home, currentMountInfo());
        if (figures) {
            info.total = figures->total;
            info.free = figures->free;
            info.used = figures->used;
        }
        return info;
    }
};

} // namespace

const VolumeNaming& linuxVolumeNaming()
{
    static const LinuxVolumeNaming naming;
    return naming;
}

} // namespace tidvale
