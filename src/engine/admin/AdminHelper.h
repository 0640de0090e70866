#pragma once

#include "engine/admin/AdminAreas.h"

#include <ostream>
#include <string>
#include <vector>

namespace tidvale {

// The work of the privileged helper: `args` are its arguments after the program name,
// "--" followed by absolute paths. Each path is checked again against the helper's own
// administrator `areas` (the caller is not trusted), reached from "/" without
// following any link or leaving the allowed folder's mount, and removed with the
// link-proof removal. What became of each path goes to `report`, one line per path in
// the form of platform/PrivilegedReport.h; `errors` gets only the usage text.
// Returns the exit status: 0 every path is gone (removed, or missing already), 1
// something was not removed, 2 bad usage.
int runAdminHelper(const std::vector<AdminArea>& areas, const std::vector<std::string>& args,
    std::ostream& report, std::ostream& errors);

} // namespace tidvale
