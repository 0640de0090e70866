#include "engine/system/linux/VolumeName.h"

#include "engine/format/TextLines.h"
#include "engine/fs/PathText.h"

#include <dirent.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

#include <climits>
#include <cstdlib>

namespace tidvale::linuxdesk {
namespace {

std::optional<std::string> resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    if (!::realpath(path.c_str(), buffer))
        return std::nullopt;
    return std::string(buffer);
}

// udev writes every byte outside a safe set as "\xNN" in the link's name.
std::string udevUnescape(const std::string& name)
{
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x'
            && hexDigitValue(name[i + 2]) >= 0 && hexDigitValue(name[i + 3]) >= 0) {
            out += static_cast<char>(hexDigitValue(name[i + 2]) * 16 + hexDigitValue(name[i + 3]));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

} // namespace

std::optional<MountEntry> mountHolding(
    const std::vector<MountEntry>& mounts, const std::string& path, const std::string& device)
{
    for (bool sameDevice : {true, false}) {
        if (sameDevice && device.empty())
            continue;
        const MountEntry* best = nullptr;
        for (const auto& m : mounts) {
            if ((sameDevice && m.device != device) || !isSameOrInside(path, m.mountPoint))
                continue;
            if (!best || m.mountPoint.size() >= best->mountPoint.size())
                best = &m;
        }
        if (best)
            return *best;
    }
    return std::nullopt;
}

std::optional<std::string> deviceLabel(const std::string& root, const std::string& source)
{
    if (source.empty() || source.front() != '/')
        return std::nullopt; // "tmpfs", "overlay": no device to carry a label
    const auto device = resolved(root + source);
    if (!device)
        return std::nullopt;
    const std::string folder = root + "/dev/disk/by-label";
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return std::nullopt;
    std::optional<std::string> label;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (resolved(folder + "/" + name) == device) {
            label = udevUnescape(name);
            break;
        }
    }
    ::closedir(d);
    return label;
}

std::string homeVolumeName(
    const std::string& root, const std::string& home, const std::string& mountinfoText)
{
    const std::string path = resolved(home).value_or(home);
    std::string device;
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0)
        device = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
    const auto mount = mountHolding(parseMountInfo(mountinfoText), path, device);
    if (!mount)
        return "Sistema";
    if (auto label = deviceLabel(root, mount->source); label && !label->empty())
        return *label;
    return mount->mountPoint == "/" ? "Sistema" : mount->mountPoint;
}

} // namespace tidvale::linuxdesk
