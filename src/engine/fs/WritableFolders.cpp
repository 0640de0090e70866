#include "engine/fs/WritableFolders.h"

#include "engine/fs/EntryIdentity.h"
#include "engine/fs/PathText.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tidvale {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Each level keeps its folder open while its subfolders are visited.
constexpr size_t kMaxDepth = 256;

struct Level {
    int fd = -1;
    std::vector<std::string> folders; // subfolders not visited yet
};

// The folder `name` of `parentFd`, opened up to its owner first when it lacks a right,
// and opened only if it is still the folder examined and on the tree's volume.
int openFolder(
    int parentFd, const char* name, const EntryIdentity& volume, bool isItem, bool& complete)
{
    EntryIdentity id;
    if (!examineEntry(parentFd, name, id) || !S_ISDIR(id.mode))
        return -1; // gone, or a link or file: nothing to open up
    if (!isItem && !id.onVolumeOf(volume))
        return -1;
    if ((id.mode & S_IRWXU) != S_IRWXU
        && (id.uid != geteuid() || !grantOwnerAccess(parentFd, name, id)))
        complete = false;
    const int fd = openat(parentFd, name, kDirFlags);
    EntryIdentity now;
    if (fd >= 0 && examineEntry(fd, "", now) && now.sameObject(id))
        return fd;
    if (fd >= 0)
        close(fd);
    complete = false;
    return -1;
}

// The subfolders of an open folder, by name; the folder's descriptor stays open.
std::vector<std::string> subfolders(int fd)
{
    std::vector<std::string> names;
    const int copy = dup(fd);
    DIR* d = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!d) {
        if (copy >= 0)
            close(copy);
        return names;
    }
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (e->d_type == DT_DIR || e->d_type == DT_UNKNOWN)
            names.push_back(name);
    }
    closedir(d);
    return names;
}

} // namespace

bool makeFoldersWritable(const std::string& path)
{
    const int parentFd = open(parentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return false;
    bool complete = true;
    EntryIdentity volume;
    std::vector<Level> levels;
    const std::string name = lastPathComponent(path);
    const int top = openFolder(parentFd, name.c_str(), volume, true, complete);
    close(parentFd);
    if (top < 0)
        return false;
    examineEntry(top, "", volume);
    levels.push_back({top, subfolders(top)});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.folders.empty()) {
            close(level.fd);
            levels.pop_back();
            continue;
        }
        const std::string next = std::move(level.folders.back());
        level.folders.pop_back();
        if (levels.size() > kMaxDepth) {
            complete = false;
            continue;
        }
        const int fd = openFolder(level.fd, next.c_str(), volume, false, complete);
        if (fd >= 0)
            levels.push_back({fd, subfolders(fd)});
    }
    return complete;
}

} // namespace tidvale
