#pragma once

// Where every finished removal goes, from any screen, the command line or the
// schedule: into the history when the user keeps one, and nowhere otherwise.
#include "engine/history/CleanHistory.h"
#include "engine/settings/UserSettings.h"

#include <optional>
#include <string>

namespace tidvale {

// Appends a run of `report` to the history when the settings say to keep one. The
// settings file is read again, since a window outlives a change made in another or in
// a terminal. A report with no outcome records nothing. The reason in Spanish when a
// history was wanted and could not be written.
std::optional<std::string> recordRemoval(
    const UserSettings& settings, const RemovalReport& report, std::string source, std::time_t now);

// Whether the history is kept now (the file as it is, not as it was at start).
bool keepsHistory(const UserSettings& settings);

} // namespace tidvale
