#pragma once

#include <string>

namespace tidvale::linuxdesk {

// Drops the line of the trashed folder `name` from `trashFolder/directorysizes`, a
// cache of "size mtime percent-encoded-name" lines. Every other line is kept byte for
// byte and the file is replaced at once (a new file renamed over it), so a reader
// never sees half of it. Nothing is written when no line names `name` or the file is
// absent or not a plain file. Returns 0, or the errno that stopped the rewrite.
int dropDirectorySizesLine(const std::string& trashFolder, const std::string& name);

} // namespace tidvale::linuxdesk
