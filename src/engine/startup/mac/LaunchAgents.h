#pragma once

#include "engine/records/LaunchItem.h"

#include <string>
#include <vector>

namespace tidvale::macos {

// The user's agents, then the machine's agents, then its daemons, each folder in
// listing order; the machine folders under the system root.
std::vector<LaunchItem> listLaunchAgents(const std::string& home, const std::string& root);

} // namespace tidvale::macos
