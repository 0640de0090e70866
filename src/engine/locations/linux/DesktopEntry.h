#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::linuxdesk {

// The keys of a desktop entry's "Desktop Entry" group that the application list reads,
// with the value escapes (\s, \n, \t, \r, \\) undone.
struct DesktopEntry {
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

// Reads the "Desktop Entry" group of a desktop entry file's text; nothing when it has
// none. Lines that are neither keys nor groups are skipped, as the desktop does.
std::optional<DesktopEntry> parseDesktopEntry(std::string_view text);

// The words of an Exec value: double quotes group, a backslash inside them takes the
// next character literally. Nothing when a quote is left open.
std::optional<std::vector<std::string>> execWords(std::string_view exec);

// The program an Exec value runs: its first word, after an `env` and its VAR=value
// words. Empty when there is none.
std::string execProgram(std::string_view exec);

} // namespace tidvale::linuxdesk
