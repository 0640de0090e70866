#pragma once

// Which machine logs and crash reports are finished with. The junk listing and the
// administrator helper's re-check share these rules, so the two can never disagree.
#include "engine/fs/HeldFiles.h"

#include <sys/stat.h>

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

// A folder below the root that crash reports are kept in, and the names it keeps
// them under.
struct CrashFolder {
    std::vector<std::string> components; // {"var", "crash"}
    bool (*accepts)(std::string_view name);
};

// root + "/var/crash" ("*.crash") and root + "/var/lib/systemd/coredump" ("core.*").
const std::vector<CrashFolder>& crashFolders();

// `prefix` followed by "/" and each component.
std::string joinedPath(const std::string& prefix, const std::vector<std::string>& components);

// A file still being written is not junk yet, whatever its name says: dated today or
// later, changed in the last hour, or held open by some process.
bool isLiveLog(
    const struct stat& st, std::string_view name, const LogClock& clock, const HeldFiles& held);

// Whether the entry `name` of the open folder is a regular file, no mount point and
// not live.
bool isFinishedFile(
    int folderFd, const std::string& name, const LogClock& clock, const HeldFiles& held);

// The administrator helper's re-check of one path of the junk listing: a plain
// absolute path strictly inside the log folder or directly in a crash folder, with a
// name the rules above accept, that is a regular file on disk now and not live.
bool isSystemLogDeletable(const std::string& root, const std::string& path, const LogClock& clock);

} // namespace tidvale::linuxdesk
