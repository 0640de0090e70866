#pragma once

#include "engine/fs/SafeRemove.h"
#include "engine/records/JunkCandidate.h"

#include <string>
#include <vector>

namespace tidvale::linuxdesk {

// The entries of one freedesktop.org trash folder (one with `files/` and `info/`),
// one candidate each: named after the original file name its `.trashinfo` records,
// else after the entry itself, with the path `files/<name>`. A `.trashinfo` whose
// `files/` half is gone is an entry too, with the `.trashinfo` as its path. Neither
// the trash folder nor `files/` or `info/` is entered through a link; an entry that
// is a link is listed as itself. Then each entry of `expunged/`, what an emptying cut
// short leaves.
std::vector<JunkCandidate> listTrashEntries(const std::string& trashFolder);

// Deletes the trash entry at `path`, as listed above: `<trash>/files/<name>` removes
// the entry, then `info/<name>.trashinfo`, then its line of the `directorysizes`
// cache; `<trash>/info/<name>.trashinfo` removes only that file and the cache line;
// `<trash>/expunged/<name>` removes only that entry.
// EINVAL for a path that is not directly inside the `files` or `info` folder of a
// trash folder (one named `Trash`, `.Trash-<uid>`, or `<uid>` inside `.Trash`), or
// whose trash, `files` or `info` folder is a link; ENOENT when neither half exists.
RemoveOutcome removeTrashEntry(const std::string& path);

} // namespace tidvale::linuxdesk
