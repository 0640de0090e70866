#pragma once

#include "engine/records/JunkCandidate.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// Whether a log file's base name says it is no longer written. Recognised, anchored
// at the end of the name and optionally followed by ".gz", ".xz", ".bz2" or ".zst":
//   "name.N"        N from 0 to 999 without a leading zero (savelog starts at .0), and
//                   only when "name" does not itself end in a number, so neither a
//                   binary log ("mysql-bin.000001") nor a log named by address
//                   ("log.192.168.1.5") looks rotated;
//   "name-YYYYMMDD" logrotate's date suffix, with a plausible date;
//   "name.old".
// Also the journal's archived files ("…@….journal") and the ones it set aside
// ("….journal~"). Rotated login records ("wtmp.1", "btmp.1") match too: nothing
// writes them after rotation and only "last -f" reads them; the live "wtmp", "btmp"
// and "lastlog" never match.
bool isRotatedLogName(std::string_view name);

// Whether a name the rules above accept carries a date ("app-YYYYMMDD") of `today`
// (YYYYMMDD, local time) or later: such a log is the one still being written, however
// rotated its name looks.
bool isDatedToday(std::string_view name, int today);

// When a listing or a re-check runs: a candidate changed in the last hour may still
// be written, so it is left until later.
struct LogClock {
    time_t now = 0;
    int today = 0; // YYYYMMDD in local time
    static LogClock at(time_t now);
};

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

// The administrator helper's re-check of one path from the listing above: a plain
// absolute path strictly inside the log folder or directly in a crash folder, with a
// name the rules above accept, that is a regular file on disk now and not live.
bool isSystemLogDeletable(const std::string& root, const std::string& path, const LogClock& clock);

} // namespace tidvale::linuxdesk
