#pragma once

#include <cstdint>
#include <string>

namespace tidvale {

// Spanish byte texts in the three forms the screens use. Every size shown to the
// user comes from one of these.

// General form: powers of 1000, every unit from bytes up ("1,5 MB", "340 bytes").
std::string formatFileBytes(int64_t bytes);

// Memory form: powers of 1024 ("8 GB" for 8 GiB).
std::string formatMemoryBytes(uint64_t bytes);

// Junk form: powers of 1000 limited to KB, MB and GB. A non-empty item never reads as
// nothing: 1 to 999 bytes are "1 KB"; sizes past 1000 GB stay in GB.
std::string formatJunkBytes(int64_t bytes);

} // namespace tidvale
