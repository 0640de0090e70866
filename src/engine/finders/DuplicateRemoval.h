#pragma once

#include "engine/finders/Duplicates.h"
#include "engine/fs/Removal.h"

#include <string>
#include <vector>

namespace tidvale {

// Whether the path still holds the regular file that was hashed: same device and
// inode, same size, same modification and change times. Links are not followed.
bool isUnchangedSinceHashed(const DuplicateFile& file);

// The group with the copy at `path` as the one that stays: it comes first, the others
// follow in their order. The removals below then leave it in place and check it before
// moving any other copy. A path not in the group leaves the group as it was.
DuplicateGroup withKeptCopy(DuplicateGroup group, const std::string& path);

// Moves every copy after the first to the Trash. A copy is moved only while it is
// still the file that was hashed and the first file, the copy that stays, is too:
// otherwise it is left in place as changed. Each copy moved frees the group's size.
// One outcome per extra copy, keyed by path. The job counts the copies
// handled so far, of the group's extra copies; it cannot stop the moves.
RemovalReport trashExtraCopies(
    platform::Trash& trash, const DuplicateGroup& group, const JobControl& job = {});

// Moves one file of the group to the Trash, under the same checks; the copy that
// stays is the first other file of the group. Nothing is freed by itself: the caller
// works out what the list looks like afterwards.
RemovalReport trashOneCopy(
    platform::Trash& trash, const DuplicateGroup& group, const std::string& path);

} // namespace tidvale
