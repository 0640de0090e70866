#pragma once

#include <string>

namespace tidvale {

// Whether the entry `name` of the open folder `parentFd` is the root of a mount: the
// kernel's mount-root flag where it gives one, else a mount identity that differs
// from the parent's, else (older kernels, other systems) a different device number.
// A bind mount keeps the device, which is why the device is only the floor. Links
// are examined as links. An entry that cannot be examined at all counts as a mount
// point: every caller wants to leave it alone either way.
bool isMountPoint(int parentFd, const std::string& name);

} // namespace tidvale
