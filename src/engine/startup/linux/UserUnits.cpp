#include "engine/startup/linux/UserUnits.h"

#include "engine/fs/FolderFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

namespace tidvale::linuxdesk {
namespace {

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() > suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool isDependencyFolder(std::string_view name)
{
    return endsWith(name, ".wants") || endsWith(name, ".requires") || endsWith(name, ".upholds");
}

// The kinds of unit a user enables to have something start with the session.
bool isUnitName(std::string_view name)
{
    return name.front() != '.'
        && (endsWith(name, ".service") || endsWith(name, ".timer") || endsWith(name, ".socket")
            || endsWith(name, ".path"));
}

// A unit file is small: anything larger, or not a plain file, is not read.
std::optional<std::string> readUnitAt(int dirFd, const std::string& name)
{
    const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= 256 * 1024) {
        std::string buffer(static_cast<size_t>(st.st_size), '\0');
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n >= 0) {
            buffer.resize(static_cast<size_t>(n));
            text = std::move(buffer);
        }
    }
    close(fd);
    return text;
}

// Whether the unit's [Install] section names a target that would pull it in.
bool installsItself(const std::string& text)
{
    std::istringstream lines(text);
    bool install = false;
    for (std::string line; std::getline(lines, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.starts_with('['))
            install = line == "[Install]";
        else if (install
            && (line.starts_with("WantedBy=") || line.starts_with("RequiredBy=")
                || line.starts_with("UpheldBy="))
            && line.find('=') + 1 < line.size())
            return true;
    }
    return false;
}

} // namespace

std::string userUnitFolder(const std::string& configHome)
{
    return configHome + "/systemd/user";
}

std::vector<UserUnitLink> userEnabledUnits(const std::string& configHome)
{
    const std::string base = userUnitFolder(configHome);
    const FolderFd folder = openGivenFolder(base);
    if (!folder)
        return {};
    std::vector<std::string> targets;
    for (auto& name : entryNames(folder.get()))
        if (isDependencyFolder(name))
            targets.push_back(std::move(name));
    std::sort(targets.begin(), targets.end());
    std::map<std::string, std::string> links;
    for (const auto& target : targets) {
        const FolderFd wants = openBelow(folder.get(), {target});
        if (!wants)
            continue;
        for (const auto& unit : entryNames(wants.get())) {
            const auto own = entryStatus(wants.get(), unit);
            struct stat file { };
            if (!own || !S_ISLNK(own->st_mode) || fstatat(wants.get(), unit.c_str(), &file, 0) != 0)
                continue;
            const std::string link = base + "/" + target + "/" + unit;
            auto [it, added] = links.emplace(unit, link);
            if (!added && link < it->second)
                it->second = link;
        }
    }
    std::vector<UserUnitLink> units;
    for (auto& [unit, link] : links)
        units.push_back({unit, std::move(link)});
    return units;
}

std::vector<std::string> userInstallableUnits(const std::string& configHome)
{
    const FolderFd folder = openGivenFolder(userUnitFolder(configHome));
    if (!folder)
        return {};
    std::vector<std::string> units;
    for (auto& name : entryNames(folder.get())) {
        if (!isUnitName(name))
            continue;
        const auto text = readUnitAt(folder.get(), name);
        if (text && installsItself(*text))
            units.push_back(std::move(name));
    }
    std::sort(units.begin(), units.end());
    return units;
}

std::vector<std::string> listEnabledUnitsCommand()
{
    return {
        "systemctl", "--user", "list-unit-files", "--state=enabled", "--no-legend", "--no-pager"};
}

std::vector<std::string> disableUnitCommand(const std::string& unit)
{
    // "--": a unit name may begin with "-" ("-.mount") and must not be read as an option.
    return {"systemctl", "--user", "disable", "--", unit};
}

std::vector<std::string> enableUnitCommand(const std::string& unit)
{
    return {"systemctl", "--user", "enable", "--", unit};
}

std::vector<std::string> enabledUnitsIn(std::string_view listing)
{
    std::vector<std::string> units;
    std::istringstream lines{std::string(listing)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string unit;
        std::string state;
        if (fields >> unit >> state && state == "enabled")
            units.push_back(unit);
    }
    return units;
}

} // namespace tidvale::linuxdesk
