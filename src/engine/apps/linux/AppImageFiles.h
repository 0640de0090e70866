#pragma once

#include "engine/fs/ListedItem.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tidvale::linuxdesk {

// A program file a menu entry runs that is a whole application in itself.
struct AppImageFile {
    std::string path;
    ListedStamp listed;
    bool inSystemFolder = false; // under /usr, /opt, another's: not the user's to throw away
};

// `program` when it is an AppImage: a plain file (not a link) named "*.AppImage" (any
// case), or an executable plain file outside the system folders that carries the
// AppImage signature. A script or program of the user's own that merely lies in the
// home is not one: moving it to the Trash would take more than an application.
// `root` is the system root the system folders lie under. Only a file that really
// lies (links and ".." resolved) inside the resolved `home`, or that user `uid` owns
// outside every system folder, is the user's to throw away.
std::optional<AppImageFile> appImageAt(
    const std::string& program, const std::string& home, uid_t uid, const std::string& root);

} // namespace tidvale::linuxdesk
