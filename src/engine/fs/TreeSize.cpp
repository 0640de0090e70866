#include "engine/fs/TreeSize.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
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
    explicit ParallelWalk(std::string root) { pending_.push_back({nullptr, std::move(root), 0}); }

    int64_t run()
    {
        work();
        for (auto& t : helpers_)
            t.join();
        return total_.load();
    }

private:
    // Below this many folders the walk stays on the calling thread: starting threads
    // costs more than it saves on the small trees that most items are.
    static constexpr int kFoldersBeforeHelping = 24;
    static constexpr int kMaxHeldFolders = 256;

    void work()
    {
        std::vector<Pending> found;
        for (;;) {
            Pending next;
            {
                std::unique_lock guard(mutex_);
                ready_.wait(guard, [&] { return !pending_.empty() || busy_ == 0; });
                if (pending_.empty())
                    return;
                next = std::move(pending_.back());
                pending_.pop_back();
                ++busy_;
            }
            found.clear();
            total_ += readFolder(next, found);
            {
                std::lock_guard guard(mutex_);
                --busy_;
                for (auto& f : found)
                    pending_.push_back(std::move(f));
                foldersSeen_ += static_cast<int>(found.size());
                maybeStartHelpers();
            }
            ready_.notify_all();
        }
    }

    void maybeStartHelpers()
    {
        if (!helpers_.empty() || foldersSeen_ < kFoldersBeforeHelping || pending_.size() < 2)
            return;
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 1; i < std::min(cores, 8u); ++i)
            helpers_.emplace_back([this] { work(); });
    }

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

    int64_t readFolder(Pending& item, std::vector<Pending>& subfolders)
    {
        int fd = openPending(item);
        item.parent.reset();
        if (fd < 0)
            return 0; // unreadable or vanished: it adds nothing
        ++held_;
        auto self = std::shared_ptr<OpenFolder>(new OpenFolder(fd), [this](OpenFolder* f) {
            delete f;
            --held_;
        });
        int64_t sum = 0;
        auto visit = [&](const char* name, unsigned char type) {
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                return;
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
#ifdef __linux__
        // Reading the entries straight into a large buffer saves a copy per entry.
        alignas(8) static thread_local std::array<char, 64 * 1024> buf;
        for (;;) {
            ssize_t n = getdents64(fd, buf.data(), buf.size());
            if (n <= 0)
                break;
            for (ssize_t off = 0; off < n;) {
                auto* e = reinterpret_cast<dirent64*>(buf.data() + off);
                visit(e->d_name, e->d_type);
                off += e->d_reclen;
            }
        }
#else
        if (DIR* d = fdopendir(dup(fd))) {
            while (dirent* e = readdir(d))
                visit(e->d_name, e->d_type);
            closedir(d);
        }
#endif
        return sum;
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<Pending> pending_;     // GUARDED_BY(mutex_)
    int busy_ = 0;                     // GUARDED_BY(mutex_)
    int foldersSeen_ = 0;              // GUARDED_BY(mutex_)
    std::vector<std::thread> helpers_; // started under mutex_, joined by run()
    std::atomic<int64_t> total_{0};
    std::atomic<int> held_{0}; // folders kept open for their pending sub-folders
};

} // namespace

int64_t treeSize(const std::string& path)
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
    return ParallelWalk(root).run();
}

} // namespace tidvale
