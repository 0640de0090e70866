#pragma once

// How the autostart code reads the files of an autostart folder, shared by the
// listing and the override writer so that both agree on what an entry is.
#include <optional>
#include <string>
#include <string_view>

namespace tidvale::linuxdesk {

bool isEntryName(std::string_view name);            // ends with ".desktop"
std::string entryStem(const std::string& fileName); // without ".desktop", unless that is all

enum class FileKind {
    ignored, // not there, a folder, a broken link, a FIFO: session starters skip it
    masked,  // a link to a device such as /dev/null: it hides the name and starts nothing
    file,    // a plain file, reached through links
};

FileKind kindAt(int dirFd, const std::string& name);

// The text of a plain file, reached through links (entries are often links into the
// applications folder); none when it is no plain file, too large or unreadable.
// `dirFd` may be AT_FDCWD with a path.
std::optional<std::string> readEntryAt(int dirFd, const std::string& name);

} // namespace tidvale::linuxdesk
