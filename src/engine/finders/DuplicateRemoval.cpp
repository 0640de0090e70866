#include "engine/finders/DuplicateRemoval.h"

#include <sys/stat.h>

#include <algorithm>

namespace tidvale {
namespace {

ListedItem asListed(const DuplicateFile& file)
{
    return {file.path, {file.identity, S_IFREG, file.stamp}};
}

// Moves `copy` only while both it and the copy that stays are still what was hashed:
// a kept copy rewritten since, even at the same size and with its modification time
// put back, may be the only one left of the content the user was shown.
TrashedItem moveIfStillDuplicate(
    platform::Trash& trash, const DuplicateFile& copy, const DuplicateFile& stays)
{
    if (!isUnchangedSinceHashed(stays))
        return {TrashOutcome::changed, {}};
    return trashListedItems(trash, {asListed(copy)}).front();
}

} // namespace

bool isUnchangedSinceHashed(const DuplicateFile& file)
{
    return isUnchangedSinceListed(asListed(file));
}

CopyRemoval trashExtraCopies(
    platform::Trash& trash, const DuplicateGroup& group, const JobControl& job)
{
    CopyRemoval result;
    const int64_t total = std::max<int64_t>(group.extraCopies(), 0);
    job.count(0, total);
    for (size_t i = 1; i < group.files.size(); ++i) {
        const TrashedItem outcome
            = moveIfStillDuplicate(trash, group.files[i], group.files.front());
        result.tally.add(outcome);
        if (outcome.outcome == TrashOutcome::moved) {
            result.freed += group.size;
            result.moved.push_back(group.files[i].path);
        }
        job.count(static_cast<int64_t>(i), total);
    }
    return result;
}

CopyRemoval trashOneCopy(
    platform::Trash& trash, const DuplicateGroup& group, const std::string& path)
{
    CopyRemoval result;
    const DuplicateFile* copy = nullptr;
    const DuplicateFile* stays = nullptr;
    for (const auto& f : group.files) {
        if (!copy && f.path == path)
            copy = &f;
        else if (!stays)
            stays = &f;
    }
    if (!copy)
        return result;
    TrashedItem outcome;
    if (stays)
        outcome = moveIfStillDuplicate(trash, *copy, *stays);
    else
        outcome.outcome = TrashOutcome::changed; // no other copy left to keep
    result.tally.add(outcome);
    if (outcome.outcome == TrashOutcome::moved)
        result.moved.push_back(path);
    return result;
}

} // namespace tidvale
