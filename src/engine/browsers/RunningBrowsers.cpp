#include "engine/browsers/RunningBrowsers.h"

#include "engine/fs/PathText.h"

#include <algorithm>

namespace tidvale {

std::optional<std::string> runningBrowser(const Context& context, ScanCategory c)
{
    if (!isBrowserCategory(c) || !context.places.browsers->isRunning(context, c))
        return std::nullopt;
    return std::string(displayName(c));
}

std::optional<std::string> runningBrowserHolding(
    const Context& context, const std::string& path, const std::vector<BrowserDataRoot>& roots)
{
    std::vector<ScanCategory> touched;
    for (const auto& root : roots) {
        const bool overlaps
            = isSameOrInside(path, root.folder) || isSameOrInside(root.folder, path);
        if (overlaps && std::find(touched.begin(), touched.end(), root.category) == touched.end())
            touched.push_back(root.category);
    }
    for (ScanCategory c : touched)
        if (auto name = runningBrowser(context, c))
            return name;
    return std::nullopt;
}

} // namespace tidvale
