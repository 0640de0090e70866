#pragma once

#include "engine/usage/UsageTree.h"

#include <ostream>

namespace tidvale {

// Writes `tree` in the JSON export format of ncdu (version 1.2), so that `ncdu -f`
// browses it. Every entry the tree holds is written: walk it with no files folded for
// a whole listing. Names that are not UTF-8 are written with U+FFFD in place of the
// bytes JSON cannot carry.
void writeNcduExport(std::ostream& out, const UsageTree& tree, int64_t timestamp);

} // namespace tidvale
