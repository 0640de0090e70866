#include "engine/fs/ListedItem.h"

namespace tidvale {

bool ListedStamp::matches(const struct stat& st) const
{
    if (identity == FileIdentity{} || !(FileIdentity::of(st) == identity)
        || static_cast<mode_t>(st.st_mode & S_IFMT) != type)
        return false;
    const FileStamp now = FileStamp::of(st);
    if (type == S_IFDIR)
        return now.mtimeSec == stamp.mtimeSec && now.mtimeNsec == stamp.mtimeNsec;
    return now == stamp;
}

bool readListedStamp(const std::string& path, ListedStamp& out)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    out = ListedStamp::of(st);
    return true;
}

bool isUnchangedSinceListed(const ListedItem& item)
{
    struct stat st { };
    return ::lstat(item.path.c_str(), &st) == 0 && item.listed.matches(st);
}

std::vector<TrashedItem> trashListedItems(
    platform::Trash& trash, const std::vector<ListedItem>& items, const JobControl& job)
{
    const auto total = static_cast<int64_t>(items.size());
    std::vector<TrashedItem> results;
    results.reserve(items.size());
    job.count(0, total);
    for (const auto& item : items) {
        TrashedItem result;
        if (!isUnchangedSinceListed(item)) {
            result.outcome = TrashOutcome::changed;
        } else if (auto moved = trash.moveToTrash(item.path); moved.ok) {
            result.outcome = TrashOutcome::moved;
        } else {
            result.error = std::move(moved.error);
        }
        results.push_back(std::move(result));
        job.count(static_cast<int64_t>(results.size()), total);
    }
    return results;
}

void TrashTally::add(const TrashedItem& item)
{
    switch (item.outcome) {
    case TrashOutcome::moved:
        ++moved;
        break;
    case TrashOutcome::changed:
        ++changed;
        break;
    case TrashOutcome::failed:
        if (failed++ == 0)
            firstError = item.error;
        break;
    }
}

void TrashTally::add(const TrashTally& later)
{
    if (failed == 0)
        firstError = later.firstError;
    moved += later.moved;
    changed += later.changed;
    failed += later.failed;
}

} // namespace tidvale
