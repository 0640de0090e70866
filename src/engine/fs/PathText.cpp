#include "engine/fs/PathText.h"

namespace tidvale {
namespace {

std::string withoutTrailingSeparators(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
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

} // namespace tidvale
