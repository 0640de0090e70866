#include "engine/fs/TreeSize.h"

#include "engine/core/FolderQueue.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <memory>
#include <vector>

namespace tidvale {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// An open folder shared by the sub-folders still waiting to be read, so they are
// opened relative to it instead of resolving their whole path again.
struct OpenFolder {
    explicit OpenFolder(int f)
        : fd(f)
    {
    }
    ~OpenFolder() { close(fd); }
    int fd;
};

struct Pending {
    std::shared_ptr<OpenFolder> parent; // null: open by path
    std::string path;
    size_t nameAt = 0; // offset of the last component in `path`
};

// Folders waiting to be read keep their parent open only while few descriptors are
// in use; past that they fall back to their path, so a folder with a hundred
// thousand sub-folders, or a tree ten thousand levels deep, cannot run the process
// out of descriptors.
class ParallelWalk {
public:
    ParallelWalk(WorkPool& pool, const JobControl& job)
        : pool_(pool)
        , job_(job)
    {
    }

    std::optional<int64_t> run(std::string root)
    {
        FolderQueue<Pending> queue(
            pool_, job_, [this](Pending& folder, std::vector<Pending>& found) {
                return readFolder(folder, found);
            });
        if (!queue.run({nullptr, std::move(root), 0}, kFoldersBeforeHelping))
            return std::nullopt;
        return total_.load();
    }

private:
    static constexpr int kFoldersBeforeHelping = 24;
    static constexpr int kMaxHeldFolders = 256;

    int openPending(Pending& p)
    {
        if (p.parent)
            return openat(p.parent->fd, p.path.c_str() + p.nameAt, kDirFlags);
        return open(p.path.c_str(), kDirFlags);
    }

    void addSubfolder(const std::shared_ptr<OpenFolder>& self, const std::string& dir,
        const char* name, std::vector<Pending>& out)
    {
        Pending p;
        p.path = dir + "/" + name;
        p.nameAt = dir.size() + 1;
        if (held_.load(std::memory_order_relaxed) < kMaxHeldFolders)
            p.parent = self;
        out.push_back(std::move(p));
    }

    // Adds the folder's files to the total; false when the job was cancelled before
    // the whole folder was listed.
    bool readFolder(Pending& item, std::vector<Pending>& subfolders)
    {
        int fd = openPending(item);
        item.parent.reset();
        if (fd < 0)
            return true; // unreadable or vanished: it adds nothing
        ++held_;
        auto self = std::shared_ptr<OpenFolder>(new OpenFolder(fd), [this](OpenFolder* f) {
            delete f;
            --held_;
        });
        int64_t sum = 0;
        int64_t visited = 0;
        auto visit = [&](const char* name, unsigned char type) {
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                return;
            ++visited;
            if (type == DT_DIR) {
                addSubfolder(self, item.path, name, subfolders);
                return;
            }
            struct stat st { };
            if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return;
            if (S_ISDIR(st.st_mode))
                addSubfolder(self, item.path, name, subfolders);
            else
                sum += st.st_size;
        };
        // A folder of a million entries, each read from a cold disk, must not hold
        // up a stop either: the flag costs far less to read than an entry.
        bool whole = true;
        auto stopping = [&] {
            if (job_.cancelled())
                whole = false;
            return !whole;
        };
#ifdef __linux__
        // Reading the entries straight into a large buffer saves a copy per entry.
        alignas(8) static thread_local std::array<char, 64 * 1024> buf;
        while (whole) {
            ssize_t n = getdents64(fd, buf.data(), buf.size());
            if (n <= 0)
                break;
            for (ssize_t off = 0; off < n && !stopping();) {
                auto* e = reinterpret_cast<dirent64*>(buf.data() + off);
                visit(e->d_name, e->d_type);
                off += e->d_reclen;
            }
        }
#else
        if (DIR* d = fdopendir(dup(fd))) {
            for (dirent* e; !stopping() && (e = readdir(d));)
                visit(e->d_name, e->d_type);
            closedir(d);
        }
#endif
        total_ += sum;
        job_.count(entries_ += visited, 0);
        return whole;
    }

    WorkPool& pool_;
    const JobControl& job_;
    std::atomic<int64_t> total_{0};
    std::atomic<int64_t> entries_{0}; // walked so far, for the job's counts
    std::atomic<int> held_{0};        // folders kept open for their pending sub-folders
};

} // namespace

std::optional<int64_t> measureTree(WorkPool& pool, const std::string& path, const JobControl& job)
{
    struct stat st { };
    if (lstat(path.c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    std::string root = path;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    // Only a trailing "/" gets here through a link; the walk opens its root without
    // following, so it is given the folder's own path.
    struct stat own { };
    if (root != path && lstat(root.c_str(), &own) == 0 && S_ISLNK(own.st_mode)) {
        char buf[PATH_MAX];
        if (!realpath(root.c_str(), buf))
            return 0;
        root = buf;
    }
    return ParallelWalk(pool, job).run(root);
}

int64_t treeSize(WorkPool& pool, const std::string& path)
{
    return *measureTree(pool, path, {});
}

TreeMeasure treeMeasure(WorkPool& pool)
{
    return [&pool](const std::string& path, const JobControl& job) {
        return measureTree(pool, path, job);
    };
}

} // namespace tidvale
