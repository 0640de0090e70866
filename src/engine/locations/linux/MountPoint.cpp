#include "engine/locations/linux/MountPoint.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tidvale::linuxdesk {

bool isMountPoint(int parentFd, const std::string& name)
{
#ifdef __linux__
    // No automount: asking about an autofs trigger must not mount anything.
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
    struct statx entry { };
    if (::statx(parentFd, name.c_str(), flags, STATX_INO | STATX_MNT_ID, &entry) != 0)
        return true;
    if (entry.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (entry.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    struct statx parent { };
    if (::statx(parentFd, "", AT_EMPTY_PATH | AT_NO_AUTOMOUNT, STATX_INO | STATX_MNT_ID, &parent)
        != 0)
        return true;
    if ((entry.stx_mask & STATX_MNT_ID) && (parent.stx_mask & STATX_MNT_ID))
        return entry.stx_mnt_id != parent.stx_mnt_id;
    return entry.stx_dev_major != parent.stx_dev_major
        || entry.stx_dev_minor != parent.stx_dev_minor;
#else
    struct stat entry {
    }, parent{};
    if (::fstatat(parentFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0
        || ::fstat(parentFd, &parent) != 0)
        return true;
    return entry.st_dev != parent.st_dev;
#endif
}

} // namespace tidvale::linuxdesk
