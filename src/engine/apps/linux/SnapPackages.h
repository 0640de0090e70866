#pragma once

#include <cstdint>
#include <string>

namespace tidvale::linuxdesk {

// One installed snap, from snapd's folders under the system root.
struct SnapPackage {
    std::string name;
    int64_t bytes = 0;   // every revision's .snap file: what removing the snap frees
    std::string file;    // the newest revision's .snap file, or "" when none is there
    std::string version; // "version:" of the current revision's snap.yaml, or ""
};

// The snap instance a desktop entry of snapd's folder belongs to: its
// X-SnapInstanceName, else the file name up to its first "_" ("+" stands for "_" in
// a parallel instance's name).
std::string snapInstanceOfEntry(const std::string& entryId, const std::string& declared);

// The snap `name` as "ROOT/var/lib/snapd/snaps/NAME_REVISION.snap" and
// "ROOT/snap/NAME/current/meta/snap.yaml" describe it.
SnapPackage snapPackage(const std::string& root, const std::string& name);

} // namespace tidvale::linuxdesk
