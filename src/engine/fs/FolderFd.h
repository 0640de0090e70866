#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// An open folder descriptor, closed when it goes out of scope.
class FolderFd {
public:
    FolderFd() = default;
    explicit FolderFd(int fd)
        : fd_(fd)
    {
    }
    FolderFd(FolderFd&& other) noexcept;
    FolderFd& operator=(FolderFd&& other) noexcept;
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    ~FolderFd();

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Opens a folder the caller named (a home, an XDG folder, the system root): links in
// it are the user's own choice and are followed.
FolderFd openGivenFolder(const std::string& path);

// Opens the folders `components` one below the other starting at `base`, never
// following a link and refusing "." and "..": what lies under a named folder is only
// reached through real folders.
FolderFd openBelow(int base, const std::vector<std::string>& components);
FolderFd openBelow(const std::string& base, const std::vector<std::string>& components);

// A place reached from a folder the caller named by real folders only: `base` may be
// or hold a link, `components` never are.
struct BelowPath {
    std::string base;
    std::vector<std::string> components;

    std::string path() const;
    BelowPath child(const std::string& name) const;
    FolderFd open() const { return openBelow(base, components); }
};

// A descriptor on a folder opened without following a link at its last component, or
// -1 with errno set.
int openFolderNoFollow(const std::string& path);
int openFolderNoFollowAt(int dirFd, const std::string& name);

// The contents of the plain file `name` in the folder open as `dirFd`, or nothing
// when it is a link, not a plain file (a FIFO is never waited on), unreadable, or
// larger than `maxBytes`.
std::optional<std::string> readPlainFileAt(int dirFd, const std::string& name, size_t maxBytes);

// The names in an open folder, in the order the system lists them, without "." and
// "..". Empty when it cannot be read.
std::vector<std::string> entryNames(int folderFd);

// The entry's own status (a link is described as a link), or none.
std::optional<struct stat> entryStatus(int folderFd, const std::string& name);

// "a/b/c" split on "/" with empty and "." parts dropped; none when a part is "..".
std::optional<std::vector<std::string>> relativeComponents(std::string_view relative);

// A path with no room for interpretation: absolute, no empty, "." or ".." component,
// no trailing separator.
bool isPlainAbsolutePath(std::string_view path);

// Whether `path` lies below `folder` (not `folder` itself); both plain.
bool isStrictlyInside(std::string_view path, std::string_view folder);

// The system root as a prefix: "" for "/", else without trailing separators.
std::string rootPrefix(std::string_view root);

} // namespace tidvale
