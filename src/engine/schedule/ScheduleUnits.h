#pragma once

// What a schedule is installed as: a systemd user timer and service on Linux, a
// LaunchAgent on the Mac; and when it runs next.
#include "engine/settings/Settings.h"

#include <ctime>
#include <optional>
#include <string>

namespace tidvale {

inline constexpr const char* kTimerUnit = "tidvale-clean.timer";
inline constexpr const char* kServiceUnit = "tidvale-clean.service";
inline constexpr const char* kLaunchAgentLabel = "org.tidvale.clean";

// The timer's OnCalendar value: every day, every Monday or every 1st at the hour.
std::string onCalendar(const Settings& settings);
std::string timerUnitText(const Settings& settings);
// The service running `program` (absolute) with "clean --yes --scheduled".
std::string serviceUnitText(const std::string& program);
std::string launchAgentText(const Settings& settings, const std::string& program);

// Why `program` cannot be what a schedule runs (not absolute, not executable, a
// control character no unit file can carry), in Spanish; nothing when it can.
std::optional<std::string> scheduledProgramRefusal(const std::string& program);
// The same, and a quote or a backslash, which systemd refuses in an executable's path
// however it is quoted.
std::optional<std::string> systemdProgramRefusal(const std::string& program);

// The next time the schedule runs after `now`, in local time, as the timer computes
// it; 0 when it is off.
std::time_t nextRun(const Settings& settings, std::time_t now);

// "cada día a las 03:30", "cada lunes a las 03:30", "el día 1 de cada mes a las
// 03:30", "desactivada".
std::string scheduleDescription(const Settings& settings);
// "lunes, 3 de marzo de 2025, a las 03:30", in local time.
std::string runTimeText(std::time_t when);

} // namespace tidvale
