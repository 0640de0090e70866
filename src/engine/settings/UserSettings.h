#pragma once

// Where the user's settings live and what they held when the process started, as the
// context carries them.
#include "engine/settings/SettingsFile.h"

#include <string>

namespace tidvale {

struct UserSettings {
    // The settings file; "" when no folder may hold it (see `refusal`), and then
    // nothing is read or written.
    std::string path;
    std::string refusal;
    // The history of cleans, kept only while the settings say so; "" when no folder
    // may hold it (see `historyRefusal`).
    std::string historyPath;
    std::string historyRefusal;
    // The file as read at start. A window that outlives a change made elsewhere reads
    // the file again instead.
    SettingsRead atStart;
    // The command-line program beside the running one: what a schedule runs.
    std::string scheduledProgram;
};

} // namespace tidvale
