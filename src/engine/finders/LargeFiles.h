#pragma once

#include "engine/core/Job.h"
#include "engine/core/SystemColor.h"
#include "engine/core/WorkPool.h"
#include "engine/fs/ListedItem.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidvale {

struct LargeFileItem {
    std::string name;
    std::string path;
    int64_t size = 0;
    std::chrono::system_clock::time_point modified;
    std::string kind;
    ListedStamp listed; // the file as the search found it: only that file is ever moved
};

// The threshold pop-up: titles and their byte values, by index (MB and GB in the
// titles, multiples of 1048576 in the bytes). Index 1 is the default.
struct LargeFileThreshold {
    const char* title;
    int64_t bytes;
};
inline constexpr std::array<LargeFileThreshold, 6> kLargeFileThresholds{{
    {"10 MB", 10 * 1048576LL},
    {"50 MB", 50 * 1048576LL},
    {"100 MB", 100 * 1048576LL},
    {"250 MB", 250 * 1048576LL},
    {"500 MB", 500 * 1048576LL},
    {"1 GB", 1024 * 1048576LL},
}};
inline constexpr int kDefaultLargeFileThreshold = 1;

// Every regular file of at least `threshold` bytes under the roots (hidden entries and
// package contents left out, each file once by its first path), largest first; equal
// sizes keep the walk's order; the folders are read on `pool`. The job hears "Escaneando
// <folder>..." before each root, in root order. Blocks. A cancelled search returns the files met so
// far; the list is whole only when the job was not cancelled.
std::vector<LargeFileItem> findLargeFiles(WorkPool& pool, const std::vector<std::string>& roots,
    int64_t threshold, const JobControl& job = {});

// The colour of a size: red above 500000000 bytes, orange above 100000000, the label
// colour (nothing) otherwise. Decimal bounds, not multiples of 1048576.
std::optional<SystemColor> largeFileSizeColor(int64_t size);

// "N archivos · <bytes> en total", or the text for an empty result.
std::string largeFilesSummary(const std::vector<LargeFileItem>& items);

} // namespace tidvale
