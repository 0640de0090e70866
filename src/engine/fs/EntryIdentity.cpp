#include "engine/fs/EntryIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

#include <cerrno>
#include <string>

namespace tidvale {

bool examineEntry(int dirFd, const char* name, EntryIdentity& id)
{
#ifdef __linux__
    struct statx sx { };
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (*name ? 0 : AT_EMPTY_PATH);
    if (statx(dirFd, name, flags,
            STATX_TYPE | STATX_MODE | STATX_UID | STATX_INO | STATX_MNT_ID | STATX_SIZE, &sx)
        != 0)
        return false;
    id.mode = sx.stx_mode;
    id.uid = sx.stx_uid;
    id.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    id.ino = sx.stx_ino;
    id.size = static_cast<int64_t>(sx.stx_size);
    id.mount = (sx.stx_mask & STATX_MNT_ID) ? sx.stx_mnt_id : 0;
    id.mountRoot = (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        && (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
    return true;
#else
    struct stat st { };
    if ((*name ? fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) : fstat(dirFd, &st)) != 0)
        return false;
    id.mode = st.st_mode;
    id.uid = st.st_uid;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    id.size = st.st_size;
    return true;
#endif
}

bool grantOwnerAccess(int parentFd, const char* name, const EntryIdentity& seen)
{
    if (seen.uid != geteuid() || !S_ISDIR(seen.mode))
        return false;
#ifdef __linux__
    // An O_PATH descriptor needs no rights on the folder and names exactly the entry
    // examined; its /proc link leads to that inode, never through a path again.
    const int fd = openat(parentFd, name, O_PATH | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    EntryIdentity now;
    bool ok = examineEntry(fd, "", now) && now.sameObject(seen) && now.uid == geteuid();
    if (ok) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        ok = chmod(self.c_str(), (now.mode & 07777) | S_IRWXU) == 0;
    }
    const int err = errno;
    close(fd);
    errno = err;
    return ok;
#else
    return fchmodat(parentFd, name, (seen.mode & 07777) | S_IRWXU, AT_SYMLINK_NOFOLLOW) == 0;
#endif
}

} // namespace tidvale
