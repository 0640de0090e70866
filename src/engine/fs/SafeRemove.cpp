#include "engine/fs/SafeRemove.h"

#include "engine/fs/EntryIdentity.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tidvale {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Folder streams kept open at once; deeper levels are closed and reopened through
// "..", so any depth works within the descriptor limit.
constexpr size_t kOpenLevels = 200;
constexpr int kAttempts = 8;

thread_local std::function<void(const std::string&)> tRemoveHook;

struct Level {
    int fd = -1;
    DIR* stream = nullptr; // null while closed to save descriptors
    dev_t dev = 0;
    ino_t ino = 0;
    // The name in the parent level. Only names are kept: a full path per level would
    // make memory grow with the square of the depth.
    std::string name;
    bool repaired = false; // its owner's rights were already given back once
};

bool isDotOrDotDot(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

void closeLevel(Level& l)
{
    if (l.stream)
        closedir(l.stream);
    else if (l.fd >= 0)
        close(l.fd);
    l.stream = nullptr;
    l.fd = -1;
}

// Removes one item below an open parent folder. The parent is level 0: it is only
// read from, never emptied, repaired or closed. Every deeper level is a folder of the
// item, entered after checking that it is the folder examined and on the parent's
// mount.
class TreeRemover {
public:
    TreeRemover(int parentFd, const EntryIdentity& volume, const std::string& displayPath)
        : volume_(volume)
        , displayPath_(displayPath)
    {
        Level parent;
        parent.fd = parentFd;
        parent.repaired = true;
        levels_.push_back(std::move(parent));
    }

    ~TreeRemover()
    {
        for (size_t i = 1; i < levels_.size(); ++i)
            closeLevel(levels_[i]);
    }

    RemoveOutcome run(const std::string& name)
    {
        if (auto out = removeEntry(name.c_str()); !out.ok())
            return out;
        while (levels_.size() > 1) {
            Level& cur = levels_.back();
            if (!cur.stream) {
                cur.stream = fdopendir(cur.fd);
                if (!cur.stream)
                    return fail(errno, levels_.size() - 1, nullptr);
            }
            errno = 0;
            dirent* e = readdir(cur.stream);
            if (!e) {
                if (errno != 0)
                    return fail(errno, levels_.size() - 1, nullptr);
                if (auto out = leaveLevel(); !out.ok())
                    return out;
                continue;
            }
            if (isDotOrDotDot(e->d_name))
                continue;
            if (auto out = removeEntry(e->d_name); !out.ok())
                return out;
        }
        return {0, {}, freed_};
    }

private:
    // Unlinks a non-folder, or enters a folder (pushing a level) to empty it.
    RemoveOutcome removeEntry(const char* name)
    {
        const size_t depth = levels_.size() - 1;
        const bool isItem = depth == 0;
        bool granted = false;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int dirFd = levels_[depth].fd;
            EntryIdentity id;
            if (!examineEntry(dirFd, name, id)) {
                const int err = errno;
                if (err == ENOENT && !isItem)
                    return {};
                if (err == EACCES && repair(depth))
                    continue;
                return fail(err, depth, name);
            }
            if (!id.onVolumeOf(volume_))
                return fail(isItem ? kErrorMountPoint : EXDEV, depth, name);
            if (!S_ISDIR(id.mode)) {
                if (unlinkat(dirFd, name, 0) == 0) {
                    freed_ += id.size;
                    RemovalTally::unlinked(id.size);
                    return {};
                }
                if (errno == ENOENT && !isItem)
                    return {};
                const int err = errno;
                if (err == EACCES && repair(depth))
                    continue;
                if (err == EISDIR || err == EPERM) {
                    // Linux answers EPERM for a folder too; look again in case it was
                    // swapped in, else the refusal is real.
                    EntryIdentity again;
                    if (examineEntry(dirFd, name, again) && S_ISDIR(again.mode))
                        continue;
                }
                return fail(err, depth, name);
            }
            if (tRemoveHook)
                tRemoveHook(name);
            const int fd = openat(dirFd, name, kDirFlags);
            if (fd >= 0) {
                EntryIdentity now;
                int err = 0;
                if (!examineEntry(fd, "", now))
                    err = errno;
                else if (!now.sameObject(id))
                    err = EAGAIN; // another folder was put there: leave it alone
                else if (!now.onVolumeOf(volume_))
                    err = isItem ? kErrorMountPoint : EXDEV;
                if (err != 0) {
                    close(fd);
                    return fail(err, depth, name);
                }
                enterLevel(fd, id, name);
                return {};
            }
            const int err = errno;
            if (err == ENOENT && !isItem)
                return {};
            if (err == ELOOP || err == ENOTDIR)
                continue; // replaced by a link or a file meanwhile: examine it anew
            if (err == EACCES) {
                if (repair(depth))
                    continue;
                // A folder that cannot be read may still be empty, and one of the
                // user's own can be opened up to its owner.
                if (unlinkat(dirFd, name, AT_REMOVEDIR) == 0 || (errno == ENOENT && !isItem))
                    return {};
                if ((errno == ENOTEMPTY || errno == EEXIST) && !granted
                    && grantOwnerAccess(dirFd, name, id)) {
                    granted = true;
                    continue;
                }
            }
            return fail(err, depth, name);
        }
        return fail(EAGAIN, depth, name);
    }

    void enterLevel(int fd, const EntryIdentity& id, const char* name)
    {
        Level level;
        level.fd = fd;
        level.dev = id.dev;
        level.ino = id.ino;
        level.name = name;
        levels_.push_back(std::move(level));
        if (levels_.size() > kOpenLevels + 1)
            closeLevel(levels_[levels_.size() - kOpenLevels - 1]);
    }

    // The current folder is empty: go back to its parent and remove it there.
    RemoveOutcome leaveLevel()
    {
        Level child = std::move(levels_.back());
        levels_.pop_back();
        const size_t depth = levels_.size() - 1;
        Level& parent = levels_.back();
        if (parent.fd < 0) {
            const int fd = openat(child.fd, "..", kDirFlags);
            EntryIdentity id;
            if (fd < 0 || !examineEntry(fd, "", id) || id.dev != parent.dev || id.ino != parent.ino
                || !id.onVolumeOf(volume_)) {
                if (fd >= 0)
                    close(fd);
                closeLevel(child);
                return fail(EAGAIN, depth, nullptr); // the tree was moved under us
            }
            parent.fd = fd;
        }
        closeLevel(child);
        for (;;) {
            if (unlinkat(parent.fd, child.name.c_str(), AT_REMOVEDIR) == 0
                || (errno == ENOENT && depth > 0))
                return {};
            const int err = errno;
            if (err == EACCES && repair(depth))
                continue;
            return fail(err, depth, child.name.c_str());
        }
    }

    // Gives the owner back full rights on a folder of the item, once, when they lack
    // them: without it the user's own unreadable or read-only junk would stay.
    bool repair(size_t depth)
    {
        Level& l = levels_[depth];
        if (l.repaired || l.fd < 0)
            return false;
        l.repaired = true;
        struct stat st { };
        if (fstat(l.fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & S_IRWXU) == S_IRWXU)
            return false;
        return fchmod(l.fd, (st.st_mode & 07777) | S_IRWXU) == 0;
    }

    // The path of `leaf` in the folder at `depth` (the folder itself without a leaf),
    // built only when an error is reported.
    RemoveOutcome fail(int err, size_t depth, const char* leaf) const
    {
        if (depth == 0)
            return {err, displayPath_, freed_};
        std::string path = displayPath_;
        for (size_t i = 2; i <= depth; ++i)
            path += "/" + levels_[i].name;
        if (leaf)
            path += std::string("/") + leaf;
        return {err, std::move(path), freed_};
    }

    std::vector<Level> levels_;
    EntryIdentity volume_;
    int64_t freed_ = 0;
    const std::string displayPath_;
};

