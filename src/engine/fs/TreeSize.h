#pragma once

#include <cstdint>
#include <string>

namespace tidvale {

// The logical size of a file or of a whole folder tree. A link at `path` itself is
// followed to decide whether it is a folder; links inside the tree are measured as
// links and never entered. Folders add nothing themselves; unreadable folders and
// entries that vanish during the walk add nothing. Large trees are walked on
// several threads; the sum is the same whatever the split.
int64_t treeSize(const std::string& path);

} // namespace tidvale
