#include "engine/finders/FileWalk.h"

#include "engine/core/FolderQueue.h"
#include "engine/fs/Packages.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace tidvale {

// One folder's listing, in listing order. A sub-folder is an entry whose `sub` is set;
// it is read by whichever thread takes it, and its files are spliced in its place
// when the walk is put in order.
struct FileWalk::Folder {
    struct Entry {
        File file;
        std::unique_ptr<Folder> sub;
    };
    std::string path;
    std::vector<Entry> entries;
};

namespace {

bool isHidden(const char* name)
{
    return name[0] == '.'; // also "." and ".."
}

// Reads one folder: keeps its large-enough regular files and lists the sub-folders
// to enter. A folder that cannot be opened stays empty. False when the job was
// cancelled before the whole folder was read.
bool readFolder(FileWalk::Folder& folder, int64_t minSize, bool followLink, const JobControl& job,
    std::atomic<int64_t>& walked, std::vector<FileWalk::Folder*>& subfolders)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int fd = open(folder.path.c_str(), flags);
    if (fd < 0)
        return true;
    DIR* d = fdopendir(fd);
    if (!d) {
        close(fd);
        return true;
    }
    // A folder of a million entries, each read from a cold disk, must not hold up a
    // stop either: the flag costs far less to read than an entry.
    bool whole = true;
    int64_t entries = 0;
    while (const dirent* e = readdir(d)) {
        if (job.cancelled()) {
            whole = false;
            break;
        }
        if (isHidden(e->d_name))
            continue;
        ++entries;
        bool isFolder = e->d_type == DT_DIR;
        struct stat st { };
        if (e->d_type == DT_REG || e->d_type == DT_UNKNOWN) {
            if (fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished or unreadable
            isFolder = S_ISDIR(st.st_mode);
            if (!isFolder && (!S_ISREG(st.st_mode) || st.st_size < minSize))
                continue;
        } else if (!isFolder) {
            continue; // links, FIFOs, devices, sockets
        }
        if (isFolder && isPackageName(e->d_name))
            continue;
        auto& entry = folder.entries.emplace_back();
        entry.file.name = e->d_name;
        if (isFolder) {
            entry.sub = std::make_unique<FileWalk::Folder>();
            entry.sub->path = folder.path == "/" ? std::string() : folder.path;
            entry.sub->path += '/';
            entry.sub->path += e->d_name;
            subfolders.push_back(entry.sub.get());
        } else {
            entry.file.stamp = FileStamp::of(st);
            entry.file.identity = FileIdentity::of(st);
        }
    }
    closedir(d);
    job.count(walked += entries, 0);
    return whole;
}

std::string withoutTrailingSlash(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

} // namespace

std::chrono::system_clock::time_point timePointOf(int64_t sec, int64_t nsec)
{
    using Clock = std::chrono::system_clock;
    constexpr int64_t limit
        = std::chrono::duration_cast<std::chrono::seconds>(Clock::duration::max()).count() - 1;
    const auto s = std::chrono::seconds(std::clamp(sec, -limit, limit));
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(s)
        + std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(nsec)));
}

FileWalk::FileWalk(WorkPool& pool, const std::vector<std::string>& roots, int64_t minSize,
    const JobControl& job, const std::function<void(size_t)>& onRoot)
{
    std::atomic<int64_t> walked{0};
    for (size_t i = 0; i < roots.size() && complete_; ++i) {
        if (onRoot)
            onRoot(i);
        auto folder = std::make_unique<Folder>();
        folder->path = withoutTrailingSlash(roots[i]);
        const Folder* const root = folder.get();
        // Only the root may be a link: a linked personal folder is still searched.
        FolderQueue<Folder*> queue(pool, job, [&](Folder*& f, std::vector<Folder*>& found) {
            return readFolder(*f, minSize, f == root, job, walked, found);
        });
        complete_ = queue.run(folder.get());
        roots_.push_back(std::move(folder));
    }

    // Depth-first with an explicit stack: a tree thousands of folders deep must not
    // exhaust the call stack.
    struct Cursor {
        const Folder* folder;
        size_t next;
    };
    std::vector<Cursor> stack;
    for (const auto& root : roots_) {
        stack.push_back({root.get(), 0});
        while (!stack.empty()) {
            auto& top = stack.back();
            if (top.next == top.folder->entries.size()) {
                stack.pop_back();
                continue;
            }
            const auto& entry = top.folder->entries[top.next++];
            if (entry.sub)
                stack.push_back({entry.sub.get(), 0});
            else
                order_.push_back({top.folder, &entry.file});
        }
    }
}

FileWalk::~FileWalk()
{
    // Unlinks the folder tree without recursion, for the same reason as above.
    std::vector<std::unique_ptr<Folder>> doomed = std::move(roots_);
    while (!doomed.empty()) {
        auto folder = std::move(doomed.back());
        doomed.pop_back();
        for (auto& entry : folder->entries)
            if (entry.sub)
                doomed.push_back(std::move(entry.sub));
    }
}

FileWalk::FileWalk(FileWalk&&) noexcept = default;

std::string FileWalk::path(size_t i) const
{
    const auto& ref = order_[i];
    std::string p;
    p.reserve(ref.folder->path.size() + 1 + ref.file->name.size());
    p += ref.folder->path;
    if (p != "/")
        p += '/';
    p += ref.file->name;
    return p;
}

const std::string& FileWalk::folderPath(size_t i) const
{
    return order_[i].folder->path;
}

std::vector<uint32_t> FileWalk::firstOfEachFile(const std::vector<uint32_t>& indices) const
{
    struct Hash {
        size_t operator()(const FileIdentity& id) const
        {
            return std::hash<uint64_t>()(static_cast<uint64_t>(id.inode) * 0x9E3779B97F4A7C15ull
                ^ static_cast<uint64_t>(id.device));
        }
    };
    std::vector<uint32_t> kept;
    kept.reserve(indices.size());
    if (indices.size() <= 16) { // most size buckets: comparing beats hashing
        for (auto i : indices)
            if (std::none_of(kept.begin(), kept.end(),
                    [&](uint32_t k) { return file(k).identity == file(i).identity; }))
                kept.push_back(i);
        return kept;
    }
    std::unordered_set<FileIdentity, Hash> seen;
    for (auto i : indices)
        if (seen.insert(file(i).identity).second)
            kept.push_back(i);
    return kept;
}

} // namespace tidvale
