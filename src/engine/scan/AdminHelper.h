#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tidvale {

// The work of the privileged helper: `args` are its arguments after the program name,
// "--" followed by absolute paths. Each path is checked again against the allow-list
// (the caller is not trusted), reached from "/" without following any link and
// removed with the link-proof removal. Problems go to `errors`, one line each.
// Returns the exit status: 0 all removed, 1 something was not, 2 bad usage.
int runAdminHelper(const std::vector<std::string>& args, std::ostream& errors);

} // namespace tidvale
