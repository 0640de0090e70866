#pragma once

// A file or folder cleaned by rewriting it rather than removing it: the result is
// built in a working copy beside it, and only once that copy is whole and checked
// does it take the original's place, the original first going to the Trash so that
// an undo can put it back.
#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/ScanItem.h"

#include <string>

namespace tidvale::linuxdesk {

// A fresh working name beside `path`, hidden and unused: "<folder>/.tidvale-<name>-XXXXXX".
// Made as an empty file (or folder) so that no one else takes the name; "" when the
// folder cannot hold one.
std::string newWorkingFile(const std::string& path);
std::string newWorkingFolder(const std::string& path);

// Copies the folder tree at `from` to the new folder `to`, regular files and folders
// only (a link inside a browser's storage is not followed nor copied). The reason when
// it failed.
std::optional<std::string> copyTree(const std::string& from, const std::string& to);

// Puts the original at `item.path` in the Trash and `working` in its place: a file by
// one rename over the original, after a link to it went to the Trash; a folder moved
// to the Trash, then the working one renamed to its name. Gone and `edited`, with
// `trashedAs` where the original now is and `freed` what the file shrank by; when
// the Trash refuses, the original stays as it was, the working copy is removed and the
// outcome failed.
RemovalOutcome replaceWithEdited(
    const Context& context, const ScanItem& item, const std::string& working, int64_t sizeBefore);

// Removes a working copy that will not be used.
void dropWorking(const std::string& working);

// The outcome of an item left as it was, with why.
RemovalOutcome leftAlone(const ScanItem& item, RemovalStatus status, std::string message);

} // namespace tidvale::linuxdesk
