#pragma once

#include "engine/admin/linux/AptArchives.h"
#include "engine/fs/SafeRemove.h"
#include "engine/records/JunkCandidate.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// Only what the package tools would clean themselves ("apt-get clean"): the downloaded
// packages, root + "/var/cache/apt/archives/*.deb", and the unfinished downloads in
// "partial/" (named "partial/<file>"). One candidate per regular file; never a folder,
// never "lock", never anything else under /var/cache. Nothing while the package tools
// hold the archive lock: they are downloading into, or installing from, these files.
// `root` is "/" or "" on a real system.
std::vector<JunkCandidate> listSystemCaches(const std::string& root);

// Removes one entry of the listing above while holding apt's archive lock, as
// "apt-get clean" does, so that apt cannot start writing there half way; one who may
// not take the lock (an ordinary user) checks it is free instead. The lock taken
// since the listing refuses the removal with kErrorPackageManagerBusy.
RemoveOutcome removeSystemCache(const std::string& root, const std::string& path);

} // namespace tidvale::linuxdesk
