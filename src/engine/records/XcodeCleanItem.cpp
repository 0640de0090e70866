#include "engine/records/XcodeCleanItem.h"

#include <algorithm>

namespace tidvale {

int64_t xcodeBytesOnce(const std::vector<XcodeCleanItem>& items)
{
    int64_t total = 0;
    for (const auto& item : items) {
        const bool nested = std::any_of(items.begin(), items.end(), [&](const XcodeCleanItem& o) {
            return o.size > 0 && o.path.size() < item.path.size()
                && item.path.compare(0, o.path.size(), o.path) == 0
                && item.path[o.path.size()] == '/';
        });
        if (!nested)
            total += item.size;
    }
    return total;
}

} // namespace tidvale
