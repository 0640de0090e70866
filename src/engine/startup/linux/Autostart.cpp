#include "engine/startup/linux/Autostart.h"

#include "engine/desktop/DesktopEntry.h"
#include "engine/fs/FolderFd.h"
#include "engine/startup/linux/AutostartFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>

namespace tidvale::linuxdesk {
namespace {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    while (true) {
        const size_t at = text.find(separator);
        if (!text.substr(0, at).empty())
            parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

bool isProgram(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool programExists(const std::string& program, const std::string& searchPath)
{
    if (program.find('/') != std::string::npos)
        return isProgram(program);
    for (const auto& dir : split(searchPath, ':'))
        if (isProgram(dir + "/" + program))
            return true;
    return false;
}

bool anyIn(const std::vector<std::string>& desktops, const std::vector<std::string>& listed)
{
    return std::any_of(desktops.begin(), desktops.end(), [&](const std::string& d) {
        return std::find(listed.begin(), listed.end(), d) != listed.end();
    });
}

bool switchedOff(const DesktopEntry& entry)
{
    return entry.boolean("Hidden") || entry.string("X-GNOME-Autostart-enabled") == "false";
}

// Whether the entry would start in this session if nobody had switched it off.
bool runsInSession(const DesktopEntry& entry, const SessionFacts& session)
{
    const std::string type = entry.string("Type");
    // Older desktops wrote autostart services as Type=Service, without a Name.
    if (type != "Application" && type != "Service")
        return false;
    if ((type == "Application" && entry.string("Name").empty()) || entry.string("Exec").empty())
        return false;
    if (const auto only = entry.list("OnlyShowIn"); !only.empty() && !anyIn(session.desktops, only))
        return false;
    if (anyIn(session.desktops, entry.list("NotShowIn")))
        return false;
    const std::string tryExec = entry.string("TryExec");
    return tryExec.empty() || programExists(tryExec, session.searchPath);
}

} // namespace

AutostartFolders autostartFolders(
    const std::string& configHome, std::string_view xdgConfigDirs, std::string_view root)
{
    AutostartFolders folders;
    folders.user = configHome + "/autostart";
    std::vector<std::string> dirs;
    for (auto& dir : split(xdgConfigDirs, ':'))
        if (dir.front() == '/')
            dirs.push_back(std::move(dir));
    if (dirs.empty())
        dirs.push_back("/etc/xdg");
    const std::string prefix = rootPrefix(root);
    for (const auto& dir : dirs) {
        std::string folder = prefix + dir;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        folder += "/autostart";
        if (folder != folders.user
            && std::find(folders.system.begin(), folders.system.end(), folder)
                == folders.system.end())
            folders.system.push_back(std::move(folder));
    }
    return folders;
}

SessionFacts sessionFacts(std::string_view currentDesktop, std::string_view path)
{
    return {split(currentDesktop, ':'), std::string(path)};
}

std::vector<AutostartEntry> listAutostartEntries(
    const AutostartFolders& folders, const SessionFacts& session)
{
    std::vector<AutostartEntry> entries;
    std::set<std::string> taken;
    std::vector<std::string> all{folders.user};
    all.insert(all.end(), folders.system.begin(), folders.system.end());
    for (size_t i = 0; i < all.size(); ++i) {
        const FolderFd folder = openGivenFolder(all[i]);
        if (!folder)
            continue;
        auto names = entryNames(folder.get());
        std::sort(names.begin(), names.end());
        for (const auto& name : names) {
            if (!isEntryName(name) || taken.contains(name))
                continue;
            const FileKind kind = kindAt(folder.get(), name);
            if (kind == FileKind::ignored)
                continue;
            taken.insert(name);
            AutostartEntry entry;
            entry.fileName = name;
            entry.path = all[i] + "/" + name;
            entry.user = i == 0;
            std::optional<DesktopEntry> parsed;
            if (kind == FileKind::file)
                if (const auto text = readEntryAt(folder.get(), name))
                    parsed = DesktopEntry::parse(*text);
            const bool runs = parsed && runsInSession(*parsed, session);
            entry.enabled = runs && !switchedOff(*parsed);
            entry.canEnable = entry.user && parsed && switchedOff(*parsed)
                && (runs || !systemEntryFor(folders, name).empty());
            entry.label = parsed ? parsed->localeString("Name", "es") : "";
            if (entry.label.empty())
                entry.label = entryStem(name);
            entries.push_back(std::move(entry));
        }
    }
    for (auto& entry : entries)
        entry.overridesSystem = entry.user && !systemEntryFor(folders, entry.fileName).empty();
    return entries;
}

std::string systemEntryFor(const AutostartFolders& folders, const std::string& fileName)
{
    for (const auto& dir : folders.system) {
        const FolderFd folder = openGivenFolder(dir);
        if (folder && kindAt(folder.get(), fileName) != FileKind::ignored)
            return dir + "/" + fileName;
    }
    return {};
}

} // namespace tidvale::linuxdesk
