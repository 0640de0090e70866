#pragma once

#include <string>

namespace tidvale {

// Gives the owner read, write and search rights on every folder of the tree at `path`
// that the calling user owns, so that a tree a tool keeps read-only (Go's module
// cache) can later be deleted from wherever it is moved. Files keep their modes. A
// link is never followed, a folder on another mount is never entered, and folders
// deeper than a few hundred levels are left as they are. False when some folder could
// not be reached or changed; what could be changed stays changed.
bool makeFoldersWritable(const std::string& path);

} // namespace tidvale
