#include "engine/locations/linux/DesktopEntry.h"

namespace tidvale::linuxdesk {
namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string unescaped(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default: // not a value escape: Exec's own quoting needs it as written
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

} // namespace

std::optional<DesktopEntry> parseDesktopEntry(std::string_view text)
{
    DesktopEntry entry;
    bool found = false;
    bool inGroup = false;
    std::optional<std::string> spanishName;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            // Only the first group with this name counts; a second one is malformed.
            inGroup = !found && line == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, eq));
        const std::string value = unescaped(trimmed(line.substr(eq + 1)));
        if (key == "Type")
            entry.type = value;
        else if (key == "Name")
            entry.name = value;
        else if (key == "Name[es]")
            spanishName = value;
        else if (key == "Icon")
            entry.icon = value;
        else if (key == "Exec")
            entry.exec = value;
        else if (key == "NoDisplay")
            entry.noDisplay = value == "true";
        else if (key == "Hidden")
            entry.hidden = value == "true";
        else if (key == "X-Flatpak")
            entry.flatpakId = value;
        else if (key == "X-SnapInstanceName")
            entry.snapInstance = value;
        else if (key == "X-AppImage-Version")
            entry.appImageVersion = value;
    }
    if (!found)
        return std::nullopt;
    if (spanishName && !spanishName->empty())
        entry.name = std::move(*spanishName);
    return entry;
}

std::optional<std::vector<std::string>> execWords(std::string_view exec)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < exec.size())
                word += exec[++i];
            else
                word += c;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string execProgram(std::string_view exec)
{
    const auto words = execWords(exec);
    if (!words || words->empty())
        return {};
    size_t i = 0;
    if ((*words)[0] == "env" || (*words)[0] == "/usr/bin/env") {
        for (i = 1; i < words->size(); ++i) {
            const std::string& w = (*words)[i];
            if (w.empty() || (w.find('=') == std::string::npos && w.front() != '-'))
                break;
        }
    }
    return i < words->size() ? (*words)[i] : std::string();
}

} // namespace tidvale::linuxdesk
