// The walk that fills a usage tree: the same folder queue, descriptor sharing and
// batched entry reading as the size measure, plus what a map needs that a sum does
// not (the tree, hard links counted once, mounts left out, unreadable folders marked).
#include "engine/core/FolderQueue.h"
#include "engine/fs/EntryIdentity.h"
#include "engine/fs/FolderFd.h"
#include "engine/usage/UsageStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <unordered_set>

namespace tidvale {

namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Pending {
    std::shared_ptr<FolderFd> parent; // null: open by path
    std::string path;
    size_t nameAt = 0;
    UsageId id = kNoUsage;
};

// One entry of a folder being read; its name sits in the reader's own buffer.
struct Seen {
    size_t nameAt;
    size_t nameLength;
    int64_t size;
    int64_t blocks;
    uint64_t inode;
    uint8_t flags;
};

} // namespace

class UsageWalk {
public:
    UsageWalk(WorkPool& pool, UsageTree& tree, const JobControl& job, UsageOptions options)
        : pool_(pool)
        , tree_(tree)
        , job_(job)
        , options_(options)
    {
    }

    bool run()
    {
        FolderQueue<Pending> queue(pool_, job_,
            [this](Pending& folder, std::vector<Pending>& found) { return read(folder, found); });
        return queue.run({nullptr, tree_.rootPath(), 0, kUsageRoot}, 24);
    }

private:
    static constexpr int kMaxHeldFolders = 256;

    UsageTree::Node& node(UsageId id) { return tree_.store_->at(id); }

    // A folder that cannot be read keeps its entry, marked; one that is gone, or is
    // no longer a folder, leaves the tree.
    void unread(UsageId id, int error)
    {
        if (error == ENOENT || error == ENOTDIR || error == ELOOP) {
            tree_.remove(id);
            return;
        }
        std::lock_guard guard(tree_.mutex_);
        node(id).flags |= usageUnreadable;
    }