std::string parentOf(const std::string& path, std::string& name)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    auto slash = p.rfind('/');
    if (slash == std::string::npos) {
        name = p;
        return ".";
    }
    name = p.substr(slash + 1);
    return slash == 0 ? "/" : p.substr(0, slash);
}

bool validName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

RemoveOutcome removeItemAt(int parentFd, const std::string& name, const std::string& displayPath)
{
    if (!validName(name))
        return {EINVAL, displayPath};
    // The volume is the parent's: the item must lie on it, and so must all it holds.
    EntryIdentity volume;
    if (!examineEntry(parentFd, "", volume))
        return {errno, displayPath};
    TreeRemover remover(parentFd, volume, displayPath);
    return remover.run(name);
}

RemoveOutcome removeItem(const std::string& path)
{
    std::string name;
    const std::string parent = parentOf(path, name);
    int parentFd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return {errno, path};
    RemoveOutcome out = removeItemAt(parentFd, name, path);
    close(parentFd);
    return out;
}

RemoveOutcome removeItemBeneath(const std::string& base, const std::string& path)
{
    if (base.empty() || base.front() != '/' || path.size() <= base.size()
        || path.compare(0, base.size(), base) != 0 || path[base.size()] != '/')
        return {EINVAL, path};
    std::vector<std::string> parts;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (!validName(part))
            return {EINVAL, path};
        parts.push_back(std::move(part));
        start = end + 1;
    }
    // Components of `base` itself are the system's layout and may cross mounts; below
    // it the walk stays on base's mount, so a bind mount placed inside cannot lead it
    // to a folder that is nowhere on the allow-list.
    size_t baseParts = 0;
    for (char c : base)
        baseParts += c == '/';
    int fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {errno, path};
    EntryIdentity baseVolume;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        int next = openat(fd, parts[i].c_str(), kDirFlags);
        int err = errno;
        close(fd);
        if (next < 0)
            return {err, path};
        fd = next;
        EntryIdentity here;
        if (!examineEntry(fd, "", here)) {
            err = errno;
            close(fd);
            return {err, path};
        }
        if (i + 1 == baseParts)
            baseVolume = here;
        else if (i + 1 > baseParts && !here.onVolumeOf(baseVolume)) {
            close(fd);
            return {kErrorOtherVolume, path};
        }
    }
    RemoveOutcome out = removeItemAt(fd, parts.back(), path);
    close(fd);
    return out;
}

void setRemoveHookForTesting(std::function<void(const std::string& name)> hook)
{
    tRemoveHook = std::move(hook);
}

namespace {
thread_local RemovalTally* currentTally = nullptr;
} // namespace

RemovalTally::RemovalTally(Sink sink)
    : sink_(std::move(sink))
    , outer_(currentTally)
{
    currentTally = this;
}

RemovalTally::~RemovalTally()
{
    currentTally = outer_;
}

void RemovalTally::unlinked(int64_t bytes)
{
    RemovalTally* tally = currentTally;
    if (!tally || !tally->sink_)
        return;
    tally->sink_(++tally->entries_, tally->bytes_ += bytes);
}

} // namespace tidvale
