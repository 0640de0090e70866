#include "engine/fs/HeldFiles.h"

#include "engine/fs/FolderFd.h"

#include <fcntl.h>

#include <cctype>

namespace tidvale {

HeldFiles HeldFiles::read(const std::string& proc)
{
    HeldFiles held;
    FolderFd procFd = openGivenFolder(proc);
    if (!procFd)
        return held;
    for (const auto& pid : entryNames(procFd.get())) {
        if (pid.empty() || !std::isdigit(static_cast<unsigned char>(pid.front())))
            continue;
        FolderFd fds = openBelow(procFd.get(), {pid, "fd"});
        if (!fds)
            continue; // another user's process, or one that just ended
        for (const auto& fd : entryNames(fds.get())) {
            // Following the descriptor's link reaches the open file itself, even one
            // deleted or renamed since it was opened.
            struct stat st { };
            if (::fstatat(fds.get(), fd.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode))
                held.files_.insert({st.st_dev, st.st_ino});
        }
    }
    return held;
}

} // namespace tidvale
