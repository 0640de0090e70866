#include "engine/junk/linux/SystemCaches.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

#include <fcntl.h>
#include <unistd.h>

namespace tidvale::linuxdesk {
namespace {

bool isPackageFile(const std::string& name)
{
    return name.size() > 4 && name.ends_with(".deb") && name.front() != '.';
}

bool isPartialFile(const std::string& name)
{
    return name != "lock";
}

bool isCleanableFile(int folderFd, const std::string& name)
{
    auto st = entryStatus(folderFd, name);
    return st && S_ISREG(st->st_mode) && !isMountPoint(folderFd, name);
}

} // namespace

bool aptArchivesLocked(const std::string& root)
{
    FolderFd archives = openBelow(rootPrefix(root) + "/", {"var", "cache", "apt", "archives"});
    if (!archives)
        return false;
    int fd = ::openat(archives.get(), "lock", O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct flock probe { };
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

RemoveOutcome removeSystemCache(const std::string& root, const std::string& path)
{
    FolderFd archives = openBelow(rootPrefix(root) + "/", {"var", "cache", "apt", "archives"});
    const int fd = archives
        ? ::openat(archives.get(), "lock", O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)
        : -1;
    bool busy = false;
    if (fd >= 0) {
        struct flock lock { };
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        busy = ::fcntl(fd, F_SETLK, &lock) != 0;
    } else {
        busy = aptArchivesLocked(root);
    }
    // Closing the descriptor after the removal lets the lock go.
    RemoveOutcome out = busy ? RemoveOutcome{kErrorPackageManagerBusy, path} : removeItem(path);
    if (fd >= 0)
        ::close(fd);
    return out;
}

std::vector<JunkCandidate> listSystemCaches(const std::string& root)
{
    std::vector<JunkCandidate> out;
    if (aptArchivesLocked(root))
        return out;
    const std::string archivesPath = rootPrefix(root) + "/var/cache/apt/archives";
    FolderFd archives = openBelow(rootPrefix(root) + "/", {"var", "cache", "apt", "archives"});
    if (!archives)
        return out;
    for (const auto& name : entryNames(archives.get())) {
        if (isPackageFile(name) && isCleanableFile(archives.get(), name))
            out.push_back({name, archivesPath + "/" + name});
    }
    if (FolderFd partial = openBelow(archives.get(), {"partial"})) {
        for (const auto& name : entryNames(partial.get())) {
            if (isPartialFile(name) && isCleanableFile(partial.get(), name))
                out.push_back({"partial/" + name, archivesPath + "/partial/" + name});
        }
    }
    return out;
}

bool isSystemCacheDeletable(const std::string& root, const std::string& path)
{
    const std::string archivesPath = rootPrefix(root) + "/var/cache/apt/archives";
    if (!isPlainAbsolutePath(path) || !isStrictlyInside(path, archivesPath))
        return false;
    auto rest = relativeComponents(std::string_view(path).substr(archivesPath.size() + 1));
    if (!rest)
        return false;
    std::vector<std::string> folders = {"var", "cache", "apt", "archives"};
    std::string name;
    if (rest->size() == 1 && isPackageFile(rest->front())) {
        name = rest->front();
    } else if (rest->size() == 2 && (*rest)[0] == "partial" && isPartialFile((*rest)[1])) {
        folders.push_back("partial");
        name = (*rest)[1];
    } else {
        return false;
    }
    FolderFd folder = openBelow(rootPrefix(root) + "/", folders);
    return folder && isCleanableFile(folder.get(), name) && !aptArchivesLocked(root);
}

} // namespace tidvale::linuxdesk
