#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tidvale::platform {

struct VolumeFigures {
    int64_t total = 0; // capacity in bytes
    int64_t free = 0;  // bytes an ordinary user may still write
    int64_t used = 0;  // capacity less every free block, those kept for the administrator too
};

// Capacity of the volume that holds a path. Read-only; callable from any thread.
class VolumeStatistics {
public:
    virtual ~VolumeStatistics() = default;
    // Nothing when the volume's attributes cannot be read.
    virtual std::optional<VolumeFigures> figuresFor(const std::string& path) = 0;
};

// The backend of this operating system.
std::shared_ptr<VolumeStatistics> systemVolumeStatistics();

} // namespace tidvale::platform
