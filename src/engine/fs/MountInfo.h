#pragma once

#include <string>
#include <vector>

namespace tidvale {

// One line of /proc/self/mountinfo: where a file system is mounted and its type.
struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::string device; // "major:minor", the st_dev of the files on it
    std::string source; // what was mounted: "/dev/sda2", "tmpfs"…
};

// The mounts listed in the text of /proc/self/mountinfo, in its order, with the
// kernel's octal escapes ("\040" for a space, "\012" for a newline…) decoded.
// Lines that do not have the expected shape are skipped.
std::vector<MountEntry> parseMountInfo(const std::string& text);

// The text of this process's /proc/self/mountinfo; empty where there is none.
std::string currentMountInfo();

} // namespace tidvale
