#include "engine/desktop/SystemLocations.h"

namespace tidvale {

std::string SystemLocations::libraryCaches(const std::string& root)
{
    return root + "/Library/Caches";
}
std::string SystemLocations::libraryLogs(const std::string& root)
{
    return root + "/Library/Logs";
}
std::string SystemLocations::applications(const std::string& root)
{
    return root + "/Applications";
}
std::string SystemLocations::launchAgents(const std::string& root)
{
    return root + "/Library/LaunchAgents";
}
std::string SystemLocations::launchDaemons(const std::string& root)
{
    return root + "/Library/LaunchDaemons";
}

} // namespace tidvale
