#pragma once

#include <string>

namespace tidvale {

// The machine-wide folders, all under one root ("/" on a real system). Tests and the
// CLI's --system-root put the root in a temporary folder; the administrator
// allow-list is derived from the same table, so it can never drift from what is
// scanned.
class SystemLocations {
public:
    static std::string root(); // without a trailing separator; "" for "/"
    static void setRoot(const std::string& root);

    static std::string libraryCaches(); // "/Library/Caches"
    static std::string libraryLogs();   // "/Library/Logs"
    static std::string applications();  // "/Applications"
    static std::string launchAgents();  // "/Library/LaunchAgents"
    static std::string launchDaemons(); // "/Library/LaunchDaemons"
};

} // namespace tidvale
