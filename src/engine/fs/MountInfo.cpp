#include "engine/fs/MountInfo.h"

#include <fstream>
#include <sstream>

namespace tidvale {
namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel escapes space, tab, newline and backslash as a backslash and three
// octal digits; anything else after a backslash is kept as it is.
std::string unescapeField(const std::string& field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1])
            && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            const int value
                = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value > 0 && value < 256) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

} // namespace

std::vector<MountEntry> parseMountInfo(const std::string& text)
{
    std::vector<MountEntry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root mount-point options [optional…] - type source super
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string w; words >> w;)
            fields.push_back(w);
        if (fields.size() < 7)
            continue;
        size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (dash + 1 >= fields.size() || fields[4].empty() || fields[4][0] != '/')
            continue;
        mounts.push_back({unescapeField(fields[4]), unescapeField(fields[dash + 1]), fields[2],
            dash + 2 < fields.size() ? unescapeField(fields[dash + 2]) : std::string()});
    }
    return mounts;
}

std::string currentMountInfo()
{
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tidvale
