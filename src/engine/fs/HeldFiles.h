#pragma once

#include <sys/stat.h>

#include <set>
#include <string>
#include <utility>

namespace tidvale {

// The files some process holds open, by device and inode, as the process table under
// `proc` shows them: every process's to root, only one's own otherwise.
class HeldFiles {
public:
    static HeldFiles read(const std::string& proc = "/proc");
    bool holds(const struct stat& st) const { return files_.count({st.st_dev, st.st_ino}) > 0; }

private:
    std::set<std::pair<dev_t, ino_t>> files_;
};

} // namespace tidvale
