#include "engine/junk/linux/TrashFolders.h"

#include "engine/fs/MountInfo.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace tidvale::linuxdesk {
namespace {

// Kernel interfaces that never hold a user's files; looking into an automounter's
// mount point would even mount it.
bool isPseudoFileSystem(const std::string& type)
{
    static constexpr std::array<std::string_view, 20> kPseudo{"proc", "sysfs", "cgroup", "cgroup2",
        "devpts", "devtmpfs", "autofs", "debugfs", "tracefs", "securityfs", "pstore", "bpf",
        "mqueue", "hugetlbfs", "configfs", "fusectl", "binfmt_misc", "efivarfs", "nsfs",
        "rpc_pipefs"};
    return std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end();
}

std::string join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// A folder the user may treat as their trash: a real folder, not a link to one, and
// theirs, so that nobody else can plant entries for them to delete.
bool isOwnedRealFolder(const std::string& path, uid_t uid)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
}

bool isStickyRealFolder(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX);
}

} // namespace

std::string homeTrashFolder(const std::string& home, const std::string& xdgDataHome)
{
    const std::string data = !xdgDataHome.empty() && xdgDataHome.front() == '/'
        ? xdgDataHome
        : join(home, ".local/share");
    return join(data, "Trash");
}

std::vector<std::string> trashFolders(const std::string& home, const std::string& xdgDataHome,
    const std::string& mountinfoText, uid_t uid)
{
    std::vector<std::string> folders{homeTrashFolder(home, xdgDataHome)};
    const std::string id = std::to_string(uid);
    auto add = [&folders](const std::string& f) {
        if (std::find(folders.begin(), folders.end(), f) == folders.end())
            folders.push_back(f);
    };
    for (const MountEntry& m : parseMountInfo(mountinfoText)) {
        if (isPseudoFileSystem(m.fsType))
            continue;
        const std::string shared = join(m.mountPoint, ".Trash");
        if (isStickyRealFolder(shared) && isOwnedRealFolder(join(shared, id), uid))
            add(join(shared, id));
        if (isOwnedRealFolder(join(m.mountPoint, ".Trash-" + id), uid))
            add(join(m.mountPoint, ".Trash-" + id));
    }
    return folders;
}

} // namespace tidvale::linuxdesk
