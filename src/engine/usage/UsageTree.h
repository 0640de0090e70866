#pragma once

// Where the space of a folder went: its tree of folders with their totals, built by a
// parallel walk while readers look at it. A huge tree must stay light, so only folders
// and each folder's biggest files get an entry; the other files are folded into their
// folder's total, which is all a map or a list could show of them anyway.
#include "engine/core/Job.h"
#include "engine/core/WorkPool.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tidvale {

using UsageId = uint32_t;
inline constexpr UsageId kNoUsage = UINT32_MAX;
inline constexpr UsageId kUsageRoot = 0;

// What an entry is, beyond its size.
enum UsageFlag : uint8_t {
    usageFolder = 1,
    usageLink = 2,        // measured as the link, never followed
    usageUnreadable = 4,  // a folder that could not be listed: its size is unknown
    usageOtherVolume = 8, // a mount point: another volume, not entered
    usageRepeat = 16,     // a further name of a file already counted (a hard link)
    usageHardLinked = 32, // a file with more than one name
};

// One entry as a reader sees it, copied out of the tree.
struct UsageEntry {
    UsageId id = kNoUsage;
    std::string name;
    int64_t bytes = 0;  // logical bytes below it, each file once; a file's own size
    int64_t blocks = 0; // bytes the disk gives it (a file; folders add their children)
    uint64_t inode = 0;
    uint32_t items = 0; // entries below it, folded files included
    uint8_t flags = 0;

    bool is(UsageFlag flag) const { return (flags & flag) != 0; }
    // What it adds to its folder: nothing for a repeated hard link.
    int64_t counted() const { return is(usageRepeat) ? 0 : bytes; }
};

// One piece of a ring map: an entry or, with id kNoUsage, what a folder holds in
// pieces too small to draw ("otros"). Angles are fractions of the whole circle.
struct UsagePiece {
    UsageId id = kNoUsage;
    UsageId parent = kNoUsage;
    int depth = 1; // 1: a child of the centre
    double start = 0;
    double span = 0;
    int64_t bytes = 0;
    uint32_t items = 0;
    uint8_t flags = 0;
    int branch = 0; // which child of the centre it lies under, for its colour
    std::string name;
};

struct UsageOptions {
    // The biggest files of each folder that keep an entry of their own; 0 keeps all.
    size_t filesKept = 24;
};

class UsageTree {
public:
    explicit UsageTree(std::string root);
    ~UsageTree();
    UsageTree(const UsageTree&) = delete;
    UsageTree& operator=(const UsageTree&) = delete;

    const std::string& rootPath() const { return root_; }
    // Every reader below may run while the walk adds entries; each takes a lock
    // briefly and sees the totals as they are at that moment.
    UsageEntry entry(UsageId id) const;
    std::string path(UsageId id) const;
    UsageId parentOf(UsageId id) const;
    // Its children, biggest first (ties by name).
    std::vector<UsageEntry> children(UsageId id) const;
    // The centre's descendants `depth` levels deep, each ring in angle order. Children
    // below `minShare` of the centre are folded, per folder, into one "otros" piece,
    // with the folder's folded files; such a piece is drawn only if it reaches minShare.
    std::vector<UsagePiece> rings(UsageId centre, int depth, double minShare) const;
    // How many entries the tree holds, and bytes it takes, for the benchmarks.
    size_t entryCount() const;
    size_t memoryBytes() const;

    // Takes an entry out of the tree (it went to the Trash), its bytes and items off
    // every folder above it. False when it was not there.
    bool remove(UsageId id);

    // Used by the walk.
    struct Node;
    struct Store;

private:
    friend class UsageWalk;
    friend bool mapUsage(WorkPool&, UsageTree&, const JobControl&, UsageOptions);
    std::string root_;
    mutable std::mutex mutex_;
    std::unique_ptr<Store> store_;
};

// Walks `tree`'s root into it on the I/O lanes of `pool`. Links are measured as links,
// each hard-linked file is counted once, other mounts are not entered, unreadable
// folders are marked. False when the job was cancelled; the tree then holds what was
// read so far.
bool mapUsage(WorkPool& pool, UsageTree& tree, const JobControl& job, UsageOptions options = {});

// Depth-first over the tree for writers: `visit(id, level)` for every entry, a folder
// before its children, and `leave(id)` after a folder's children.
void walkUsage(const UsageTree& tree, const std::function<void(const UsageEntry&, int)>& visit,
    const std::function<void(const UsageEntry&)>& leave);

} // namespace tidvale
