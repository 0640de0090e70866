#include "engine/desktop/DesktopEntry.h"

#include "engine/format/TextLines.h"

#include <set>

namespace tidvale::linuxdesk {
namespace {

constexpr std::string_view kMainGroup = "Desktop Entry";

bool isComment(std::string_view line)
{
    return line.empty() || line.front() == '#';
}

// The group named by a header line, or none when the line is not one.
std::optional<std::string_view> groupOf(std::string_view line)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return line.substr(1, line.size() - 2);
}

// The key of a "key=value" line, spaces around the sign ignored; none when the line
// is not one.
std::optional<std::string_view> keyOf(std::string_view line)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trimmedLine(line.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return key;
}

// Resolves the escapes of a string value; `keepSeparator` leaves "\;" alone for a
// list to split on.
std::string unescaped(std::string_view raw, bool keepSeparator)
{
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const char next = raw[++i];
        switch (next) {
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
            out += keepSeparator ? "\\\\" : "\\";
            break;
        case ';':
            out += keepSeparator ? "\\;" : ";";
            break;
        default:
            out += '\\';
            out += next;
        }
    }
    return out;
}

// The text's lines, each with its own line ending (the last may have none).
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const size_t n = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, n));
        text.remove_prefix(n);
    }
    return lines;
}

std::string_view withoutEnding(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    return line;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text)
{
    DesktopEntry entry;
    std::set<std::string, std::less<>> seen;
    std::optional<std::string> group;
    for (std::string_view line : linesOf(text)) {
        line = trimmedLine(withoutEnding(line));
        if (isComment(line))
            continue;
        if (auto name = groupOf(line)) {
            if (!seen.emplace(*name).second)
                return std::nullopt;
            group = std::string(*name);
            continue;
        }
        const auto key = keyOf(line);
        if (!key || !group)
            return std::nullopt;
        if (*group == kMainGroup) // a later line of the same key wins
            entry.raw_[std::string(*key)]
                = std::string(trimmedLine(line.substr(line.find('=') + 1)));
    }
    if (!seen.contains(kMainGroup))
        return std::nullopt;
    return entry;
}

bool DesktopEntry::has(std::string_view key) const
{
    return raw_.find(key) != raw_.end();
}

std::string DesktopEntry::string(std::string_view key) const
{
    const auto it = raw_.find(key);
    return it == raw_.end() ? std::string() : unescaped(it->second, false);
}

std::string DesktopEntry::localeString(std::string_view key, std::string_view lang) const
{
    const std::string localized = std::string(key) + "[" + std::string(lang) + "]";
    return has(localized) ? string(localized) : string(key);
}

bool DesktopEntry::boolean(std::string_view key) const
{
    const auto it = raw_.find(key);
    return it != raw_.end() && (it->second == "true" || it->second == "True");
}

std::vector<std::string> DesktopEntry::list(std::string_view key) const
{
    const auto it = raw_.find(key);
    if (it == raw_.end())
        return {};
    const std::string value = unescaped(it->second, true);
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            part += value[++i]; // "\;" and "\\" left for this split
        } else if (value[i] == ';') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += value[i];
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

std::string withDesktopEntryKey(std::string_view text, std::string_view key, std::string_view value)
{
    const std::string setting = std::string(key) + "=" + std::string(value) + "\n";
    const auto lines = linesOf(text);
    bool hasMain = false;
    for (std::string_view line : lines)
        hasMain = hasMain || groupOf(trimmedLine(withoutEnding(line))) == kMainGroup;
    std::string out;
    // Without the group, one goes at the top and the lines before the first header
    // fall into it.
    bool inMain = !hasMain;
    bool placed = false;
    for (std::string_view line : lines) {
        const std::string_view content = trimmedLine(withoutEnding(line));
        if (auto name = groupOf(content)) {
            inMain = *name == kMainGroup;
            out += line;
            if (inMain && !placed) {
                if (line.back() != '\n')
                    out += '\n';
                out += setting;
                placed = true;
            }
            continue;
        }
        if (inMain && !isComment(content) && keyOf(content) == key)
            continue;
        out += line;
    }
    if (!placed)
        return "[Desktop Entry]\n" + setting + out;
    return out;
}

std::optional<ApplicationEntry> parseApplicationEntry(std::string_view text)
{
    const auto parsed = DesktopEntry::parse(text);
    if (!parsed)
        return std::nullopt;
    ApplicationEntry entry;
    entry.type = parsed->string("Type");
    // An empty Spanish name is no name: the entry's own one is shown instead.
    const std::string spanish = parsed->string("Name[es]");
    entry.name = spanish.empty() ? parsed->string("Name") : spanish;
    entry.icon = parsed->string("Icon");
    entry.exec = parsed->string("Exec");
    entry.noDisplay = parsed->boolean("NoDisplay");
    entry.hidden = parsed->boolean("Hidden");
    entry.flatpakId = parsed->string("X-Flatpak");
    entry.snapInstance = parsed->string("X-SnapInstanceName");
    entry.appImageVersion = parsed->string("X-AppImage-Version");
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
