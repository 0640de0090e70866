#pragma once

#include <string>

namespace tidvale {

// Escapes a text for an AppleScript string literal: backslashes are doubled first,
// then each double quote gets a backslash, so a path can never end the literal early.
std::string appleScriptEscape(const std::string& text);

// The script that opens Finder's information window for `path`.
std::string informationWindowScript(const std::string& path);

} // namespace tidvale
