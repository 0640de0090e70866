#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

// Every entry of a folder, hidden ones included, in listing order; nothing when the
// folder cannot be read. No descent: only direct children are asked for.
std::vector<std::string> childNames(const std::string& folder);

// The name without `suffix` when it ends with it (case-sensitive). A name that is only
// the suffix (".app") has no extension to remove and is kept whole.
std::optional<std::string> stem(const std::string& name, const std::string& suffix);

} // namespace tidvale
