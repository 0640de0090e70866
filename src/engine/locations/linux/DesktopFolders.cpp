#include "engine/locations/linux/DesktopFolders.h"

namespace tidvale::linuxdesk {
namespace {

std::string withoutTrailingSeparators(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

std::string xdgFolder(std::string_view value, const std::string& fallback)
{
    if (value.empty() || value.front() != '/')
        return fallback;
    return withoutTrailingSeparators(value);
}

} // namespace

DesktopFolders desktopFolders(const std::string& home, uid_t uid, std::string_view xdgCacheHome,
    std::string_view xdgConfigHome, std::string_view xdgDataHome)
{
    DesktopFolders f;
    f.home = withoutTrailingSeparators(home);
    const std::string base = f.home == "/" ? "" : f.home;
    f.cacheHome = xdgFolder(xdgCacheHome, base + "/.cache");
    f.configHome = xdgFolder(xdgConfigHome, base + "/.config");
    f.dataHome = xdgFolder(xdgDataHome, base + "/.local/share");
    f.uid = uid;
    return f;
}

} // namespace tidvale::linuxdesk
