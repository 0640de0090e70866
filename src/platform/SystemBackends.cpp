#include "platform/ApplicationRemover.h"
#include "platform/Backends.h"
#include "platform/CommandRunner.h"
#include "platform/MemoryStatistics.h"
#include "platform/Notifier.h"
#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"
#include "platform/VolumeStatistics.h"
#include "platform/Workspace.h"

namespace tidvale::platform {

Backends systemBackends(const VariableLookup& variable)
{
    // The language a program answers in, as the C library chooses it.
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (locale = variable(name); !locale.empty())
            break;
    return {systemRunningApplications(), systemTrash(), systemWorkspace(), systemMemoryStatistics(),
        systemVolumeStatistics(), systemPrivilegedRunner(), systemCommandRunner(),
        systemApplicationRemover(variable("PATH"), std::move(locale)),
        systemNotifier(variable("DBUS_SESSION_BUS_ADDRESS"), variable("XDG_RUNTIME_DIR"))};
}

} // namespace tidvale::platform
