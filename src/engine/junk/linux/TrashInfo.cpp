#include "engine/junk/linux/TrashInfo.h"

#include "engine/format/TextLines.h"

#include <time.h>

namespace tidvale::linuxdesk {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t len = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size())
            return false;
        for (size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

// The raw value of `Path=` inside the `[Trash Info]` group.
std::optional<std::string_view> pathValue(std::string_view text)
{
    bool inGroup = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trimmedLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == "[Trash Info]";
            continue;
        }
        const size_t eq = line.find('=');
        if (inGroup && eq != std::string_view::npos && trimmedLine(line.substr(0, eq)) == "Path")
            return trimmedLine(line.substr(eq + 1));
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> percentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int hi = hexDigitValue(text[i + 1]);
        const int lo = hexDigitValue(text[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0))
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<std::time_t> trashInfoDeletionDate(std::string_view text)
{
    bool inGroup = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trimmedLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[Trash Info]";
            continue;
        }
        const size_t eq = line.find('=');
        if (!inGroup || eq == std::string_view::npos
            || trimmedLine(line.substr(0, eq)) != "DeletionDate")
            continue;
        const std::string value(trimmedLine(line.substr(eq + 1)));
        std::tm local{};
        const char* rest = strptime(value.c_str(), "%Y-%m-%dT%H:%M:%S", &local);
        if (!rest || *rest != '\0')
            return std::nullopt;
        local.tm_isdst = -1; // the standard writes the local time, whatever its season
        const std::time_t when = std::mktime(&local);
        return when == -1 ? std::nullopt : std::optional(when);
    }
    return std::nullopt;
}

std::optional<std::string> trashInfoPath(std::string_view text)
{
    const auto raw = pathValue(text);
    if (!raw)
        return std::nullopt;
    auto path = percentDecode(*raw);
    if (!path || path->empty())
        return std::nullopt;
    return path;
}

std::optional<std::string> trashInfoName(std::string_view text)
{
    const auto raw = pathValue(text);
    if (!raw)
        return std::nullopt;
    auto path = percentDecode(*raw);
    if (!path)
        return std::nullopt;
    while (path->size() > 1 && path->back() == '/')
        path->pop_back();
    const size_t slash = path->rfind('/');
    std::string name = slash == std::string::npos ? *path : path->substr(slash + 1);
    if (name.empty() || name == "." || name == ".." || !isValidUtf8(name)
        || name.find_first_of("\n\r") != std::string::npos)
        return std::nullopt;
    return name;
}

} // namespace tidvale::linuxdesk
