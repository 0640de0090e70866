#pragma once

#include <cstdint>
#include <string>

namespace tidvale {

// The logical size of a file or of a whole folder tree. A link, at `path` itself or
// anywhere inside, is measured as the link and never entered: removing it frees only
// the link. A path ending in "/" names what it resolves to, as everywhere in POSIX, so
// "alias/" measures the folder a link points to. Folders add nothing themselves;
// unreadable folders and entries that vanish during the walk add nothing. Large trees
// are walked on several threads; the sum is the same whatever the split.
int64_t treeSize(const std::string& path);

} // namespace tidvale
