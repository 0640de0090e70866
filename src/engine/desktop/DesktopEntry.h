#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// The [Desktop Entry] group of a freedesktop.org desktop entry file: the keys a
// launcher or a session reads to decide what to start and how to name it.
class DesktopEntry {
public:
    // None when the text is not a well-formed entry: a line that is neither a
    // comment, a group header nor "key=value", a key before the first group, a group
    // named twice, or no [Desktop Entry] group at all. Session starters refuse such a
    // file too.
    static std::optional<DesktopEntry> parse(std::string_view text);

    bool has(std::string_view key) const;
    // The value with its escapes (\s \n \t \r \\) resolved; "" when absent.
    std::string string(std::string_view key) const;
    // "key[lang]" when present, else "key".
    std::string localeString(std::string_view key, std::string_view lang) const;
    // "true" (or "True", as older files write it); anything else is false.
    bool boolean(std::string_view key) const;
    // The parts between ";" ("\;" keeps one inside a part), empty parts dropped.
    std::vector<std::string> list(std::string_view key) const;

private:
    std::map<std::string, std::string, std::less<>> raw_;
};

// The keys of a desktop entry that the application list reads.
struct ApplicationEntry {
    std::string type;
    std::string name; // Name[es] when the entry has it, else Name
    std::string icon;
    std::string exec;
    bool noDisplay = false;
    bool hidden = false;
    std::string flatpakId;       // X-Flatpak: written by flatpak into what it exports
    std::string snapInstance;    // X-SnapInstanceName: written by snapd
    std::string appImageVersion; // X-AppImage-Version
};

// The application keys of a desktop entry file's text; nothing when it is not a
// well-formed entry, which the desktop's menu would not show either.
std::optional<ApplicationEntry> parseApplicationEntry(std::string_view text);

// The words of an Exec value: double quotes group, a backslash inside them takes the
// next character literally. Nothing when a quote is left open.
std::optional<std::vector<std::string>> execWords(std::string_view exec);

// The program an Exec value runs: its first word, after an `env` and its VAR=value
// words. Empty when there is none.
std::string execProgram(std::string_view exec);

// `text` with "key=value" set in its [Desktop Entry] group: the group's lines for that
// key are dropped and one put right after its header; a text without the group gets
// one at the top. Every other line is kept byte for byte.
std::string withDesktopEntryKey(
    std::string_view text, std::string_view key, std::string_view value);

} // namespace tidvale::linuxdesk
