#include "engine/finders/DuplicateRemoval.h"

#include "platform/Trash.h"

#include <sys/stat.h>

namespace tidvale {
namespace {

// Moves `copy` only while both it and the copy that stays are still what was hashed:
// a kept copy rewritten since, even at the same size and with its modification time
// put back, may be the only one left of the content the user was shown.
bool moveIfStillDuplicate(const DuplicateFile& copy, const DuplicateFile& stays)
{
    if (!isUnchangedSinceHashed(stays) || !isUnchangedSinceHashed(copy))
        return false;
    return platform::Service<platform::Trash>::get()->moveToTrash(copy.path).ok;
}

} // namespace

bool isUnchangedSinceHashed(const DuplicateFile& file)
{
    struct stat st { };
    return ::lstat(file.path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
        && FileIdentity::of(st) == file.identity && FileStamp::of(st) == file.stamp;
}

CopyRemoval trashExtraCopies(const DuplicateGroup& group)
{
    CopyRemoval result;
    for (size_t i = 1; i < group.files.size(); ++i) {
        if (moveIfStillDuplicate(group.files[i], group.files.front())) {
            result.freed += group.size;
            result.moved.push_back(group.files[i].path);
        } else {
            ++result.notMoved;
        }
    }
    return result;
}

CopyRemoval trashOneCopy(const DuplicateGroup& group, const std::string& path)
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
    if (stays && moveIfStillDuplicate(*copy, *stays))
        result.moved.push_back(path);
    else
        ++result.notMoved;
    return result;
}

} // namespace tidvale
