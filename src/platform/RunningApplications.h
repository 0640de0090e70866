#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tidvale::platform {

// The bundle identifiers of the applications the user is running now. Applications
// without an identifier are left out. Read-only; callable from any thread.
class RunningApplications {
public:
    virtual ~RunningApplications() = default;
    virtual std::vector<std::string> bundleIdentifiers() const = 0;
    // The programs the user is running now, as the system names their executables
    // (on Linux what /proc/<pid>/exe reads); empty where the system has no such list.
    virtual std::vector<std::string> executables() const { return {}; }
};

// The backend of this operating system.
std::shared_ptr<RunningApplications> systemRunningApplications();

} // namespace tidvale::platform
