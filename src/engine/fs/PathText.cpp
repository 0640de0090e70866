#include "engine/fs/PathText.h"

#include <algorithm>
#include <vector>

namespace tidvale {
namespace {

std::string withoutTrailingSeparators(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

std::vector<std::string> components(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

} // namespace

std::string lastPathComponent(const std::string& path)
{
    const std::string p = withoutTrailingSeparators(path);
    const auto slash = p.rfind('/');
    return slash == std::string::npos || p == "/" ? p : p.substr(slash + 1);
}

std::string parentFolder(const std::string& path)
{
    const std::string p = withoutTrailingSeparators(path);
    const auto slash = p.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : p.substr(0, slash);
}

bool isSameOrInside(const std::string& path, const std::string& folder)
{
    const auto inner = components(path);
    const auto outer = components(folder);
    return inner.size() >= outer.size() && std::equal(outer.begin(), outer.end(), inner.begin());
}

} // namespace tidvale
