#pragma once

#include <sys/types.h>

#include <cstdint>

namespace tidvale {

// What the removal knows of an entry: type and owner, device and inode, and on Linux
// the mount it belongs to. A bind mount keeps the device of the folder it shows, so
// only the mount identity tells it apart; the device stays as the floor on systems
// (and kernels before 5.8) that do not report a mount.
struct EntryIdentity {
    mode_t mode = 0;
    uid_t uid = 0;
    dev_t dev = 0;
    ino_t ino = 0;
    uint64_t mount = 0; // 0: not reported
    bool mountRoot = false;
    int64_t size = 0; // logical size, as a removal counts what it frees

    bool sameObject(const EntryIdentity& o) const { return dev == o.dev && ino == o.ino; }
    // Whether this entry lies on the mount of `volume` and is not a mount point.
    bool onVolumeOf(const EntryIdentity& volume) const
    {
        return dev == volume.dev && !mountRoot
            && (mount == 0 || volume.mount == 0 || mount == volume.mount);
    }
};

// Examines `name` in the folder `dirFd` without following a link, or `dirFd` itself
// when `name` is empty. False with errno set on failure.
bool examineEntry(int dirFd, const char* name, EntryIdentity& id);

// Gives the owner read, write and search rights on the folder `name` of `parentFd`,
// which must still be the folder `seen` and belong to the calling user: a user's own
// folder they may not list or change can then be emptied, as its owner could anyway.
// Never acts through a link.
bool grantOwnerAccess(int parentFd, const char* name, const EntryIdentity& seen);

} // namespace tidvale
