#include "engine/locations/SystemLocations.h"

#include <mutex>

namespace tidvale {
namespace {

std::mutex& lock()
{
    static std::mutex m;
    return m;
}

std::string& rootSlot()
{
    static std::string r;
    return r;
}

} // namespace

std::string SystemLocations::root()
{
    std::lock_guard guard(lock());
    return rootSlot();
}

void SystemLocations::setRoot(const std::string& root)
{
    std::string r = root;
    while (!r.empty() && r.back() == '/')
        r.pop_back();
    std::lock_guard guard(lock());
    rootSlot() = r;
}

std::string SystemLocations::libraryCaches()
{
    return root() + "/Library/Caches";
}
std::string SystemLocations::libraryLogs()
{
    return root() + "/Library/Logs";
}
std::string SystemLocations::applications()
{
    return root() + "/Applications";
}
std::string SystemLocations::launchAgents()
{
    return root() + "/Library/LaunchAgents";
}
std::string SystemLocations::launchDaemons()
{
    return root() + "/Library/LaunchDaemons";
}

} // namespace tidvale
