#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// A descriptor on a folder opened without following a link at its last component,
// or -1 with errno set.
int openFolderNoFollow(const std::string& path);
int openFolderNoFollowAt(int dirFd, const std::string& name);

// The contents of the plain file `name` in the folder open as `dirFd`, or nothing
// when it is a link, not a plain file (a FIFO is never waited on), unreadable, or
// larger than `maxBytes`.
std::optional<std::string> readPlainFileAt(int dirFd, const std::string& name, size_t maxBytes);

// The names in the folder open as `dirFd`, in listing order, without "." and "..".
std::vector<std::string> folderEntryNames(int dirFd);

} // namespace tidvale::linuxdesk
