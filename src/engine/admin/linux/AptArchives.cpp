#include "engine/admin/linux/AptArchives.h"

#include "engine/fs/MountPoint.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace tidvale::linuxdesk {

FolderFd openAptArchives(const std::string& root)
{
    return openBelow(rootPrefix(root) + "/", {"var", "cache", "apt", "archives"});
}

bool isPackageFileName(const std::string& name)
{
    return name.size() > 4 && name.ends_with(".deb") && name.front() != '.';
}

bool isPartialFileName(const std::string& name)
{
    return name != "lock";
}

bool isCleanableFile(int folderFd, const std::string& name)
{
    auto st = entryStatus(folderFd, name);
    return st && S_ISREG(st->st_mode) && !isMountPoint(folderFd, name);
}

bool aptArchivesLocked(const std::string& root)
{
    FolderFd archives = openAptArchives(root);
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
    if (rest->size() == 1 && isPackageFileName(rest->front())) {
        name = rest->front();
    } else if (rest->size() == 2 && (*rest)[0] == "partial" && isPartialFileName((*rest)[1])) {
        folders.push_back("partial");
        name = (*rest)[1];
    } else {
        return false;
    }
    FolderFd folder = openBelow(rootPrefix(root) + "/", folders);
    return folder && isCleanableFile(folder.get(), name) && !aptArchivesLocked(root);
}

} // namespace tidvale::linuxdesk
