// libFuzzer entry for the property-list reader: any input must come back as a
// dictionary or as nothing, without a crash or a read outside the buffer (run under
// the address and undefined-behaviour sanitizers, see scripts/fuzz-plist.sh).
#include "platform/PropertyList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto dict = tidvale::platform::parsePropertyList(bytes)) {
        size_t total = 0;
        for (const auto& [key, value] : *dict)
            total += key.size() + (value ? value->size() : 0);
        // Decoded text may grow (Latin-1 and UTF-16 to UTF-8) but stays bounded.
        if (total > 8 * size + 65536 * 4)
            __builtin_trap();
    }
    return 0;
}
