#pragma once

#include "engine/fs/MountInfo.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The mount that holds `path` (a resolved path): of the mounts whose files have the
// device `device` ("major:minor"; "" when unknown) the one with the longest mount
// point `path` lies in, else of all mounts. At one mount point the later line wins:
// it hides the earlier ones.
std::optional<MountEntry> mountHolding(
    const std::vector<MountEntry>& mounts, const std::string& path, const std::string& device);

// The file-system label of the device at `source`: the name of the link in
// root + "/dev/disk/by-label" that leads to the same file as root + `source`, with
// udev's escapes ("\x20" for a space) decoded. None when no link leads there.
std::optional<std::string> deviceLabel(const std::string& root, const std::string& source);

// How the Disk screen names the volume that holds `home`: its label, else its mount
// point, "/" reading "Sistema". `root` is the system root ("" for "/").
std::string homeVolumeName(
    const std::string& root, const std::string& home, const std::string& mountinfoText);

} // namespace tidvale::linuxdesk
