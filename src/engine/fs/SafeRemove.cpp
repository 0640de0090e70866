#include "engine/fs/SafeRemove.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tidvale {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Folder streams kept open at once; deeper levels are closed and reopened through
// "..", so any depth works within the descriptor limit.
constexpr size_t kOpenLevels = 200;

struct Level {
    int fd = -1;
    DIR* stream = nullptr; // null while closed to save descriptors
    dev_t dev = 0;
    ino_t ino = 0;
    std::string name; // name in the parent level
    std::string path; // for messages
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

// Opens `name` in `parentFd` as a folder without following a link, and checks it is
// the folder that was examined, on the same file system as the item.
int openFolder(int parentFd, const char* name, const struct stat& seen, dev_t treeDev, int& err)
{
    if (seen.st_dev != treeDev) {
        err = EXDEV;
        return -1;
    }
    int fd = openat(parentFd, name, kDirFlags);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat now { };
    if (fstat(fd, &now) != 0 || now.st_dev != seen.st_dev || now.st_ino != seen.st_ino) {
        close(fd);
        err = EAGAIN; // swapped while we looked: the caller looks again
        return -1;
    }
    return fd;
}

class TreeRemover {
public:
    TreeRemover(int topFd, const struct stat& top, std::string name, std::string path)
    {
        levels_.push_back(
            Level{topFd, nullptr, top.st_dev, top.st_ino, std::move(name), std::move(path)});
        treeDev_ = top.st_dev;
    }

    ~TreeRemover()
    {
        for (auto& l : levels_)
            closeLevel(l);
    }

    // Empties the top folder; the caller removes the folder itself.
    RemoveOutcome empty()
    {
        while (!levels_.empty()) {
            Level& cur = levels_.back();
            if (!cur.stream) {
                cur.stream = fdopendir(cur.fd);
                if (!cur.stream)
                    return fail(errno, cur.path);
            }
            errno = 0;
            dirent* e = readdir(cur.stream);
            if (!e) {
                if (errno != 0)
                    return fail(errno, cur.path);
                if (levels_.size() == 1)
                    return {};
                if (auto out = leaveLevel(); !out.ok())
                    return out;
                continue;
            }
            if (isDotOrDotDot(e->d_name))
                continue;
            if (auto out = removeEntry(cur, e->d_name); !out.ok())
                return out;
        }
        return {};
    }

private:
    RemoveOutcome removeEntry(Level& cur, const char* name)
    {
        const std::string path = cur.path + "/" + name;
        for (int attempt = 0; attempt < 8; ++attempt) {
            struct stat st { };
            if (fstatat(cur.fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return errno == ENOENT ? RemoveOutcome{} : fail(errno, path);
            if (!S_ISDIR(st.st_mode)) {
                if (unlinkat(cur.fd, name, 0) == 0 || errno == ENOENT)
                    return {};
                if (errno == EISDIR || errno == EPERM) {
                    // Linux answers EPERM for a folder too; look again in case it was
                    // swapped in, else the refusal is real.
                    struct stat again { };
                    if (fstatat(cur.fd, name, &again, AT_SYMLINK_NOFOLLOW) == 0
                        && S_ISDIR(again.st_mode))
                        continue;
                }
                return fail(errno, path);
            }
            int err = 0;
            int fd = openFolder(cur.fd, name, st, treeDev_, err);
            if (fd < 0) {
                if (err == ENOENT)
                    return {};
                if (err == EAGAIN || err == ELOOP || err == ENOTDIR)
                    continue; // replaced meanwhile, perhaps by a link: examine it anew
                return fail(err, path);
            }
            enterLevel(Level{fd, nullptr, st.st_dev, st.st_ino, name, path});
            return {};
        }
        return fail(EAGAIN, path);
    }

    void enterLevel(Level level)
    {
        levels_.push_back(std::move(level));
        if (levels_.size() > kOpenLevels) {
            Level& old = levels_[levels_.size() - kOpenLevels - 1];
            closeLevel(old);
        }
    }

    // The current folder is empty: go back to its parent and remove it there.
    RemoveOutcome leaveLevel()
    {
        Level child = std::move(levels_.back());
        levels_.pop_back();
        Level& parent = levels_.back();
        if (parent.fd < 0) {
            int fd = openat(child.fd, "..", kDirFlags);
            struct stat st { };
            if (fd < 0 || fstat(fd, &st) != 0 || st.st_dev != parent.dev
                || st.st_ino != parent.ino) {
                if (fd >= 0)
                    close(fd);
                closeLevel(child);
                return fail(EAGAIN, parent.path); // the tree was moved under us
            }
            parent.fd = fd;
        }
        closeLevel(child);
        if (unlinkat(parent.fd, child.name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
            return fail(errno, child.path);
        return {};
    }

    static RemoveOutcome fail(int err, const std::string& where) { return {err, where}; }

    std::vector<Level> levels_;
    dev_t treeDev_ = 0;
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

} // namespace

RemoveOutcome removeItemAt(int parentFd, const std::string& name, const std::string& displayPath)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return {EINVAL, displayPath};
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat st { };
        if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return {errno, displayPath};
        if (!S_ISDIR(st.st_mode)) {
            if (unlinkat(parentFd, name.c_str(), 0) == 0)
                return {};
            if (errno == EISDIR || errno == EPERM) {
                struct stat again { };
                if (fstatat(parentFd, name.c_str(), &again, AT_SYMLINK_NOFOLLOW) == 0
                    && S_ISDIR(again.st_mode))
                    continue;
            }
            return {errno, displayPath};
        }
        int err = 0;
        int fd = openFolder(parentFd, name.c_str(), st, st.st_dev, err);
        if (fd < 0) {
            if (err == EAGAIN || err == ELOOP || err == ENOTDIR)
                continue;
            return {err, displayPath};
        }
        TreeRemover remover(fd, st, name, displayPath);
        if (auto out = remover.empty(); !out.ok())
            return out;
        if (unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0)
            return {errno, displayPath};
        return {};
    }
    return {EAGAIN, displayPath};
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
        if (part.empty() || part == "." || part == "..")
            return {EINVAL, path};
        parts.push_back(std::move(part));
        start = end + 1;
    }
    int fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {errno, path};
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        int next = openat(fd, parts[i].c_str(), kDirFlags);
        int err = errno;
        close(fd);
        if (next < 0)
            return {err, path};
        fd = next;
    }
    RemoveOutcome out = removeItemAt(fd, parts.back(), path);
    close(fd);
    return out;
}

std::string describeRemoveError(int error, const std::string& path)
{
    std::string name;
    parentOf(path, name);
    const std::string quoted = "\u201c" + name + "\u201d";
    switch (error) {
    case ENOENT:
        return "No se ha podido eliminar " + quoted + " porque no existe.";
    case EACCES:
    case EPERM:
        return "No se ha podido eliminar " + quoted
            + " porque no tienes permiso para acceder a ello.";
    case EBUSY:
        return "No se ha podido eliminar " + quoted + " porque está en uso.";
    case EROFS:
        return "No se ha podido eliminar " + quoted + " porque el volumen es de solo lectura.";
    case EXDEV:
        return "No se ha podido eliminar " + quoted + " porque contiene otro volumen montado.";
    case EAGAIN:
        return "No se ha podido eliminar " + quoted + " porque cambió mientras se eliminaba.";
    case ENOTEMPTY:
        return "No se ha podido eliminar " + quoted + " porque no está vacío.";
    default:
        return "No se ha podido eliminar " + quoted + ": " + std::strerror(error) + ".";
    }
}

} // namespace tidvale
