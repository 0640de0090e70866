#pragma once

#include <cstdint>
#include <string>

namespace tidvale {

// Memory figures in bytes. There is no "used" figure: the Memory screen derives it.
struct MemoryInfo {
    uint64_t total = 0;
    uint64_t free = 0;
    uint64_t active = 0;
    uint64_t inactive = 0;
    uint64_t wired = 0;
    uint64_t compressed = 0;
};

// Capacity of the volume that holds the home directory.
struct DiskInfo {
    int64_t total = 0;
    int64_t free = 0; // what the user may still write
    int64_t used = 0; // what files take; with free it may fall short of total where the
                      // system keeps blocks for the administrator
    std::string name; // as the Disk screen names the volume
};

} // namespace tidvale
