#include "engine/junk/linux/SystemLogs.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

#include <utility>

namespace tidvale::linuxdesk {
namespace {

void addRotatedLogs(const std::string& root, const LogClock& clock, const HeldFiles& held,
    std::vector<JunkCandidate>& out)
{
    const std::string logPath = root + "/var/log";
    struct Pending {
        FolderFd fd;
        std::string relative; // "" for /var/log itself, else "apt" or "a/b"
    };
    std::vector<Pending> stack;
    if (FolderFd top = openBelow(root + "/", {"var", "log"}))
        stack.push_back({std::move(top), ""});
    while (!stack.empty()) {
        Pending folder = std::move(stack.back());
        stack.pop_back();
        const std::string prefix = folder.relative.empty() ? "" : folder.relative + "/";
        std::vector<std::string> names = entryNames(folder.fd.get());
        // Pushed in reverse so that folders are visited in listing order.
        std::vector<Pending> below;
        for (const auto& name : names) {
            auto st = entryStatus(folder.fd.get(), name);
            if (!st || isMountPoint(folder.fd.get(), name))
                continue;
            if (S_ISDIR(st->st_mode)) {
                if (FolderFd sub = openBelow(folder.fd.get(), {name}))
                    below.push_back({std::move(sub), prefix + name});
            } else if (S_ISREG(st->st_mode) && isRotatedLogName(name)
                && !isLiveLog(*st, name, clock, held)) {
                out.push_back({prefix + name, logPath + "/" + prefix + name});
            }
        }
        for (auto it = below.rbegin(); it != below.rend(); ++it)
            stack.push_back(std::move(*it));
    }
}

} // namespace

std::vector<JunkCandidate> listSystemLogs(const std::string& root, const LogClock& clock)
{
    const std::string prefix = rootPrefix(root);
    const HeldFiles held = HeldFiles::read();
    std::vector<JunkCandidate> out;
    addRotatedLogs(prefix, clock, held, out);
    for (const auto& crash : crashFolders()) {
        FolderFd folder = openBelow(prefix + "/", crash.components);
        if (!folder)
            continue;
        const std::string shown = joinedPath("", crash.components);
        for (const auto& name : entryNames(folder.get())) {
            if (crash.accepts(name) && isFinishedFile(folder.get(), name, clock, held))
                out.push_back({shown + "/" + name, prefix + shown + "/" + name});
        }
    }
    return out;
}

} // namespace tidvale::linuxdesk
