#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tidvale::linuxdesk {

// Decodes "%XX" escapes byte for byte. Nothing when an escape is cut short, is not
// hexadecimal or stands for a NUL byte.
std::optional<std::string> percentDecode(std::string_view text);

// When an entry was trashed: the `DeletionDate` of the `[Trash Info]` group, which the
// standard writes as the local time "YYYY-MM-DDThh:mm:ss". Nothing when it is missing
// or malformed.
std::optional<std::time_t> trashInfoDeletionDate(std::string_view text);

// Where a trashed entry came from, as its `.trashinfo` records it: the `Path=` key of
// the `[Trash Info]` group, percent-decoded (absolute for the home's trash, relative to
// the volume's top for a trash there). Nothing when there is none or it is malformed.
std::optional<std::string> trashInfoPath(std::string_view text);

// The original name of a trashed entry from the text of its `.trashinfo` file: the
// last component of the `Path=` key of the `[Trash Info]` group, percent-decoded.
// Nothing when the file is malformed or the name is not one to show: no such group
// or key, a bad escape, an empty, "." or ".." name, invalid UTF-8, a line break.
std::optional<std::string> trashInfoName(std::string_view text);

} // namespace tidvale::linuxdesk
