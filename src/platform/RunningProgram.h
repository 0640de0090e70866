#pragma once

#include <string>

namespace tidvale::platform {

// The folder of the running program's executable, links resolved; "" when the system
// does not say. The programs Tidvale installs sit side by side there.
std::string runningProgramFolder();

} // namespace tidvale::platform
