#pragma once

#include "engine/admin/linux/SystemLogRules.h"
#include "engine/records/JunkCandidate.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// Rotated logs at any depth under root + "/var/log", then crash reports: the "*.crash"
// files of root + "/var/crash" and the "core.*" dumps of
// root + "/var/lib/systemd/coredump". Regular files only; no link is followed, no mount
// point entered or listed, unreadable folders are skipped. A log is named by its path
// below /var/log ("apt/history.log.1.gz"), so two "syslog.1" in different folders are
// told apart; a crash report by its full system path ("/var/crash/x.crash"), so it is
// never mistaken for a log. Left out as live: a name dated today or later, a file
// modified in the last hour, and one some process holds open (of the processes this
// one may see: all of them as root).
std::vector<JunkCandidate> listSystemLogs(const std::string& root, const LogClock& clock);

} // namespace tidvale::linuxdesk
