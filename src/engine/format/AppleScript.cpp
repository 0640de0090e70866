#include "engine/format/AppleScript.h"

namespace tidvale {

std::string appleScriptEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else
            out += c;
    }
    return out;
}

std::string informationWindowScript(const std::string& path)
{
    return "tell application \"Finder\" to open information window of (POSIX file \""
        + appleScriptEscape(path) + "\" as alias)";
}

} // namespace tidvale
