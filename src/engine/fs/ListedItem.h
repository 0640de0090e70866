#pragma once

#include "engine/fs/FileStamp.h"

#include <string>

namespace tidvale {

// What an entry of a list looked like when it was listed, so that an action taken
// later reaches the entry the user saw and not whatever the path holds by then.
// A folder (an application bundle, a folder in Downloads) is compared by itself, its
// device, inode and modification time, never by the tree it holds: a folder's change
// time and size move with every entry added, renamed or removed inside it, which
// says nothing about whether it is still the folder that was listed.
struct ListedStamp {
    FileIdentity identity;
    mode_t type = 0; // S_IFREG, S_IFDIR, S_IFLNK, ...: what kind of entry was listed
    FileStamp stamp;
    bool operator==(const ListedStamp&) const = default;

    static ListedStamp of(const struct stat& st)
    {
        return {FileIdentity::of(st), static_cast<mode_t>(st.st_mode & S_IFMT), FileStamp::of(st)};
    }
    // Whether `st` (of the same path, links not followed) is still the entry listed.
    bool matches(const struct stat& st) const;
};

// A path and what it held when it was listed. An entry with no stamp (never listed
// from the disk) is never taken for the entry at the path.
struct ListedItem {
    std::string path;
    ListedStamp listed;
};

// The stamp of whatever `path` holds now, links not followed; nothing when there is
// nothing there or it cannot be read.
bool readListedStamp(const std::string& path, ListedStamp& out);

// Whether `item.path` still holds the entry that was listed.
bool isUnchangedSinceListed(const ListedItem& item);

} // namespace tidvale
