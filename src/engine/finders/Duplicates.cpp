#include "engine/finders/Duplicates.h"

#include "engine/settings/KeepList.h"

#include "engine/core/WorkPool.h"
#include "engine/finders/ContentKey.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <tuple>

namespace tidvale {
namespace {

// One candidate file as the passes narrow it down.
struct Candidate {
    uint32_t walkIndex = 0;
    ContentReader::Key key;

    auto order() const { return std::tie(key.stamp.size, key.quick, key.digest, walkIndex); }
    bool sameKey(const Candidate& o) const
    {
        return key.stamp.size == o.key.stamp.size && key.quick == o.key.quick
            && key.digest == o.key.digest;
    }
};

// Keeps the candidates that got a key, sorted so that equal keys sit together in walk
// order, and drops every run of fewer than two.
std::vector<Candidate> collideOnKey(std::vector<Candidate> all)
{
    std::erase_if(all, [](const Candidate& c) { return !c.key.ok; });
    std::sort(all.begin(), all.end(),
        [](const Candidate& a, const Candidate& b) { return a.order() < b.order(); });
    std::vector<Candidate> kept;
    for (size_t i = 0; i < all.size();) {
        size_t j = i + 1;
        while (j < all.size() && all[j].sameKey(all[i]))
            ++j;
        if (j - i >= 2)
            std::move(all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(j),
                std::back_inserter(kept));
        i = j;
    }
    return kept;
}

// Pass 1: files sharing an exact size with another file, bucket by bucket.
std::vector<Candidate> sizeBuckets(const FileWalk& walk, size_t& buckets)
{
    std::vector<std::pair<int64_t, uint32_t>> bySize;
    bySize.reserve(walk.size());
    for (uint32_t i = 0; i < walk.size(); ++i)
        bySize.emplace_back(walk.file(i).stamp.size, i);
    std::sort(bySize.begin(), bySize.end());

    std::vector<Candidate> candidates;
    std::vector<uint32_t> bucket;
    buckets = 0;
    for (size_t i = 0; i < bySize.size();) {
        bucket.clear();
        size_t j = i;
        for (; j < bySize.size() && bySize[j].first == bySize[i].first; ++j)
            bucket.push_back(bySize[j].second);
        i = j;
        if (bucket.size() < 2)
            continue;
        const auto distinct = walk.firstOfEachFile(bucket);
        if (distinct.size() < 2)
            continue;
        ++buckets;
        for (auto index : distinct)
            candidates.push_back({index, {}});
    }
    return candidates;
}

// Pass 2: the quick key of every candidate, folder by folder so that each folder is
// looked up once; the folders are shared between the threads.
void quickKeys(WorkPool& pool, const FileWalk& walk, std::vector<Candidate>& candidates,
    std::vector<ContentReader>& readers, const JobControl& job)
{
    std::map<const std::string*, std::vector<Candidate*>> byFolder;
    for (auto& c : candidates)
        byFolder[&walk.folderPath(c.walkIndex)].push_back(&c);
    std::vector<const std::vector<Candidate*>*> folders;
    for (const auto& [folder, members] : byFolder)
        folders.push_back(&members);
    pool.forEach(Lane::io, folders.size(), job, [&](size_t i, unsigned worker) {
        const auto& members = *folders[i];
        const std::string& path = walk.folderPath(members.front()->walkIndex);
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return; // gone since the walk: none of its files gets a key
        for (Candidate* c : members) {
            if (job.cancelled())
                break;
            const auto& file = walk.file(c->walkIndex);
            c->key = readers[worker].quickKey(fd, file.name.c_str(), file.identity);
        }
        ::close(fd);
    });
}

// Pass 3: the SHA-256 of the whole content, largest files first so that no big file
// is left to start last on one thread.
void contentKeys(WorkPool& pool, const FileWalk& walk, std::vector<Candidate>& candidates,
    std::vector<ContentReader>& readers, const JobControl& job)
{
    std::vector<Candidate*> targets;
    for (auto& c : candidates)
        targets.push_back(&c);
    std::stable_sort(targets.begin(), targets.end(), [](const Candidate* a, const Candidate* b) {
        return a->key.stamp.size > b->key.stamp.size;
    });
    int64_t toHash = 0;
    for (const Candidate* c : targets)
        toHash += c->key.stamp.size;
    std::atomic<int64_t> hashed{0};
    const ContentReader::OnBlock onBlock = [&](size_t bytes) {
        job.count(hashed += static_cast<int64_t>(bytes), toHash);
        return !job.cancelled();
    };
    pool.forEach(Lane::io, targets.size(), job, [&](size_t i, unsigned worker) {
        Candidate& c = *targets[i];
        c.key = readers[worker].contentKey(
            AT_FDCWD, walk.path(c.walkIndex).c_str(), walk.file(c.walkIndex).identity, onBlock);
    });
}

} // namespace

void dropKeptCopies(DuplicateSearch& search, const std::vector<std::string>& keep)
{
    if (keep.empty())
        return;
    for (auto& group : search.groups)
        dropKept(group.files, keep);
    std::erase_if(
        search.groups, [](const DuplicateGroup& group) { return group.files.size() < 2; });
    search.wasted = wastedTotal(search.groups);
}

int64_t wastedTotal(const std::vector<DuplicateGroup>& groups)
{
    int64_t total = 0;
    for (const auto& g : groups)
        total += g.wastedBytes();
    return total;
}

namespace {

DuplicateSearch runSearch(WorkPool& pool, const std::vector<std::string>& roots,
    const JobControl& job, const std::function<void(size_t)>& onBuckets)
{
    DuplicateSearch stopped;
    stopped.cancelled = true;
    const FileWalk walk(pool, roots, kDuplicateMinExclusive + 1, job);
    if (!walk.complete())
        return stopped;
    size_t buckets = 0;
    std::vector<Candidate> candidates = sizeBuckets(walk, buckets);
    onBuckets(buckets);

    // Every result lands in its candidate's own slot, so the outcome does not depend
    // on which thread read which file.
    std::vector<ContentReader> readers(pool.width(Lane::io));
    // The quick key's size is the size read when the file is opened, so a file that
    // changed since the walk can only meet files of its new size.
    quickKeys(pool, walk, candidates, readers, job);
    candidates = collideOnKey(std::move(candidates));
    contentKeys(pool, walk, candidates, readers, job);
    // A file cut short by the stop has no key, so what is left would pass for a
    // smaller but true answer.
    if (job.cancelled())
        return stopped;
    candidates = collideOnKey(std::move(candidates));

    struct Found {
        uint32_t firstMet; // walk index of the kept copy
        DuplicateGroup group;
        int64_t total() const { return group.size * static_cast<int64_t>(group.files.size()); }
    };
    std::vector<Found> found;
    for (size_t i = 0; i < candidates.size();) {
        size_t j = i + 1;
        while (j < candidates.size() && candidates[j].sameKey(candidates[i]))
            ++j;
        Found f{candidates[i].walkIndex, {}};
        f.group.hash = contentKeyText(candidates[i].key.stamp.size, candidates[i].key.digest);
        for (size_t k = i; k < j; ++k)
            f.group.files.push_back({walk.path(candidates[k].walkIndex), candidates[k].key.stamp,
                walk.file(candidates[k].walkIndex).identity});
        i = j;
        // The group's size is read from its first file now; a group whose first file
        // has gone is left out.
        struct stat st { };
        if (::lstat(f.group.files.front().path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        f.group.size = st.st_size;
        found.push_back(std::move(f));
    }
    // Largest total first; equal totals in the order their kept copies were met, so
    // that the same tree always lists the same way.
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.total() != b.total() ? a.total() > b.total() : a.firstMet < b.firstMet;
    });
    DuplicateSearch result;
    result.groups.reserve(found.size());
    for (auto& f : found)
        result.groups.push_back(std::move(f.group));
    result.wasted = wastedTotal(result.groups);
    return result;
}

} // namespace

DuplicateSearch findDuplicates(
    WorkPool& pool, const std::vector<std::string>& roots, const JobControl& job)
{
    return runSearch(pool, roots, job, [&](size_t buckets) {
        job.say("Calculando hashes para " + std::to_string(buckets) + " grupos...");
    });
}

DuplicateSearch findDuplicates(WorkPool& pool, const std::vector<std::string>& roots,
    const std::function<void(size_t)>& onBuckets)
{
    return runSearch(pool, roots, {}, [&](size_t buckets) {
        if (onBuckets)
            onBuckets(buckets);
    });
}

} // namespace tidvale
