#include "engine/admin/AdminPolicy.h"

namespace tidvale {
namespace {

bool strictlyInside(const std::string& path, const std::string& folder)
{
    const std::string prefix = folder + "/";
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string standardizedPath(const std::string& path, const std::string& home)
{
    std::string p = path;
    if (p == "~" || p.starts_with("~/"))
        p = home + p.substr(1);
    const bool absolute = !p.empty() && p.front() == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find('/', start);
        if (end == std::string::npos)
            end = p.size();
        std::string part = p.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '/';
        out += parts[i];
    }
    return out;
}

std::optional<std::string> adminAreaOf(const std::vector<AdminArea>& areas, const std::string& path)
{
    // A path in any other form ("a/../b", "a//b", "~/a") is refused outright: what it
    // names is not what it reads, and the helper must judge the path it will remove.
    if (standardizedPath(path, {}) != path)
        return std::nullopt;
    for (const auto& area : areas) {
        if (strictlyInside(path, area.folder) && (!area.accepts || area.accepts(path)))
            return area.folder;
    }
    return std::nullopt;
}

bool isAdminDeletable(const std::vector<AdminArea>& areas, const std::string& path)
{
    return adminAreaOf(areas, path).has_value();
}

} // namespace tidvale
