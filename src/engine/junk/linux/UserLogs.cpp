#include "engine/junk/linux/UserLogs.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

namespace tidvale::linuxdesk {
namespace {

bool isUsersFile(int folderFd, const std::string& name, uid_t uid)
{
    auto st = entryStatus(folderFd, name);
    return st && S_ISREG(st->st_mode) && st->st_uid == uid && !isMountPoint(folderFd, name);
}

} // namespace

std::vector<JunkCandidate> listUserLogs(const DesktopFolders& folders)
{
    std::vector<JunkCandidate> out;
    if (FolderFd home = openGivenFolder(folders.home)) {
        const std::string name = ".xsession-errors.old";
        if (isUsersFile(home.get(), name, folders.uid))
            out.push_back({name, folders.home + "/" + name});
    }
    if (FolderFd xorg = openBelow(folders.dataFolder(), {"xorg"})) {
        for (const auto& name : entryNames(xorg.get())) {
            if (name.size() > 8 && name.ends_with(".log.old")
                && isUsersFile(xorg.get(), name, folders.uid))
                out.push_back({name, folders.dataHome + "/xorg/" + name});
        }
    }
    return out;
}

} // namespace tidvale::linuxdesk
