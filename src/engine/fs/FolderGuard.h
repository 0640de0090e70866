#pragma once

// The one place that decides whether a folder named by a variable or a setting may
// be cleaned in. Such a value is a claim, not a fact: `XDG_CACHE_HOME=$HOME` or
// `GOCACHE=~/Documents` would otherwise hand the user's own files to a removal.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// What no claimed folder may be. Every path here is resolved (no link, no "..").
struct GuardedFolders {
    std::string home;
    // The user's personal folders (Documents, Pictures…): refused, and so is anything
    // inside them. One set to the home itself (how user-dirs.dirs turns one off) is
    // not here.
    std::vector<std::string> personal;
    // Folders whose whole contents belong to someone else: refused when the claimed
    // folder is one of them or holds one (a cache home set to ~/.config or ~/.local).
    std::vector<std::string> keptData;
    // The system's top-level folders: refused when the claimed folder is one.
    std::vector<std::string> systemTops;
    // Folders of the operating system itself: refused when the claimed folder is one
    // or lies inside one, unless it lies inside the home.
    std::vector<std::string> systemContents;
    // The machine's own variable data (/var, /opt, /srv): a desktop's base folders
    // (the XDG homes) may not lie there, unless inside the home or a scratch folder
    // anyone may use (/var/tmp).
    std::vector<std::string> systemData;
    std::vector<std::string> systemScratch;
};

// The folders of one system, around a resolved home and its resolved personal
// folders. `systemRoot` is the prefix of the machine-wide folders ("" for "/"): a test
// root's copies are guarded as well as the real ones.
GuardedFolders linuxGuardedFolders(const std::string& home, std::vector<std::string> personal,
    std::vector<std::string> keptData, const std::string& systemRoot);
GuardedFolders macGuardedFolders(const std::string& home, const std::string& systemRoot);

// `path` with every link and "." or ".." resolved. When the path does not exist, its
// deepest existing folder is resolved and the rest appended as written (with ".."
// refused). Nothing for a relative or empty path.
std::optional<std::string> resolvedPath(const std::string& path);

// Why nothing in `resolved` may be removed, as a Spanish phrase ("es tu carpeta de
// inicio"), or nothing when it may.
std::optional<std::string> guardRefusal(const GuardedFolders& guarded, const std::string& resolved);

// Stricter, for the folders a desktop keeps its own data in (the XDG homes): also
// refused inside `systemData` unless inside the home, since as root a cache home
// there would list the machine's own files.
std::optional<std::string> baseFolderRefusal(
    const GuardedFolders& guarded, const std::string& resolved);

// A folder as a variable or setting names it, resolved and checked.
struct ClaimedFolder {
    std::string path;    // resolved; the value as given when it could not be
    std::string refusal; // empty when the folder may be cleaned in; else the whole reason
    bool accepted() const { return refusal.empty(); }
};

// Resolves and checks the folder `value` that the variable `variable` names ("" for a
// tool's own default). A refusal reads "XDG_CACHE_HOME=/home/ana/ (/home/ana) es tu
// carpeta de inicio". `baseFolder` applies the stricter rule above.
ClaimedFolder claimFolder(const GuardedFolders& guarded, std::string_view variable,
    const std::string& value, bool baseFolder = false);

// The entry `path` as a removal would reach it: its folder resolved (see resolvedPath),
// its own name kept (a link is removed as the link). Nothing when its folder cannot
// be resolved.
std::optional<std::string> resolvedEntry(const std::string& path);

} // namespace tidvale