    bool read(Pending& item, std::vector<Pending>& subfolders)
    {
        const bool root = item.id == kUsageRoot;
        // The root is the folder the user named: a link to it is their choice.
        int fd = item.parent
            ? openat(item.parent->get(), item.path.c_str() + item.nameAt, kDirFlags)
            : open(item.path.c_str(), root ? kDirFlags & ~O_NOFOLLOW : kDirFlags);
        item.parent.reset();
        if (fd < 0) {
            unread(item.id, errno);
            return true;
        }
        EntryIdentity here;
        if (!examineEntry(fd, "", here)) {
            close(fd);
            unread(item.id, errno);
            return true;
        }
        if (root) {
            volume_ = here;
        } else if (!here.onVolumeOf(volume_)) {
            close(fd);
            std::lock_guard guard(tree_.mutex_);
            node(item.id).flags |= usageOtherVolume;
            return true;
        }
        ++held_;
        auto self = std::shared_ptr<FolderFd>(new FolderFd(fd), [this](FolderFd* f) {
            delete f;
            --held_;
        });

        thread_local std::string names;
        thread_local std::vector<Seen> seen;
        names.clear();
        seen.clear();
        bool denied = false;
        auto visit = [&](const char* name, unsigned char type, uint64_t inode) {
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                return;
            const size_t length = std::strlen(name);
            Seen s{names.size(), length, 0, 0, inode, 0};
            names.append(name, length);
            if (type != DT_DIR) {
                struct stat st { };
                if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                    if (errno != ENOENT)
                        denied = true;
                    return;
                }
                s.inode = st.st_ino;
                if (!S_ISDIR(st.st_mode)) {
                    s.size = st.st_size;
                    s.blocks = static_cast<int64_t>(st.st_blocks) * 512;
                    s.flags = S_ISLNK(st.st_mode) ? usageLink : 0;
                    if (st.st_nlink > 1)
                        s.flags |= firstSight(st.st_ino) ? usageHardLinked
                                                         : usageHardLinked | usageRepeat;
                    seen.push_back(s);
                    return;
                }
            }
            s.flags = usageFolder;
            seen.push_back(s);
        };
        bool whole = true;
        auto stopping = [&] {
            if (job_.cancelled())
                whole = false;
            return !whole;
        };
#ifdef __linux__
        alignas(8) static thread_local std::array<char, 64 * 1024> buf;
        while (whole) {
            ssize_t n = getdents64(fd, buf.data(), buf.size());
            if (n <= 0)
                break;
            for (ssize_t off = 0; off < n && !stopping();) {
                auto* e = reinterpret_cast<dirent64*>(buf.data() + off);
                visit(e->d_name, e->d_type, e->d_ino);
                off += e->d_reclen;
            }
        }
#else
        if (DIR* d = fdopendir(dup(fd))) {
            for (dirent* e; !stopping() && (e = readdir(d));)
                visit(e->d_name, e->d_type, e->d_ino);
            closedir(d);
        }
#endif
        if (!whole)
            return false;
        add(item, self, seen, names, denied, subfolders);
        job_.count(entries_ += static_cast<int64_t>(seen.size()), 0);
        return true;
    }

    // Whether this is the first name of a hard-linked file met by the walk. One
    // volume only, so the inode alone names the file.
    bool firstSight(uint64_t inode)
    {
        std::lock_guard guard(linksMutex_);
        return linked_.insert(inode).second;
    }

    void add(const Pending& item, const std::shared_ptr<FolderFd>& self, std::vector<Seen>& seen,
        const std::string& names, bool denied, std::vector<Pending>& subfolders)
    {
        // Folders first, then files biggest first: only the first files kept get an
        // entry of their own.
        auto files = std::stable_partition(
            seen.begin(), seen.end(), [](const Seen& s) { return (s.flags & usageFolder) != 0; });
        int64_t bytes = 0, blocks = 0;
        for (auto it = files; it != seen.end(); ++it)
            if (!(it->flags & usageRepeat)) {
                bytes += it->size;
                blocks += it->blocks;
            }
        auto kept = seen.end();
        if (options_.filesKept > 0
            && static_cast<size_t>(seen.end() - files) > options_.filesKept) {
            kept = files + static_cast<std::ptrdiff_t>(options_.filesKept);
            std::nth_element(files, kept - 1, seen.end(),
                [](const Seen& a, const Seen& b) { return a.size > b.size; });
        }
        const size_t folders = static_cast<size_t>(files - seen.begin());
        thread_local std::vector<UsageId> ids;
        ids.clear();
        {
            std::lock_guard guard(tree_.mutex_);
            auto& store = *tree_.store_;
            for (auto it = seen.begin(); it != kept; ++it) {
                const UsageId id = store.add(
                    std::string_view(names).substr(it->nameAt, it->nameLength), it->flags, item.id);
                UsageTree::Node& n = store.at(id);
                n.inode = it->inode;
                if (!(it->flags & usageFolder)) {
                    n.bytes = it->size;
                    n.blocks = it->blocks;
                }
                if (ids.size() < folders)
                    ids.push_back(id);
            }
            if (denied)
                node(item.id).flags |= usageUnreadable;
        }
        for (UsageId up = item.id; up != kNoUsage; up = node(up).parent) {
            UsageTree::Node& a = node(up);
            addTo(a.bytes, bytes);
            addTo(a.blocks, blocks);
            addTo(a.items, static_cast<uint32_t>(seen.size()));
        }
        const bool share = held_.load(std::memory_order_relaxed) < kMaxHeldFolders;
        for (size_t i = 0; i < folders; ++i) {
            Pending p;
            p.path.reserve(item.path.size() + 1 + seen[i].nameLength);
            p.path.append(item.path).append("/").append(names, seen[i].nameAt, seen[i].nameLength);
            p.nameAt = item.path.size() + 1;
            p.id = ids[i];
            if (share)
                p.parent = self;
            subfolders.push_back(std::move(p));
        }
    }

    WorkPool& pool_;
    UsageTree& tree_;
    const JobControl& job_;
    const UsageOptions options_;
    EntryIdentity volume_; // written by the root's read, before any other starts
    std::mutex linksMutex_;
    std::unordered_set<uint64_t> linked_; // GUARDED_BY(linksMutex_)
    std::atomic<int64_t> entries_{0};
    std::atomic<int> held_{0};
};

bool mapUsage(WorkPool& pool, UsageTree& tree, const JobControl& job, UsageOptions options)
{
    struct stat st { };
    const bool found = stat(tree.rootPath().c_str(), &st) == 0;
    if (!found || !S_ISDIR(st.st_mode)) {
        std::lock_guard guard(tree.mutex_);
        UsageTree::Node& n = tree.store_->at(kUsageRoot);
        n.flags = found ? 0 : usageFolder | usageUnreadable;
        n.bytes = st.st_size;
        n.blocks = static_cast<int64_t>(st.st_blocks) * 512;
        n.inode = st.st_ino;
        return true;
    }
    return UsageWalk(pool, tree, job, options).run();
}

} // namespace tidvale
