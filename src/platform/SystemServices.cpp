// The slots of Service<I> start with the backends systemBackends() builds, with the
// environment of the process as it is when the first of them is asked for.
#include "platform/ApplicationRemover.h"
#include "platform/Backends.h"
#include "platform/CommandRunner.h"
#include "platform/MemoryStatistics.h"
#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"
#include "platform/VolumeStatistics.h"
#include "platform/Workspace.h"

#include <cstdlib>

namespace tidvale::platform {
namespace {

const Backends& processBackends()
{
    static const Backends backends = systemBackends([](std::string_view name) {
        const char* value = std::getenv(std::string(name).c_str());
        return std::string(value ? value : "");
    });
    return backends;
}

} // namespace

template <> std::shared_ptr<RunningApplications> makeSystemService<RunningApplications>()
{
    return processBackends().runningApplications;
}
template <> std::shared_ptr<Trash> makeSystemService<Trash>()
{
    return processBackends().trash;
}
template <> std::shared_ptr<Workspace> makeSystemService<Workspace>()
{
    return processBackends().workspace;
}
template <> std::shared_ptr<MemoryStatistics> makeSystemService<MemoryStatistics>()
{
    return processBackends().memory;
}
template <> std::shared_ptr<VolumeStatistics> makeSystemService<VolumeStatistics>()
{
    return processBackends().volumes;
}
template <> std::shared_ptr<PrivilegedRunner> makeSystemService<PrivilegedRunner>()
{
    return processBackends().privileged;
}
template <> std::shared_ptr<CommandRunner> makeSystemService<CommandRunner>()
{
    return processBackends().commands;
}
template <> std::shared_ptr<ApplicationRemover> makeSystemService<ApplicationRemover>()
{
    return processBackends().applicationRemover;
}

} // namespace tidvale::platform
