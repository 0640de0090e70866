#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace tidvale::platform {

// The host's virtual-memory figures, already multiplied out to bytes.
struct VmFigures {
    uint64_t free = 0;
    uint64_t active = 0;
    uint64_t inactive = 0;
    uint64_t wired = 0;
    uint64_t compressed = 0; // held by the memory compressor; 0 where there is none
};

// Memory figures of the machine. Read-only; callable from any thread.
class MemoryStatistics {
public:
    virtual ~MemoryStatistics() = default;
    // Installed physical memory in bytes.
    virtual uint64_t physicalMemory() = 0;
    // Nothing when the system refuses the statistics.
    virtual std::optional<VmFigures> vmFigures() = 0;
};

// The backend of this operating system.
std::shared_ptr<MemoryStatistics> systemMemoryStatistics();

} // namespace tidvale::platform
