#pragma once

// What of apt's archive folder (root + "/var/cache/apt/archives") is junk: only what
// the package tools would clean themselves ("apt-get clean"), and never while they
// hold the folder's lock. The junk listing and the administrator helper's re-check
// share these rules, so the two can never disagree.
#include "engine/fs/FolderFd.h"

#include <string>

namespace tidvale::linuxdesk {

// The archive folder under `root` ("/" or "" on a real system), reached through real
// folders only.
FolderFd openAptArchives(const std::string& root);

// A downloaded package: "*.deb" directly in the archive folder.
bool isPackageFileName(const std::string& name);

// An unfinished download: anything in "partial/" but apt's lock.
bool isPartialFileName(const std::string& name);

// Whether the entry `name` of the open folder is a regular file and no mount point.
bool isCleanableFile(int folderFd, const std::string& name);

// Whether a package tool holds root + "/var/cache/apt/archives/lock".
bool aptArchivesLocked(const std::string& root);

// The administrator helper's re-check of one path of the junk listing: a plain
// absolute path naming such a regular file as it is on disk now, while the archive
// lock is free.
bool isSystemCacheDeletable(const std::string& root, const std::string& path);

} // namespace tidvale::linuxdesk
