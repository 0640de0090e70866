#pragma once

#include "engine/core/Job.h"
#include "engine/core/WorkPool.h"
#include "engine/finders/FileWalk.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tidvale {

// One copy in a group: where it is and what it looked like when it was hashed, so that
// nothing is moved to the Trash once it no longer is the copy that was compared.
struct DuplicateFile {
    std::string path;
    FileStamp stamp;
    FileIdentity identity;
};

// Files with byte-for-byte identical content. `files` keeps the walk's order, unless the
// user chose another copy to keep (`withKeptCopy`): the first is the copy every removal
// leaves in place.
struct DuplicateGroup {
    std::string hash; // content key: size, "_", SHA-256 of the whole content in hex
    int64_t size = 0; // of one copy
    std::vector<DuplicateFile> files;

    int64_t extraCopies() const { return static_cast<int64_t>(files.size()) - 1; }
    int64_t wastedBytes() const { return size * extraCopies(); }
};

int64_t wastedTotal(const std::vector<DuplicateGroup>& groups);

struct DuplicateSearch {
    std::vector<DuplicateGroup> groups; // largest size × number of copies first
    int64_t wasted = 0;
    bool cancelled = false; // stopped early: no groups, and not because there are none
};

// Files larger than this are compared; smaller ones never are.
inline constexpr int64_t kDuplicateMinExclusive = 4096;

// Leaves out the copies the user's keep-list touches; a group left with one copy is no
// longer a group of duplicates.
void dropKeptCopies(DuplicateSearch& search, const std::vector<std::string>& keep);

// Searches the roots for identical files in three passes: exact size among the files
// larger than 4096 bytes, a quick key over the first 64 KiB, then the SHA-256 of the
// whole content. A file reached by two paths (a hard link, a folder reached through two
// roots) counts once, by its first path. Blocks. The same tree always gives the same
// result in the same order, however the work was shared between threads.
//
// The job hears "Calculando hashes para N grupos..." once the sizes are bucketed, on
// the calling thread. The files are read and hashed on `pool`. Cancelling it stops the walk before
// the next folder and the hashing before the next MiB; the search then comes back `cancelled`, with
// no groups.
DuplicateSearch findDuplicates(
    WorkPool& pool, const std::vector<std::string>& roots, const JobControl& job);

// The same, never stopped, for callers that word the bucket count themselves:
// `onBuckets` hears how many size buckets are left to hash, on the calling thread.
DuplicateSearch findDuplicates(WorkPool& pool, const std::vector<std::string>& roots,
    const std::function<void(size_t buckets)>& onBuckets = {});

} // namespace tidvale
