#pragma once

#include <string>

namespace tidvale {

// The outcome of a permanent removal: `error` is 0 on success, else the errno that
// stopped it, and `where` the entry it was met at.
struct RemoveOutcome {
    int error = 0;
    std::string where;
    bool ok() const { return error == 0; }
};

// Deletes a file, link or whole folder tree permanently. The item is removed relative
// to a descriptor on its parent; inside a folder a link is unlinked, never entered,
// even one swapped in while the removal runs, and no other mounted file system is
// entered. Entries that vanish meanwhile are not errors; the item itself missing is
// ENOENT. Every permanent removal in the program goes through here.
RemoveOutcome removeItem(const std::string& path);

// Same, for the entry `name` of the folder open as `parentFd`.
RemoveOutcome removeItemAt(int parentFd, const std::string& name, const std::string& displayPath);

// Removes `path`, which must be absolute and lie inside `base`, reaching it from "/"
// one component at a time without following any link on the way. Used where the
// caller's privileges exceed the requester's.
RemoveOutcome removeItemBeneath(const std::string& base, const std::string& path);

// A Spanish description of why `path` could not be removed, in the system's style.
std::string describeRemoveError(int error, const std::string& path);

} // namespace tidvale
