#pragma once

#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"

#include <memory>

namespace tidvale::platform {

// The operating-system services the engine reaches by name. The real backends are
// installed on first use; tests replace any of them before the code under test runs.
struct Backends {
    std::shared_ptr<RunningApplications> runningApplications;
    std::shared_ptr<Trash> trash;
    std::shared_ptr<PrivilegedRunner> privilegedRunner;
};

// A snapshot of the current backends; cheap to copy, safe from any thread.
Backends backends();

void setRunningApplications(std::shared_ptr<RunningApplications> backend);
void setTrash(std::shared_ptr<Trash> backend);
void setPrivilegedRunner(std::shared_ptr<PrivilegedRunner> backend);

// The real backends of this operating system.
std::shared_ptr<RunningApplications> makeSystemRunningApplications();
std::shared_ptr<Trash> makeSystemTrash();
std::shared_ptr<PrivilegedRunner> makeSystemPrivilegedRunner();

} // namespace tidvale::platform
