#pragma once

// Installs and removes the scheduled clean through the system's own service manager,
// run through the context's CommandRunner: `systemctl --user` on Linux, `launchctl`
// on the Mac.
#include "engine/settings/Settings.h"

#include <string>
#include <vector>

namespace tidvale {

struct Context;

struct ScheduleOutcome {
    bool ok = true;
    // What the user should know, in Spanish, one sentence each: the schedule now, that
    // it takes effect at the next login, or why it could not be changed.
    std::vector<std::string> notes;
};

enum class ServiceManager { systemd, launchd };

// This system's.
ServiceManager systemServiceManager();

// Where the units (or the agent) are written; "" when no folder may hold them.
std::string scheduleFolder(const Context& context, ServiceManager manager);

// Whether the timer (or agent) file is in place.
bool scheduleInstalled(const Context& context, ServiceManager manager);

// Installs the schedule `settings` asks for, running the program the context's
// settings name; removes it when the schedule is off. On Linux the timer is enabled
// even when no user manager runs (the link is made on the files) and then starts at
// the next login; a running manager reloads the units and starts it now. Turning it
// off disables the timer and removes both units; nothing is run or written when
// nothing was installed.
ScheduleOutcome applySchedule(
    const Context& context, const Settings& settings, ServiceManager manager);

} // namespace tidvale
