#include "engine/finders/DuplicateRemoval.h"

#include <sys/stat.h>

#include <algorithm>
#include <iterator>

namespace tidvale {
namespace {

ListedItem asListed(const DuplicateFile& file)
{
    return {file.path, {file.identity, S_IFREG, file.stamp}};
}

// A copy frees its group's size when it goes: the content stays once, in the kept copy.
RemovalTarget asTarget(const DuplicateFile& file, int64_t freed)
{
    return {file.path, file.path, {file.identity, S_IFREG, file.stamp}, freed};
}

// Moves `copy` only while both it and the copy that stays are still what was hashed:
// a kept copy rewritten since, even at the same size and with its modification time
// put back, may be the only one left of the content the user was shown.
RemovalOutcome moveIfStillDuplicate(
    platform::Trash& trash, const RemovalTarget& copy, const DuplicateFile* stays)
{
    if (!stays || !isUnchangedSinceHashed(*stays))
        return outcomeOf(copy, RemovalStatus::changed, {});
    return trashTargets(trash, {copy}).outcomes.front();
}

} // namespace

bool isUnchangedSinceHashed(const DuplicateFile& file)
{
    return isUnchangedSinceListed(asListed(file));
}

DuplicateGroup withKeptCopy(DuplicateGroup group, const std::string& path)
{
    auto& files = group.files;
    const auto chosen = std::find_if(
        files.begin(), files.end(), [&](const DuplicateFile& f) { return f.path == path; });
    if (chosen != files.end())
        std::rotate(files.begin(), chosen, std::next(chosen));
    return group;
}

RemovalReport trashExtraCopies(
    platform::Trash& trash, const DuplicateGroup& group, const JobControl& job)
{
    RemovalReport report;
    const int64_t total = std::max<int64_t>(group.extraCopies(), 0);
    job.count(0, total);
    for (size_t i = 1; i < group.files.size(); ++i) {
        report.add(moveIfStillDuplicate(
            trash, asTarget(group.files[i], group.size), &group.files.front()));
        job.count(static_cast<int64_t>(i), total);
    }
    return report;
}

RemovalReport trashOneCopy(
    platform::Trash& trash, const DuplicateGroup& group, const std::string& path)
{
    RemovalReport report;
    const DuplicateFile* copy = nullptr;
    const DuplicateFile* stays = nullptr;
    for (const auto& f : group.files) {
        if (!copy && f.path == path)
            copy = &f;
        else if (!stays)
            stays = &f;
    }
    // With no other copy left to keep, the file is left as changed.
    if (copy)
        report.add(moveIfStillDuplicate(trash, asTarget(*copy, 0), stays));
    return report;
}

} // namespace tidvale
