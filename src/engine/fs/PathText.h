#pragma once

#include <string>

namespace tidvale {

// The last component of an absolute path ("/a/b.txt" → "b.txt"), trailing separators
// ignored.
std::string lastPathComponent(const std::string& path);

// The folder that holds a path: the path without its last component ("/a/b.txt" →
// "/a"; a file at the top gives "/").
std::string parentFolder(const std::string& path);

// Whether `path` is `folder` or lies inside it, compared component by component:
// "/a/b2" is not inside "/a/b", and repeated separators, "." and ".." are read as the
// path text says, without asking the disk.
bool isSameOrInside(const std::string& path, const std::string& folder);

} // namespace tidvale
