#pragma once

#include "engine/core/Job.h"
#include "engine/core/WorkPool.h"
#include "engine/fs/FileStamp.h"

#include <chrono>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tidvale {

// A file date as a clock time, clamped to what the clock can hold.
std::chrono::system_clock::time_point timePointOf(int64_t sec, int64_t nsec);

// A deep walk of folder trees as the finders see them: hidden entries (names starting
// with ".") are skipped, package folders are not entered, links are never followed
// (only a root that is itself a link), and only regular files of at least `minSize`
// bytes are kept; FIFOs, devices and sockets are never opened. Unreadable folders and
// entries that vanish are skipped without a message.
//
// Folders are read on the I/O lanes of `pool`, yet the files come out in one fixed order: the
// roots in order, and within a folder its listing order with each sub-folder's files
// in the place where the sub-folder was listed, exactly as a one-thread depth-first
// walk would give them.
class FileWalk {
public:
    struct File {
        std::string name;
        FileStamp stamp;
        FileIdentity identity;
    };

    // Walks the roots one after the other; `onRoot` hears each root's index first.
    // A cancelled job ends the walk before the next folder is read: what was read so
    // far is listed, and complete() says it is not all.
    FileWalk(WorkPool& pool, const std::vector<std::string>& roots, int64_t minSize,
        const JobControl& job = {}, const std::function<void(size_t root)>& onRoot = {});
    ~FileWalk();
    FileWalk(FileWalk&&) noexcept;
    FileWalk(const FileWalk&) = delete;
    FileWalk& operator=(const FileWalk&) = delete;

    bool complete() const { return complete_; }
    size_t size() const { return order_.size(); }
    const File& file(size_t i) const { return *order_[i].file; }
    std::string path(size_t i) const;
    // The path of the folder that holds file i; files of one folder share the string.
    const std::string& folderPath(size_t i) const;

    // Indices of `indices` whose identity was not met earlier in the list; keeps the
    // first path of each file.
    std::vector<uint32_t> firstOfEachFile(const std::vector<uint32_t>& indices) const;

    struct Folder;

private:
    struct Ref {
        const Folder* folder;
        const File* file;
    };
    std::vector<std::unique_ptr<Folder>> roots_;
    std::vector<Ref> order_;
    bool complete_ = true;
};

} // namespace tidvale
