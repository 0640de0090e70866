#include "engine/fs/MountPoint.h"

#include "engine/fs/EntryIdentity.h"

namespace tidvale {

bool isMountPoint(int parentFd, const std::string& name)
{
    EntryIdentity entry, parent;
    if (!examineEntry(parentFd, name.c_str(), entry) || !examineEntry(parentFd, "", parent))
        return true;
    return !entry.onVolumeOf(parent);
}

} // namespace tidvale
