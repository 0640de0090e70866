#pragma once

#include <ctime>
#include <string>

namespace tidvale {

// The Spanish short date style, day/month/two-digit year without padding: "6/12/26".
std::string formatShortDate(std::time_t when);

// The same with the local hour and minute: "6/12/26 23:05".
std::string formatShortDateTime(std::time_t when);

// ISO 8601 in UTC with a "Z", for machine-readable output.
std::string formatIsoDate(std::time_t when);

} // namespace tidvale
