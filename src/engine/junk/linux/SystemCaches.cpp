#include "engine/junk/linux/SystemCaches.h"

#include <fcntl.h>
#include <unistd.h>

namespace tidvale::linuxdesk {

RemoveOutcome removeSystemCache(const std::string& root, const std::string& path)
{
    FolderFd archives = openAptArchives(root);
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
    FolderFd archives = openAptArchives(root);
    if (!archives)
        return out;
    for (const auto& name : entryNames(archives.get())) {
        if (isPackageFileName(name) && isCleanableFile(archives.get(), name))
            out.push_back({name, archivesPath + "/" + name});
    }
    if (FolderFd partial = openBelow(archives.get(), {"partial"})) {
        for (const auto& name : entryNames(partial.get())) {
            if (isPartialFileName(name) && isCleanableFile(partial.get(), name))
                out.push_back({"partial/" + name, archivesPath + "/partial/" + name});
        }
    }
    return out;
}

} // namespace tidvale::linuxdesk
