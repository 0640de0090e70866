#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>

namespace tidvale {

// What a file looked like when it was read: it is compared again before anything acts
// on the file. The change time is kept beside the modification time because the
// modification time can be put back by anyone who rewrites a file, while the change
// time is set by the system alone.
struct FileStamp {
    int64_t size = 0;
    int64_t mtimeSec = 0;  // content modification; seconds and nanoseconds kept apart
    int64_t mtimeNsec = 0; // so that no date, however far off, overflows
    int64_t ctimeSec = 0;  // last change of the file or of its attributes
    int64_t ctimeNsec = 0;
    bool operator==(const FileStamp&) const = default;

    static FileStamp of(const struct stat& st)
    {
#ifdef __APPLE__
        const struct timespec& m = st.st_mtimespec;
        const struct timespec& c = st.st_ctimespec;
#else
        const struct timespec& m = st.st_mtim;
        const struct timespec& c = st.st_ctim;
#endif
        return {static_cast<int64_t>(st.st_size), static_cast<int64_t>(m.tv_sec),
            static_cast<int64_t>(m.tv_nsec), static_cast<int64_t>(c.tv_sec),
            static_cast<int64_t>(c.tv_nsec)};
    }
};

// The identity of a file whatever path reaches it: two hard links, or one folder
// reached through two roots, are one file.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;

    static FileIdentity of(const struct stat& st) { return {st.st_dev, st.st_ino}; }
};

} // namespace tidvale
