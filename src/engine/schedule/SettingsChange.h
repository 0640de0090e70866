#pragma once

// A change the user makes to the settings, from the window or the command line: the
// file written and the schedule installed or removed to match, or neither.
#include "engine/settings/Settings.h"

#include <functional>
#include <string>
#include <vector>

namespace tidvale {

struct Context;

struct SettingsChange {
    bool ok = false;
    Settings settings; // what the file holds now
    // In Spanish, one sentence each: what changed besides the value itself (the
    // schedule, the history turned on with it) or why nothing was.
    std::vector<std::string> notes;
};

// Reads the file as it is now, applies `edit` and writes the result; the schedule is
// installed, changed or removed first when it differs from what is installed. Turning
// a schedule on turns the history on too (an unattended clean must leave a trace); it
// may be turned off again afterwards. Nothing is written while the file is damaged,
// unless `replaceDamaged` (the user chose to start from the defaults).
SettingsChange changeSettings(const Context& context, const std::function<void(Settings&)>& edit,
    bool replaceDamaged = false);

} // namespace tidvale
