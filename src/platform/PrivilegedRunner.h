#pragma once

#include "platform/PrivilegedReport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tidvale::platform {

// What the administrator stage asks the system to delete. The paths have already
// passed the allow-list; the macOS backend runs `script`, the Linux backend hands
// `paths` to the project's helper, which checks them again as root.
struct PrivilegedDeletion {
    std::vector<std::string> paths;
    std::string script;
};

struct PrivilegedRunResult {
    // Set when the run as a whole failed (the dialog was dismissed, no authorization,
    // the helper missing or cut short): the text to show, the system's own wording
    // where it gives one.
    std::optional<std::string> error;
    // One per requested path, in order; unknown where the run never said.
    std::vector<PrivilegedPathResult> paths;
};

class PrivilegedRunner {
public:
    virtual ~PrivilegedRunner() = default;
    // Blocks until the system's password dialog is answered and the deletion ends.
    virtual PrivilegedRunResult run(const PrivilegedDeletion& request) = 0;
};

// The backend of this operating system.
std::shared_ptr<PrivilegedRunner> systemPrivilegedRunner();

} // namespace tidvale::platform
