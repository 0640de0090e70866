#pragma once

#include <string>
#include <vector>

namespace tidvale {

// The process's home directory, read anew on every call: $HOME, else the password
// database, else "/". Trailing separators are dropped (except for "/" itself).
std::string processHome();

// The current user's home from the password database (getpwuid(getuid())), or the
// process home when there is none. Computed once; safe from any thread.
const std::string& realHome();

// The six personal folders the file finders search, in their fixed order, Downloads
// first, as the profile in force names them (on Linux the desktop's own names, such as
// ~/Descargas).
std::vector<std::string> defaultScanFolders();

} // namespace tidvale
