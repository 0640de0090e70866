#include "engine/fs/TreeSize.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace tidvale {
namespace {

// Folders waiting to be read are kept as paths, not descriptors: a folder with a
// hundred thousand sub-folders, or a tree ten thousand levels deep, must not run the
// process out of descriptors.
class ParallelWalk {
public:
    explicit ParallelWalk(std::string root) { pending_.push_back(std::move(root)); }

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

    void work()
    {
        std::vector<std::string> found;
        for (;;) {
            std::string dir;
            {
                std::unique_lock guard(mutex_);
                ready_.wait(guard, [&] { return !pending_.empty() || busy_ == 0; });
                if (pending_.empty())
                    return;
                dir = std::move(pending_.back());
                pending_.pop_back();
                ++busy_;
            }
            found.clear();
            total_ += readFolder(dir, found);
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

    static int64_t readFolder(const std::string& dir, std::vector<std::string>& subfolders)
    {
        int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return 0;
        DIR* d = fdopendir(fd);
        if (!d) {
            close(fd);
            return 0;
        }
        int64_t sum = 0;
        while (dirent* e = readdir(d)) {
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            if (e->d_type == DT_DIR) {
                subfolders.push_back(dir + "/" + name);
                continue;
            }
            struct stat st { };
            if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished or unreadable: it adds nothing
            if (S_ISDIR(st.st_mode))
                subfolders.push_back(dir + "/" + name);
            else
                sum += st.st_size;
        }
        closedir(d);
        return sum;
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::string> pending_; // GUARDED_BY(mutex_)
    int busy_ = 0;                     // GUARDED_BY(mutex_)
    int foldersSeen_ = 0;              // GUARDED_BY(mutex_)
    std::vector<std::thread> helpers_; // started under mutex_, joined by run()
    std::atomic<int64_t> total_{0};
};

} // namespace

int64_t treeSize(const std::string& path)
{
    struct stat st { };
    if (stat(path.c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode)) {
        // A link to a file is measured as the link itself.
        struct stat own { };
        return lstat(path.c_str(), &own) == 0 ? own.st_size : 0;
    }
    // A link to a folder is entered at the top only; open() below must follow it.
    std::string root = path;
    struct stat own { };
    if (lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode)) {
        char buf[4096];
        if (!realpath(path.c_str(), buf))
            return 0;
        root = buf;
    }
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return ParallelWalk(root).run();
}

} // namespace tidvale
