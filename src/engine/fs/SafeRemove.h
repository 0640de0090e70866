#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tidvale {

// Outcome codes of a removal that are not errno values.
// The item is itself a mount point (a volume or a bind mount): it is neither removed
// nor emptied.
inline constexpr int kErrorMountPoint = -1;
// The item lies inside another mounted volume than the folder it was to be reached
// from (a bind mount or a volume mounted on the way).
inline constexpr int kErrorOtherVolume = -2;

// apt holds its lock on the package folder: it may be writing there right now.
inline constexpr int kErrorPackageManagerBusy = -3;

// The outcome of a permanent removal: `error` is 0 on success, else the errno (or one
// of the codes above) that stopped it, and `where` the entry it was met at. `freed`
// is the logical size of what was really unlinked, links counted as links and
// folders as nothing, so a tree that changed since it was measured is reported as it
// was removed, not as it was listed; a removal that stopped half way says what it
// did free.
struct RemoveOutcome {
    int error = 0;
    std::string where;
    int64_t freed = 0;
    bool ok() const { return error == 0; }
};

// Deletes a file, link or whole folder tree permanently. The item is removed relative
// to a descriptor on its parent; inside a folder a link is unlinked, never entered,
// even one swapped in while the removal runs. Nothing on another mount than the
// parent's is touched: an item that is a mount point is refused (kErrorMountPoint) and
// a mount met inside stops the removal (EXDEV) with the mount left alone. Folders the
// user owns but may not list or change are opened up to the owner first. Entries that
// vanish meanwhile are not errors; the item itself missing is ENOENT. Every permanent
// removal in the program goes through here.
RemoveOutcome removeItem(const std::string& path);

// Same, for the entry `name` of the folder open as `parentFd`.
RemoveOutcome removeItemAt(int parentFd, const std::string& name, const std::string& displayPath);

// Removes `path`, which must be absolute and lie inside `base`, reaching it from "/"
// one component at a time without following any link on the way, and without leaving
// the mount that holds `base` (kErrorOtherVolume). Used where the caller's privileges
// exceed the requester's.
RemoveOutcome removeItemBeneath(const std::string& base, const std::string& path);

// A Spanish description of why `path` could not be removed, in the system's style,
// for any code.
std::string describeRemoveError(int error, const std::string& path);

// Counts what the removals on the constructing thread unlink while it lives (one entry
// and its logical bytes at a time, folders as nothing), so that a progress display can
// move while one item of many thousand files goes. The sink runs on that thread and
// must be cheap. Scopes nest: the innermost counts.
class RemovalTally {
public:
    using Sink = std::function<void(int64_t entries, int64_t bytes)>;
    explicit RemovalTally(Sink sink);
    ~RemovalTally();
    RemovalTally(const RemovalTally&) = delete;
    RemovalTally& operator=(const RemovalTally&) = delete;

    // Called by the removal for each entry it unlinks.
    static void unlinked(int64_t bytes);

private:
    Sink sink_;
    int64_t entries_ = 0;
    int64_t bytes_ = 0;
    RemovalTally* outer_ = nullptr;
};

// Tests only: runs on the calling thread after a folder in the item was examined and
// before it is opened, so that a test can change the tree at exactly that moment.
void setRemoveHookForTesting(std::function<void(const std::string& name)> hook);

} // namespace tidvale
