#include "platform/Backends.h"

#include <mutex>

namespace tidvale::platform {
namespace {

std::mutex& lock()
{
    static std::mutex m;
    return m;
}

Backends& current()
{
    static Backends b{
        makeSystemRunningApplications(), makeSystemTrash(), makeSystemPrivilegedRunner()};
    return b;
}

} // namespace

Backends backends()
{
    std::lock_guard guard(lock());
    return current();
}

void setRunningApplications(std::shared_ptr<RunningApplications> backend)
{
    std::lock_guard guard(lock());
    current().runningApplications = std::move(backend);
}

void setTrash(std::shared_ptr<Trash> backend)
{
    std::lock_guard guard(lock());
    current().trash = std::move(backend);
}

void setPrivilegedRunner(std::shared_ptr<PrivilegedRunner> backend)
{
    std::lock_guard guard(lock());
    current().privilegedRunner = std::move(backend);
}

} // namespace tidvale::platform
