#include "engine/apps/mac/BundleInfo.h"

#include "platform/PropertyList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace tidvale {
namespace {

bool isRegularFile(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size()
        && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The icon the bundle names, else its "AppIcon.icns", else the first .icns by name.
std::string findIcon(const std::string& resources, std::string named)
{
    // A name is a file in Resources, never a path that could lead elsewhere.
    if (!named.empty() && named.find('/') == std::string::npos && named != "." && named != "..") {
        if (named.find('.') == std::string::npos)
            named += ".icns";
        if (isRegularFile(resources + "/" + named))
            return resources + "/" + named;
    }
    if (isRegularFile(resources + "/AppIcon.icns"))
        return resources + "/AppIcon.icns";
    std::vector<std::string> icns;
    if (DIR* d = ::opendir(resources.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (endsWith(name, ".icns") && name[0] != '.')
                icns.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(icns.begin(), icns.end());
    for (const auto& name : icns)
        if (isRegularFile(resources + "/" + name))
            return resources + "/" + name;
    return {};
}

} // namespace

BundleInfo readBundleInfo(const std::string& bundlePath)
{
    struct stat st { };
    if (::stat(bundlePath.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    // A macOS bundle keeps its dictionary and resources in Contents; a flat bundle at
    // its top.
    std::string contents = bundlePath + "/Contents";
    if (::stat(contents.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        contents = bundlePath;
    const auto info = platform::readPropertyListFile(contents + "/Info.plist");
    BundleInfo result;
    result.version = platform::plistText(info, "CFBundleShortVersionString");
    result.bundleID = platform::plistText(info, "CFBundleIdentifier");
    result.iconFile
        = findIcon(contents + "/Resources", platform::plistText(info, "CFBundleIconFile"));
    return result;
}

} // namespace tidvale
