#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tidvale::platform {

class ApplicationRemover;
class CommandRunner;
class MemoryStatistics;
class Notifier;
class PrivilegedRunner;
class RunningApplications;
class Trash;
class VolumeStatistics;
class Workspace;

// The operating-system services a process talks to, one backend each. `main` builds
// the system's own set once; a test hands stand-ins to the code it runs instead, so no
// backend is ever swapped under running code.
struct Backends {
    std::shared_ptr<RunningApplications> runningApplications;
    std::shared_ptr<Trash> trash;
    std::shared_ptr<Workspace> workspace;
    std::shared_ptr<MemoryStatistics> memory;
    std::shared_ptr<VolumeStatistics> volumes;
    std::shared_ptr<PrivilegedRunner> privileged;
    std::shared_ptr<CommandRunner> commands;
    std::shared_ptr<ApplicationRemover> applicationRemover;
    std::shared_ptr<Notifier> notifier;
};

// The value of an environment variable as the process read it at start; "" when unset.
using VariableLookup = std::function<std::string(std::string_view name)>;

// The backends of this operating system. The few values they take from the
// environment (where programs are, the language to be answered in) come through
// `variable`: no backend reads the environment itself.
Backends systemBackends(const VariableLookup& variable);

} // namespace tidvale::platform
