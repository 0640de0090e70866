#pragma once

#include <cstddef>
#include <cstdint>

namespace tidvale {

// A fast 64-bit hash for the duplicate finder's quick key. It only decides which
// files are worth reading in full: files that differ may share it (they are then told
// apart by their SHA-256), files that are equal always share it. Several times faster
// than SHA-256, which matters because most files of a home folder share their size
// with another file and so all get a quick key.
uint64_t quickHash(const void* data, size_t length);

} // namespace tidvale
