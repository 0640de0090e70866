#pragma once

#include <string>

namespace tidvale {

// The Mac's machine-wide folders under a system root ("" for "/"; the context's
// `folders.systemRoot`). Tests and the CLI's --system-root put the root in a temporary
// folder; the administrator allow-list is derived from the same table, so it can never
// drift from what is scanned.
class SystemLocations {
public:
    static std::string libraryCaches(const std::string& root); // "/Library/Caches"
    static std::string libraryLogs(const std::string& root);   // "/Library/Logs"
    static std::string applications(const std::string& root);  // "/Applications"
    static std::string launchAgents(const std::string& root);  // "/Library/LaunchAgents"
    static std::string launchDaemons(const std::string& root); // "/Library/LaunchDaemons"
};

} // namespace tidvale
