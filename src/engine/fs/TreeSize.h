#pragma once

#include "engine/core/Job.h"
#include "engine/core/WorkPool.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tidvale {

// The logical size of a file or of a whole folder tree. A link, at `path` itself or
// anywhere inside, is measured as the link and never entered: removing it frees only
// the link. A path ending in "/" names what it resolves to, as everywhere in POSIX, so
// "alias/" measures the folder a link points to. Folders add nothing themselves;
// unreadable folders and entries that vanish during the walk add nothing. Large trees
// are walked on the I/O lanes of `pool`; the sum is the same whatever the split.
//
// No value when the job was cancelled before the walk was done: a part of a sum is
// never passed off as the size. The flag is read before each folder is listed and
// every few thousand entries within one.
std::optional<int64_t> measureTree(WorkPool& pool, const std::string& path, const JobControl& job);

// The same, for callers that never stop it.
int64_t treeSize(WorkPool& pool, const std::string& path);

// How a service measures what it lists; measureTree unless a test or caller says
// otherwise.
using TreeMeasure = std::function<std::optional<int64_t>(const std::string&, const JobControl&)>;

// measureTree on `pool`, which must outlive the measure.
TreeMeasure treeMeasure(WorkPool& pool);

} // namespace tidvale
