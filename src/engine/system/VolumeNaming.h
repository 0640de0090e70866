#pragma once

// How the Disk screen names and counts the volume that holds the home on one kind of
// system.
#include "engine/context/Context.h"
#include "engine/records/SystemFigures.h"
#include "platform/VolumeStatistics.h"

#include <optional>

namespace tidvale {

class VolumeNaming {
public:
    virtual ~VolumeNaming() = default;
    // The home volume from its figures (none when they could not be read).
    virtual DiskInfo homeVolume(
        const Context& context, const std::optional<platform::VolumeFigures>& figures) const = 0;
};

const VolumeNaming& macVolumeNaming();
const VolumeNaming& linuxVolumeNaming();

} // namespace tidvale
